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

// Closes every connection this program holds to the file, so that it can be replaced whole.
// Views keep working: each reopens its connection on its next use (after a refresh it reads the
// file then at that path). Returns how many were open.
int CloseConnectionsTo(const QString& filePath);

} // namespace store
