#include "store/digit_codes.h"
#include "store/connection.h"
#include "store/schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace store {

Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count)
{
    if (Result r = connection.open(); !r)
        return r;
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 BETWEEN ? AND ? AND length(%2) = ? "
                             "AND NOT %2 GLOB '*[^0-9]*'")
                  .arg(quoteIdentifier(table), quoteIdentifier(column)));
    q.addBindValue(lo);
    q.addBindValue(hi);
    q.addBindValue(lo.size());
    if (!q.exec() || !q.next())
        return Result::failure(QStringLiteral("%1: %2").arg(table, q.lastError().text()));
    count = q.value(0).toLongLong();
    return Result::success();
}

} // namespace store
