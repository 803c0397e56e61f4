#include "store/view.h"
#include "store/schema.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

namespace store {

namespace {

const QString kChanged = QStringLiteral(
    "اين اطلاعات پس از آنکه خوانده شد جاي ديگري (شايد در رايانه ديگري) تغيير کرده است؛ تغيير شما "
    "ذخيره نشد و اطلاعات تازه دوباره خوانده شد.");
const QString kRemoved = QStringLiteral(
    "اين اطلاعات پس از آنکه خوانده شد جاي ديگري (شايد در رايانه ديگري) حذف شده است؛ تغيير شما ذخيره نشد.");

} // namespace

View::View(const QString& filePath, const QString& table)
    : connection_(std::make_shared<Connection>(filePath))
    , table_(table)
{
}

View::View(std::shared_ptr<Connection> connection, const QString& table)
    : connection_(std::move(connection))
    , table_(table)
{
}

View::~View() = default;

Result View::fail(const QString& why)
{
    lastError_ = why;
    return Result::failure(why);
}

Result View::fail(const Result& why)
{
    lastError_ = why.error;
    return why;
}

Result View::ensureOpen()
{
    if (isOpen())
        return Result::success();
    QStringList cols;
    if (Result r = connection_->columnsOf(table_, cols); !r)
        return fail(r);
    columns_ = cols;
    selectList_.clear();
    for (const QString& c : cols)
        selectList_ << quoteIdentifier(c);
    return takeSnapshot();
}

Result View::takeSnapshot()
{
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("SELECT coalesce(max(rowid), 0) FROM %1").arg(quoteIdentifier(table_))); !r)
        return fail(r);
    if (!q.next())
        return fail(connection_->failure(q.lastError()));
    snapshotMax_ = q.value(0).toLongLong();
    ownRows_.clear();
    return Result::success();
}

QString View::realColumn(const QString& column) const
{
    for (const QString& c : columns_)
        if (c.compare(column, Qt::CaseInsensitive) == 0)
            return c;
    return {};
}

QString View::baseWhere(QVariantList& binds) const
{
    QString where = QStringLiteral("(rowid <= ?");
    binds << snapshotMax_;
    if (!ownRows_.isEmpty()) {
        where += QStringLiteral(" OR rowid IN (");
        for (int i = 0; i < ownRows_.size(); ++i) {
            where += i ? QStringLiteral(",?") : QStringLiteral("?");
            binds << ownRows_.at(i);
        }
        where += QLatin1Char(')');
    }
    where += QLatin1Char(')');
    if (filter_) {
        where += QStringLiteral(" AND %1 = ?").arg(quoteIdentifier(filter_->first));
        binds << filter_->second;
    }
    return where;
}

QString View::orderBy(bool descending) const
{
    QStringList parts;
    const QString dir = descending ? QStringLiteral(" DESC") : QString();
    for (const QString& e : sortExprs_)
        parts << e + dir;
    parts << QStringLiteral("rowid") + dir;
    return parts.join(QStringLiteral(", "));
}

void View::clearCurrent(Position pos)
{
    current_.reset();
    record_ = QSqlRecord();
    newRow_ = false;
    pending_.clear();
    failedEdit_.clear();
    position_ = pos;
}

Result View::loadRow(qint64 rowid)
{
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                            .arg(selectList_.join(QStringLiteral(", ")), quoteIdentifier(table_)),
                                     {rowid});
        !r)
        return fail(r);
    if (!q.next()) {
        clearCurrent(Position::AfterLast);
        return fail(QStringLiteral("%1: the row is gone").arg(table_));
    }
    current_ = rowid;
    empty_ = false;
    record_ = q.record();
    newRow_ = false;
    pending_.clear();
    failedEdit_.clear();
    position_ = Position::OnRow;
    return Result::success();
}

Result View::keyOf(qint64 rowid, QVariantList& key)
{
    key.clear();
    if (!sortExprs_.isEmpty()) {
        QSqlQuery k;
        if (Result r = connection_->exec(k, QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                                                .arg(sortExprs_.join(QStringLiteral(", ")), quoteIdentifier(table_)),
                                         {rowid});
            !r)
            return fail(r);
        if (!k.next())
            return fail(QStringLiteral("%1: the current row is gone").arg(table_));
        for (int i = 0; i < sortExprs_.size(); ++i)
            key << k.value(i);
    }
    key << rowid;
    return Result::success();
}

