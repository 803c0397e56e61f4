#pragma once
// Files made by real software, kept with the tests under tests/data.
#include <QString>

namespace testing_support {

inline QString dataPath(const QString& relative)
{
    return QStringLiteral(TAVORA_TEST_DATA "/") + relative;
}

} // namespace testing_support
