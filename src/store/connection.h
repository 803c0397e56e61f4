#pragma once
#include "store/result.h"
#include "store/server.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <optional>

class QSqlQuery;
struct sqlite3;

namespace store {

// One open data file: a SQLite file, or, when the program folder uses a database server, the
// schema on the server that holds the file's tables. Each view (and each screen) opens its own;
// nothing is shared. This class and the few functions beside it are the only code that knows
// which engine it speaks to.
class Connection {
public:
    // Where the program folder keeps the file's tables: the file, or the server it uses.
    explicit Connection(const QString& filePath);
    // This SQLite file, whatever its folder uses (a backup, a file being made or checked).
    static std::unique_ptr<Connection> toFile(const QString& filePath);
    // A server, outside any file's schema (preparing and filling the server's tables).
    explicit Connection(const ServerAddress& server);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file for reading and writing; never creates one. On a server, connects
    // (again, when the connection was lost).
    Result open();
    bool isOpen() const;
    QSqlDatabase database() const;
    const QString& filePath() const { return path_; }
    bool onServer() const { return server_.has_value(); }
    // The file's path, or the server's host and database, for messages.
    QString place() const;
    // SQLite itself, for the few reads the driver makes slow; null on a server or when not open.
    sqlite3* sqliteHandle() const;

    // Runs one statement with its values bound. A read outside a transaction that finds the
    // server connection lost runs again once on a new connection.
    Result exec(QSqlQuery& q, const QString& sql, const QVariantList& binds = {});
    // A failed statement as a result: a lost server, a duplicate key, or the engine's words.
    Result failure(const QSqlError& error) const;
    // The table's columns in their stored order (without the server's row identity column).
    Result columnsOf(const QString& table, QStringList& columns);
    // Inserts one row and gives its row identity.
    Result insertRow(const QString& table, const QStringList& columns, const QVariantList& values, qint64& rowid);

    // Dialect: a number read from the leading digits of a text expression (0 when there are none).
    QString numericValue(const QString& textExpr) const;
    // Dialect: the text expression holds only the digits 0-9.
    QString onlyDigits(const QString& textExpr) const;

    // Dialect: the lower-case hex SHA-256 of the column expressions' texts joined by separator, in
    // UTF-8 (a NULL as an empty text).
    QString joinedDigest(const QStringList& columnExprs, QChar separator) const;

    bool inTransaction() const { return inTransaction_; }

    // The table (as this connection names it) lost rows. On a server the space they took is
    // reclaimed (VACUUM) once they are gone for good: at once outside a transaction, else after
    // its commit. A SQLite file zeroes what is deleted by itself.
    void rowsDeleted(const QString& table);

private:
    friend class Transaction;
    bool broken() const;
    Result connect();
    void reclaimDeleted();

    QString name_;
    QString path_;
    std::optional<ServerAddress> server_;
    QString schema_;
    QHash<QString, QStringList> columns_;
    bool inTransaction_ = false;
    QStringList deleted_;
};

// One transaction on a connection: what the views on it write between begin() and commit()
// is stored together or not at all. A guard that goes out of scope without a commit rolls
// back. After a rollback the views that wrote in it still hold what they wrote: refresh them.
class Transaction {
public:
    explicit Transaction(std::shared_ptr<Connection> connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    Result begin();  // opens the connection when needed; fails inside another transaction
    Result commit();
    void rollback(); // nothing to do when no transaction is open
    bool isActive() const { return active_; }

private:
    std::shared_ptr<Connection> connection_;
    bool active_ = false;
};

// Closes every connection this program holds to the file, so that it can be replaced whole.
// Views keep working: each reopens its connection on its next use (after a refresh it reads the
// file then at that path). Returns how many were open.
int CloseConnectionsTo(const QString& filePath);

} // namespace store
