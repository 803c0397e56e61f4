#pragma once
#include "store/result.h"
#include <QSqlDatabase>
#include <QString>

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

// All or nothing: what the views of one connection store between the start and commit() is kept
// together, or not at all. Rolled back when it ends without commit(). Views that stored rows in a
// transaction that was rolled back must be re-read (refresh).
class Transaction {
public:
    explicit Transaction(Connection& connection); // opens the connection and begins
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    const Result& begun() const { return begun_; }
    Result commit();

private:
    Connection& connection_;
    Result begun_;
    bool open_ = false;
};

} // namespace store
