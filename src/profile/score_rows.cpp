#include "profile/score_rows.h"
#include "store/schema.h"
#include "store/view.h"

namespace profile {

store::Result LocateOrCreateScoreRow(store::View& view, const QString& code)
{
    const QString key = code.trimmed();
    const QString codeColumn = QStringLiteral("Code");
    if (key.isEmpty())
        return store::Result::failure(QStringLiteral("%1: no examinee code").arg(view.table()));
    // Re-read first: the row may have been stored through another view (an earlier opening of
    // the profile), and a view sees other views' rows only after it re-reads the table.
    if (store::Result r = view.refresh(); !r)
        return r;
    if (store::Result r = view.setFilter(codeColumn, key); !r)
        return r;
    if (view.hasCurrent())
        return store::Result::success();
    view.addNew();
    if (store::Result r = view.setValue(codeColumn, key); !r)
        return r;
    if (store::Result r = view.update(); !r)
        return r;
    if (store::Result r = view.setFilter(codeColumn, key); !r)
        return r;
    if (!view.hasCurrent())
        return store::Result::failure(QStringLiteral("%1: the row of %2 was not found after adding it").arg(view.table(), key));
    return store::Result::success();
}

store::Result CommitScoreRow(store::View& view, const QStringList& scores)
{
    if (!view.hasCurrent() || view.isNew())
        return store::Result::failure(QStringLiteral("%1: no score row located").arg(view.table()));
    const QStringList scales = store::scaleColumns();
    for (int i = 0; i < scales.size(); ++i)
        if (store::Result r = view.setValue(scales.at(i), i < scores.size() ? scores.at(i) : QString()); !r)
            return r;
    return view.update();
}

} // namespace profile
