#include "store/connection.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace store {

namespace {
QAtomicInteger<quint64> connectionCounter;
// How long a statement waits for another connection's write to finish before it fails.
constexpr int kBusyWaitMs = 3000;
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
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!db.open())
        return Result::failure(QStringLiteral("%1: %2").arg(path_, db.lastError().text()));
    // What is deleted or overwritten is zeroed in the file, not left in its free space: a deleted
    // examinee's names and answers must not stay readable.
    QSqlQuery secure(db);
    if (!secure.exec(QStringLiteral("PRAGMA secure_delete = ON"))) {
        const QString why = secure.lastError().text();
        secure.finish();
        db.close();
        return Result::failure(QStringLiteral("%1: %2").arg(path_, why));
    }
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

Transaction::Transaction(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection))
{
}

Transaction::~Transaction()
{
    rollback();
}

Result Transaction::begin()
{
    if (active_)
        return Result::failure(QStringLiteral("%1: a transaction is open already").arg(connection_->filePath()));
    if (Result r = connection_->open(); !r)
        return r;
    QSqlDatabase db = connection_->database();
    if (!db.transaction())
        return Result::failure(QStringLiteral("%1: %2").arg(connection_->filePath(), db.lastError().text()));
    active_ = true;
    return Result::success();
}

Result Transaction::commit()
{
    if (!active_)
        return Result::failure(QStringLiteral("%1: no transaction to commit").arg(connection_->filePath()));
    QSqlDatabase db = connection_->database();
    if (!db.commit()) {
        const QString why = db.lastError().text();
        rollback();
        return Result::failure(QStringLiteral("%1: %2").arg(connection_->filePath(), why));
    }
    active_ = false;
    return Result::success();
}

void Transaction::rollback()
{
    if (!active_)
        return;
    active_ = false;
    // A failed rollback leaves SQLite to undo the transaction when the connection closes.
    connection_->database().rollback();
}

namespace {

// The file a connection's database name designates: a "file:" address or a plain path.
QString fileOf(const QString& databaseName)
{
    const QString path = databaseName.startsWith(QLatin1String("file:")) ? QUrl(databaseName).toLocalFile()
                                                                          : databaseName;
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

int CloseConnectionsTo(const QString& filePath)
{
    const QString target = QFileInfo(filePath).absoluteFilePath();
    int closed = 0;
    // Qt's own list of connections covers every view, whichever screen owns it.
    for (const QString& name : QSqlDatabase::connectionNames()) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && fileOf(db.databaseName()) == target) {
            db.close();
            ++closed;
        }
    }
    return closed;
}

} // namespace store
