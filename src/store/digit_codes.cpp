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

Result DigitCodeCounter::count(const QString& lo, const QString& hi, qint64& count)
{
    if (!prepared_) {
        if (Result r = connection_.open(); !r)
            return r;
        query_ = QSqlQuery(connection_.database());
        query_.setForwardOnly(true);
        // Between lo and hi as text and of their length, a text is one of the numbers exactly
        // when the number its leading digits write lies between them too: a text with anything
        // but digits has fewer leading digits than lo. The cast costs less than a pattern match
        // of every row.
        prepared_ = query_.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 BETWEEN ? AND ? AND length(%2) = ? "
                                                  "AND CAST(%2 AS INTEGER) BETWEEN ? AND ?")
                                       .arg(quoteIdentifier(table_), quoteIdentifier(column_)));
        if (!prepared_)
            return Result::failure(QStringLiteral("%1: %2").arg(table_, query_.lastError().text()));
    }
    query_.bindValue(0, lo);
    query_.bindValue(1, hi);
    query_.bindValue(2, lo.size());
    query_.bindValue(3, lo.toLongLong());
    query_.bindValue(4, hi.toLongLong());
    const bool ok = query_.exec() && query_.next();
    if (!ok)
        return Result::failure(QStringLiteral("%1: %2").arg(table_, query_.lastError().text()));
    count = query_.value(0).toLongLong();
    query_.finish();
    return Result::success();
}

Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count)
{
    DigitCodeCounter counter(connection, table, column);
    return counter.count(lo, hi, count);
}

} // namespace store
