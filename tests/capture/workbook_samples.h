#pragma once
// The test workbooks under tests/data/workbooks, saved by real spreadsheet programs.
#include "support/test_data.h"

#include <QStringList>

namespace workbook_samples {

inline QString file(const QString& name)
{
    return testing_support::dataPath(QStringLiteral("workbooks/") + name);
}

// The worked example as stored: C3 = 1, C4 = 2, C5 empty, C6 = 0 (stored empty), the rest 1.
inline QStringList exampleStored()
{
    QStringList r(71, QStringLiteral("1"));
    r[1] = QStringLiteral("2");
    r[2] = QString();
    r[3] = QString();
    return r;
}

} // namespace workbook_samples