Result View::seek(const QVariantList* from, bool forward)
{
    if (Result r = ensureOpen(); !r)
        return r;
    QVariantList binds;
    QString where = baseWhere(binds);
    if (from) {
        // Continue from a row's place in the view's order.
        const QStringList keys = sortExprs_ + QStringList{QStringLiteral("rowid")};
        const QString lhs = QLatin1Char('(') + keys.join(QStringLiteral(", ")) + QLatin1Char(')');
        const QString rhs = QLatin1Char('(') + QStringList(keys.size(), QStringLiteral("?")).join(QStringLiteral(", ")) + QLatin1Char(')');
        where += QStringLiteral(" AND %1 %2 %3").arg(lhs, forward ? QStringLiteral(">") : QStringLiteral("<"), rhs);
        binds << *from;
    }
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
                                            .arg(quoteIdentifier(table_), where, orderBy(!forward)),
                                     binds);
        !r)
        return fail(r);
    if (!q.next()) {
        // Nothing from the start means an empty view: before the first row and past the last.
        clearCurrent(forward ? Position::AfterLast : Position::BeforeFirst);
        empty_ = !from;
        return Result::success();
    }
    const qint64 rowid = q.value(0).toLongLong();
    q.finish();
    return loadRow(rowid);
}

Result View::step(bool forward)
{
    if (!current_ || newRow_)
        return seek(nullptr, forward);
    QVariantList key;
    if (Result r = keyOf(*current_, key); !r)
        return r;
    return seek(&key, forward);
}

Result View::refresh()
{
    // Dropped even when the re-read fails, so an abandoned row can never be stored later.
    filter_.reset();
    sortExprs_.clear();
    invalidateCount();
    clearCurrent(Position::BeforeFirst);
    if (Result r = ensureOpen(); !r)
        return r;
    if (Result r = takeSnapshot(); !r)
        return r;
    return seek(nullptr, true);
}

Result View::setFilter(const QString& column, const QString& value)
{
    if (Result r = ensureOpen(); !r)
        return r;
    const QString real = realColumn(column);
    if (real.isEmpty())
        return fail(QStringLiteral("%1 has no column %2").arg(table_, column));
    filter_ = qMakePair(real, value);
    invalidateCount();
    clearCurrent(Position::BeforeFirst);
    return seek(nullptr, true);
}

Result View::sortBy(const QString& column, SortOrder order)
{
    if (Result r = ensureOpen(); !r)
        return r;
    const QString real = realColumn(column);
    if (real.isEmpty())
        return fail(QStringLiteral("%1 has no column %2").arg(table_, column));
    const QString text = QStringLiteral("coalesce(%1, '')").arg(quoteIdentifier(real));
    if (order == SortOrder::Numeric)
        sortExprs_ = {QStringLiteral("(trim(%1) <> '')").arg(text), connection_->numericValue(text)};
    else
        sortExprs_ = {text};
    clearCurrent(Position::BeforeFirst);
    return seek(nullptr, true);
}

int View::count()
{
    int n = 0;
    (void)countRows(n); // recorded in lastError(); the count says 0
    return n;
}

bool View::hasRows()
{
    bool any = false;
    (void)anyRow(any); // recorded in lastError(); the answer says none
    return any;
}

Result View::countRows(int& n)
{
    n = 0;
    if (countCache_) {
        n = *countCache_;
        return Result::success();
    }
    if (Result r = ensureOpen(); !r)
        return r;
    QVariantList binds;
    const QString where = baseWhere(binds);
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(quoteIdentifier(table_), where), binds);
        !r)
        return fail(r);
    if (!q.next())
        return fail(connection_->failure(q.lastError()));
    countCache_ = n = q.value(0).toInt();
    return Result::success();
}

Result View::anyRow(bool& any)
{
    any = false;
    if (countCache_) {
        any = *countCache_ > 0;
        return Result::success();
    }
    if (Result r = ensureOpen(); !r)
        return r;
    QVariantList binds;
    const QString where = baseWhere(binds);
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE %2)").arg(quoteIdentifier(table_), where),
                                     binds);
        !r)
        return fail(r);
    if (!q.next())
        return fail(connection_->failure(q.lastError()));
    any = q.value(0).toBool();
    return Result::success();
}

bool View::atStart() const
{
    return position_ == Position::BeforeFirst || empty_;
}

bool View::atEnd() const
{
    return position_ == Position::AfterLast || empty_;
}

bool View::hasCurrent() const
{
    return newRow_ || current_.has_value();
}

bool View::isNew() const
{
    return newRow_;
}

