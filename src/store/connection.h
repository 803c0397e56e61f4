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

} // namespace store
