#include "profile/score_rows.h"
#include "store/connection.h"
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

store::Result CommitScoreRow(store::View& view, const QString& code, const QStringList& scores)
{
    // Only into the row located for this code: after a failed locate the current row may be
    // another examinee's.
    const QString key = code.trimmed();
    if (key.isEmpty() || !view.hasCurrent() || view.isNew() || view.value(QStringLiteral("Code")) != key)
        return store::Result::failure(QStringLiteral("%1: no score row located for code \"%2\"").arg(view.table(), key));
    const QStringList scales = store::scaleColumns();
    for (int i = 0; i < scales.size(); ++i)
        if (store::Result r = view.setValue(scales.at(i), i < scores.size() ? scores.at(i) : QString()); !r)
            return r;
    return view.update();
}

namespace {

store::Result writeRankingRow(store::View& sortt2, const Sortt2Row& row)
{
    store::Result r = sortt2.setFilter(QStringLiteral("id"), row.id);
    if (r && !sortt2.hasCurrent()) {
        // The delivered table has all eight rows; put back one that went missing.
        sortt2.addNew();
        r = sortt2.setValue(QStringLiteral("id"), row.id);
        if (r)
            r = sortt2.setValue(QStringLiteral("Name"), row.Name);
        if (r)
            r = sortt2.setValue(QStringLiteral("Name2"), row.Name2);
    }
    if (r)
        r = sortt2.setValue(QStringLiteral("Numb"), row.Numb);
    if (r)
        r = sortt2.setValue(QStringLiteral("etebari"), row.etebari);
    if (r)
        r = sortt2.update();
    return r;
}

} // namespace

store::Result StoreRanking(store::View& sortt2, const QList<Sortt2Row>& rows)
{
    store::Transaction transaction(sortt2.connection());
    store::Result r = transaction.begin();
    if (r)
        r = sortt2.refresh();
    for (const Sortt2Row& row : rows) {
        if (!r)
            break;
        r = writeRankingRow(sortt2, row);
    }
    if (r)
        r = transaction.commit();
    if (!r) {
        transaction.rollback();
        // The view may still hold rows and values the rollback took back. Its own failure to
        // re-read adds nothing to the one reported.
        (void)sortt2.refresh();
    }
    return r;
}

} // namespace profile