Result View::moveFirst()
{
    return seek(nullptr, true);
}

Result View::moveLast()
{
    return seek(nullptr, false);
}

Result View::moveNext()
{
    return step(true);
}

Result View::movePrevious()
{
    return step(false);
}

QVariant View::rawValue(const QString& column) const
{
    const QString real = realColumn(column);
    if (real.isEmpty())
        return {};
    if (auto it = pending_.constFind(real); it != pending_.constEnd())
        return *it;
    if (newRow_ || !current_)
        return {};
    return record_.value(real);
}

QString View::value(const QString& column) const
{
    const QVariant v = rawValue(column);
    return v.isNull() ? QString() : v.toString();
}

Result View::setValue(const QString& column, const QVariant& value)
{
    if (!hasCurrent())
        return fail(QStringLiteral("%1: no current row").arg(table_));
    const QString real = realColumn(column);
    if (real.isEmpty()) {
        // The row's edit is incomplete now: update() refuses it instead of storing the rest.
        failedEdit_ = QStringLiteral("%1 has no column %2").arg(table_, column);
        return fail(failedEdit_);
    }
    pending_.insert(real, value);
    return Result::success();
}

bool View::hasPendingEdit() const
{
    return newRow_ || !pending_.isEmpty();
}

void View::addNew()
{
    if (!ensureOpen())
        return;
    current_.reset();
    record_ = QSqlRecord();
    pending_.clear();
    failedEdit_.clear();
    newRow_ = true;
    empty_ = false;
    position_ = Position::OnRow;
}

Result View::update()
{
    if (Result r = ensureOpen(); !r)
        return r;
    if (!failedEdit_.isEmpty())
        return fail(failedEdit_);
    if (newRow_) {
        QStringList cols;
        QVariantList binds;
        for (auto it = pending_.constBegin(); it != pending_.constEnd(); ++it) {
            cols << it.key();
            binds << it.value();
        }
        qint64 rowid = 0;
        if (Result r = connection_->insertRow(table_, cols, binds, rowid); !r)
            return fail(r);
        ownRows_ << rowid;
        invalidateCount();
        return loadRow(rowid);
    }
    if (!current_)
        return fail(QStringLiteral("%1: no current row to store").arg(table_));
    if (pending_.isEmpty()) // nothing to write, but the row must still be there to call it stored
        return loadRow(*current_);
    QStringList sets;
    QVariantList binds;
    for (auto it = pending_.constBegin(); it != pending_.constEnd(); ++it) {
        sets << quoteIdentifier(it.key()) + QStringLiteral(" = ?");
        binds << it.value();
    }
    binds << *current_;
    QString where = QStringLiteral("rowid = ?");
    if (updatesChecked(table_)) {
        // Only while the row still holds what this view read: another computer's change is
        // never overwritten in silence.
        for (int i = 0; i < record_.count(); ++i) {
            where += QStringLiteral(" AND %1 IS NOT DISTINCT FROM ?").arg(quoteIdentifier(record_.fieldName(i)));
            binds << record_.value(i);
        }
    }
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                            .arg(quoteIdentifier(table_), sets.join(QStringLiteral(", ")), where),
                                     binds);
        !r)
        return fail(r);
    const int affected = q.numRowsAffected();
    q.finish();
    invalidateCount(); // a changed filter column may move the row out of the view
    if (affected == 0) {
        // Read anew: the row as it is now, or none.
        const qint64 rowid = *current_;
        const Result reread = loadRow(rowid);
        if (!reread && current_)
            return reread; // the re-read itself failed
        return fail(Result::failure(Failure::ChangedMeanwhile, current_ ? kChanged : kRemoved));
    }
    return loadRow(*current_);
}

Result View::deleteCurrent()
{
    if (Result r = ensureOpen(); !r)
        return r;
    if (newRow_) {
        clearCurrent(Position::BeforeFirst);
        return seek(nullptr, true);
    }
    if (!current_)
        return fail(QStringLiteral("%1: no current row to delete").arg(table_));
    QVariantList key;
    if (Result r = keyOf(*current_, key); !r)
        return r;
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteIdentifier(table_)), {*current_}); !r)
        return fail(r);
    q.finish();
    connection_->rowsDeleted(quoteIdentifier(table_));
    invalidateCount();
    // Step on to the next row (or back to the last one) from the deleted row's place.
    Result r = seek(&key, true);
    if (r && !current_)
        r = seek(nullptr, false);
    return r;
}

} // namespace store
