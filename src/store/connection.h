#pragma once
#include "store/result.h"
#include <QSqlDatabase>
#include <QString>
#include <memory>

namespace store {

// One open SQLite file. Each view (and each screen) opens its own; nothing is shared.
class Connection {
public:
    explicit Connection(const QString& filePath);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing file for reading and writing; never creates one.
    Result open();
    bool isOpen() const;
    QSqlDatabase database() const;
    const QString& filePath() const { return path_; }

private:
    QString name_;
    QString path_;
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
