#pragma once
// A clinic's shared database server: where the setting is found, what it says, and which program
// folders keep their tables there instead of in their four files.
#include "store/result.h"

#include <QMap>
#include <QString>
#include <optional>

namespace store {

// The environment variable and the file of the program folder that name the server.
inline const QString kServerVariable = QStringLiteral("TAVORA71_DATABASE");
inline const QString kServerSettingFile = QStringLiteral("database.conf");

// A server as libpq's connection parameters (host, port, dbname, user, sslmode, service, ...).
struct ServerAddress {
    QMap<QString, QString> params;
    QString password;      // asked at start when libpq has none; kept in memory only
    QString shownHost;     // as the connection reported them, for messages
    QString shownDatabase;

    QString param(const QString& key) const { return params.value(key); }
    // "host/database" for messages.
    QString shown() const;
};

// The setting's text, from the environment variable or else the program folder's file (lines
// starting with '#' and blank lines ignored). std::nullopt when neither is set: the four files.
struct ServerSetting {
    QString text;
    QString source; // the variable's name or the file's path, for messages
};
std::optional<ServerSetting> FindServerSetting(const QString& programFolder, const QString& environmentValue);

// A libpq connection string or URI, with the program's defaults added where the text says
// nothing: sslmode=require for a host other than this computer, a connect timeout, keepalives
// and the application name.
Result ParseServerAddress(const QString& text, ServerAddress& address);

enum class Reach { Reached, NeedsPassword, Failed };
// One connection attempt through libpq; fills shownHost and shownDatabase when reached.
Reach TryServer(ServerAddress& address, QString& why);

// Runs a statement whose outcome nobody waits for (a VACUUM) on a connection of its own, on a
// thread of the pool, so that the program's work goes on meanwhile.
void RunInBackground(const ServerAddress& address, const QString& sql);

// The program folder's tables are on the server (set once at start, and by tests).
void UseServer(const QString& programFolder, const ServerAddress& address);
void UseLocalFiles(const QString& programFolder);
std::optional<ServerAddress> ServerOf(const QString& programFolder);
// The server and schema that hold a data file's tables, when its folder uses a server.
std::optional<ServerAddress> ServerForFile(const QString& filePath, QString* schema = nullptr);

// Which store a program folder uses, in words for the settings panel.
QString StoreInUse(const QString& programFolder);

} // namespace store
