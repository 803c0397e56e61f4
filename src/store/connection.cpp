#include "store/connection.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

namespace store {

namespace {
QAtomicInteger<quint64> connectionCounter;
}

Connection::Connection(const QString& filePath)
    : name_(QStringLiteral("tavora-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
    , path_(filePath)
{
}

Connection::~Connection()
{
    if (QSqlDatabase::contains(name_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
}

Result Connection::open()
{
    if (isOpen())
        return Result::success();
    if (!QFileInfo(path_).isFile())
        return Result::failure(QStringLiteral("%1: the file does not exist").arg(path_));
    QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    // mode=rw: a file that vanished is reported, never silently recreated empty.
    QUrl uri = QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open())
        return Result::failure(QStringLiteral("%1: %2").arg(path_, db.lastError().text()));
    return Result::success();
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(name_, false);
}

Transaction::Transaction(Connection& connection)
    : connection_(connection)
    , begun_(connection.open())
{
    if (!begun_)
        return;
    QSqlDatabase db = connection_.database();
    open_ = db.transaction();
    if (!open_)
        begun_ = Result::failure(QStringLiteral("%1: %2").arg(connection_.filePath(), db.lastError().text()));
}

Transaction::~Transaction()
{
    if (open_)
        connection_.database().rollback();
}

Result Transaction::commit()
{
    if (!begun_)
        return begun_;
    if (!open_)
        return Result::failure(QStringLiteral("%1: the transaction has ended").arg(connection_.filePath()));
    QSqlDatabase db = connection_.database();
    open_ = false;
    if (!db.commit()) {
        const Result failed = Result::failure(QStringLiteral("%1: %2").arg(connection_.filePath(), db.lastError().text()));
        db.rollback();
        return failed;
    }
    return Result::success();
}

} // namespace store
