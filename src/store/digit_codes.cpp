#include "store/digit_codes.h"
#include "store/connection.h"
#include "store/schema.h"

#include <QSqlError>

namespace store {

namespace {

constexpr int kLongestNumber = 18; // digits a 64-bit integer holds, whatever they are

} // namespace

QString IsNumberCode(const QString& column, bool server)
{
    return server ? QStringLiteral("%1 ~ '^[1-9][0-9]{0,17}$'").arg(column)
                  : QStringLiteral("%1 GLOB '[1-9]*' AND %1 NOT GLOB '*[^0-9]*' AND length(%1) <= 18").arg(column);
}

QString NumberOfCode(const QString& column, bool server)
{
    // The server refuses to cast a text that is no number, wherever the planner puts the cast.
    return server ? QStringLiteral("(CASE WHEN %1 ~ '^[1-9][0-9]{0,17}$' THEN CAST(%1 AS bigint) END)").arg(column)
                  : QStringLiteral("CAST(%1 AS INTEGER)").arg(column);
}

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
    const bool server = connection_.onServer();
    const QString table = quoteIdentifier(table_), column = quoteIdentifier(column_);
    range_ = QSqlQuery(connection_.database());
    text_ = QSqlQuery(connection_.database());
    range_.setForwardOnly(true);
    text_.setForwardOnly(true);
    if (!range_.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 AND %3 BETWEEN ? AND ?")
                            .arg(table, IsNumberCode(column, server), NumberOfCode(column, server))))
        return Result::failure(QStringLiteral("%1: %2").arg(table_, range_.lastError().text()));
    if (!text_.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(table, column)))
        return Result::failure(QStringLiteral("%1: %2").arg(table_, text_.lastError().text()));
    prepared_ = true;
    return Result::success();
}

Result DigitCodeCounter::count(const QString& lo, const QString& hi, qint64& count)
{
    count = 0;
    if (Result r = prepare(); !r)
        return r;
    const bool byNumber = lo.size() <= kLongestNumber;
    if (!byNumber && lo != hi)
        return Result::failure(QStringLiteral("%1: a range of codes longer than %2 digits").arg(table_).arg(kLongestNumber));
    QSqlQuery& q = byNumber ? range_ : text_;
    if (byNumber) {
        q.bindValue(0, lo.toLongLong());
        q.bindValue(1, hi.toLongLong());
    } else {
        q.bindValue(0, lo);
    }
    if (!q.exec() || !q.next())
        return connection_.failure(q.lastError());
    count = q.value(0).toLongLong();
    q.finish();
    return Result::success();
}

Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count)
{
    DigitCodeCounter counter(connection, table, column);
    return counter.count(lo, hi, count);
}

} // namespace store
