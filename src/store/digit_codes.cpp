#include "store/digit_codes.h"
#include "store/connection.h"
#include "store/schema.h"

#include <QSqlError>

namespace store {

DigitCodeCounter::DigitCodeCounter(Connection& connection, const QString& table, const QString& column)
    : connection_(connection)
    , table_(table)
    , column_(column)
{
}

Result DigitCodeCounter::prepare()
{
    if (prepared_)
        return Result::success();
    if (Result r = connection_.open(); !r)
        return r;
    // Up to ? index entries of the range in order: how many were read, the last of them, and how
    // many are numbers of the range. Between lo and hi as text and of their length, a text is one
    // of the numbers exactly when the number its leading digits write lies between them too: a
    // text with anything but digits has fewer leading digits than lo. The cast costs less than a
    // pattern match of every row.
    // The server refuses to cast a text that is no number: only digits are cast there.
    const QString sql = connection_.onServer()
        ? QStringLiteral("SELECT count(*), max(c), coalesce(sum(CASE WHEN c ~ '^[0-9]+$' THEN "
                         "CAST(length(c) = ? AND CAST(c AS numeric) BETWEEN ? AND ? AS integer) ELSE 0 END), 0) "
                         "FROM (SELECT %2 AS c FROM %1 WHERE %2 %3 ? AND %2 <= ? ORDER BY %2 LIMIT ?) AS r")
        : QStringLiteral("SELECT count(*), max(c), ifnull(sum(length(c) = ? AND CAST(c AS INTEGER) BETWEEN ? AND ?), 0) "
                         "FROM (SELECT %2 AS c FROM %1 WHERE %2 %3 ? AND %2 <= ? ORDER BY %2 LIMIT ?)");
    const QString table = quoteIdentifier(table_), column = quoteIdentifier(column_);
    first_ = QSqlQuery(connection_.database());
    next_ = QSqlQuery(connection_.database());
    first_.setForwardOnly(true);
    next_.setForwardOnly(true);
    if (!first_.prepare(sql.arg(table, column, QStringLiteral(">="))))
        return Result::failure(QStringLiteral("%1: %2").arg(table_, first_.lastError().text()));
    if (!next_.prepare(sql.arg(table, column, QStringLiteral(">"))))
        return Result::failure(QStringLiteral("%1: %2").arg(table_, next_.lastError().text()));
    prepared_ = true;
    return Result::success();
}

Result DigitCodeCounter::step(DigitCodeCount& count, int entries)
{
    if (count.done)
        return Result::success();
    if (Result r = prepare(); !r)
        return r;
    QSqlQuery& q = count.after.isEmpty() ? first_ : next_;
    q.bindValue(0, count.lo.size());
    q.bindValue(1, count.lo.toLongLong());
    q.bindValue(2, count.hi.toLongLong());
    q.bindValue(3, count.after.isEmpty() ? count.lo : count.after);
    q.bindValue(4, count.hi);
    q.bindValue(5, entries);
    if (!q.exec() || !q.next())
        return connection_.failure(q.lastError());
    const qint64 read = q.value(0).toLongLong();
    count.scanned += read;
    count.taken += q.value(2).toLongLong();
    count.after = q.value(1).toString();
    count.done = read < entries;
    q.finish();
    return Result::success();
}

Result DigitCodeCounter::count(const QString& lo, const QString& hi, qint64& count)
{
    DigitCodeCount c;
    c.lo = lo;
    c.hi = hi;
    while (!c.done)
        if (Result r = step(c, 65536); !r)
            return r;
    count = c.taken;
    return Result::success();
}

Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count)
{
    DigitCodeCounter counter(connection, table, column);
    return counter.count(lo, hi, count);
}

} // namespace store
