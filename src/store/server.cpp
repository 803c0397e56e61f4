#include "store/server.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>
#include <libpq-fe.h>

#include <vector>

namespace store {

namespace {

const QString kThisComputer = QStringLiteral("داده ها روي همين رايانه نگه داشته مي شوند.");
const QString kOnServer = QStringLiteral("داده ها روي سرور %1 در پايگاه داده %2 نگه داشته مي شوند.");

QString folderKey(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QMutex& registryMutex()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, ServerAddress>& registry()
{
    static QHash<QString, ServerAddress> servers;
    return servers;
}

bool isThisComputer(const QString& host)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host.startsWith(QLatin1Char('@')))
        return true;
    const QString h = host.toLower();
    return h == QLatin1String("localhost") || h == QLatin1String("::1") || h.startsWith(QLatin1String("127."));
}

} // namespace

QString ServerAddress::shown() const
{
    const QString host = !shownHost.isEmpty() ? shownHost
                         : !param(QStringLiteral("host")).isEmpty() ? param(QStringLiteral("host"))
                         : !param(QStringLiteral("hostaddr")).isEmpty() ? param(QStringLiteral("hostaddr"))
                                                                        : QStringLiteral("localhost");
    const QString db = !shownDatabase.isEmpty() ? shownDatabase
                       : !param(QStringLiteral("dbname")).isEmpty() ? param(QStringLiteral("dbname"))
                       : !param(QStringLiteral("service")).isEmpty() ? param(QStringLiteral("service"))
                                                                      : param(QStringLiteral("user"));
    return host + QLatin1Char('/') + db;
}

std::optional<ServerSetting> FindServerSetting(const QString& programFolder, const QString& environmentValue)
{
    if (!environmentValue.trimmed().isEmpty())
        return ServerSetting{environmentValue.trimmed(), kServerVariable};
    const QString path = QDir(programFolder).filePath(kServerSettingFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (!t.isEmpty() && !t.startsWith(QLatin1Char('#')))
            lines << t;
    }
    if (lines.isEmpty())
        return std::nullopt;
    return ServerSetting{lines.join(QLatin1Char(' ')), path};
}

Result ParseServerAddress(const QString& text, ServerAddress& address)
{
    address = {};
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(text.toUtf8().constData(), &error);
    if (!options) {
        const QString why = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("out of memory");
        PQfreemem(error);
        return Result::failure(why);
    }
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (o->val && *o->val)
            address.params.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    }
    PQconninfoFree(options);
    // Qt's driver reads ';' as a separator of its own options.
    for (auto it = address.params.cbegin(); it != address.params.cend(); ++it)
        if (it.key() != QLatin1String("password") && it.value().contains(QLatin1Char(';')))
            return Result::failure(QStringLiteral("%1: a value with ';' cannot be used").arg(it.key()));

    auto setDefault = [&address](const QString& key, const QString& value) {
        if (!address.params.contains(key))
            address.params.insert(key, value);
    };
    // Examinee data never crosses a network in the clear unless the setting says so.
    bool remote = false;
    for (const QString& host : address.param(QStringLiteral("host")).split(QLatin1Char(','), Qt::SkipEmptyParts))
        remote = remote || !isThisComputer(host.trimmed());
    if (address.param(QStringLiteral("host")).isEmpty() && !address.param(QStringLiteral("hostaddr")).isEmpty())
        remote = !isThisComputer(address.param(QStringLiteral("hostaddr")));
    if (remote && !qEnvironmentVariableIsSet("PGSSLMODE"))
        setDefault(QStringLiteral("sslmode"), QStringLiteral("require"));
    setDefault(QStringLiteral("connect_timeout"), QStringLiteral("5"));
    setDefault(QStringLiteral("application_name"), QStringLiteral("tavora71"));
    // A computer that vanishes mid-transaction is found out within about a minute.
    setDefault(QStringLiteral("keepalives_idle"), QStringLiteral("30"));
    setDefault(QStringLiteral("keepalives_interval"), QStringLiteral("10"));
    setDefault(QStringLiteral("keepalives_count"), QStringLiteral("3"));
    return Result::success();
}

namespace {

// libpq's keywords and values for the address, the password included.
struct ConnectParams {
    std::vector<QByteArray> keys, values;
    explicit ConnectParams(const ServerAddress& address)
    {
        for (auto it = address.params.cbegin(); it != address.params.cend(); ++it) {
            keys.push_back(it.key().toUtf8());
            values.push_back(it.value().toUtf8());
        }
        if (!address.password.isEmpty()) {
            keys.push_back(QByteArrayLiteral("password"));
            values.push_back(address.password.toUtf8());
        }
    }
    PGconn* connect() const
    {
        std::vector<const char*> k, v;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            k.push_back(keys[i].constData());
            v.push_back(values[i].constData());
        }
        k.push_back(nullptr);
        v.push_back(nullptr);
        return PQconnectdbParams(k.data(), v.data(), 0);
    }
};

} // namespace

void RunInBackground(const ServerAddress& address, const QString& sql)
{
    QThreadPool::globalInstance()->start([params = ConnectParams(address), statement = sql.toUtf8()] {
        PGconn* conn = params.connect();
        if (PQstatus(conn) == CONNECTION_OK)
            PQclear(PQexec(conn, statement.constData()));
        PQfinish(conn);
    });
}

Reach TryServer(ServerAddress& address, QString& why)
{
    PGconn* conn = ConnectParams(address).connect();
    Reach reach = Reach::Reached;
    if (PQstatus(conn) != CONNECTION_OK) {
        why = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
        reach = PQconnectionNeedsPassword(conn) ? Reach::NeedsPassword : Reach::Failed;
    } else {
        address.shownHost = QString::fromUtf8(PQhost(conn));
        address.shownDatabase = QString::fromUtf8(PQdb(conn));
        if (address.shownHost.startsWith(QLatin1Char('/')))
            address.shownHost = QStringLiteral("localhost");
    }
    PQfinish(conn);
    return reach;
}

void UseServer(const QString& programFolder, const ServerAddress& address)
{
    QMutexLocker lock(&registryMutex());
    registry().insert(folderKey(programFolder), address);
}

void UseLocalFiles(const QString& programFolder)
{
    QMutexLocker lock(&registryMutex());
    registry().remove(folderKey(programFolder));
}

std::optional<ServerAddress> ServerOf(const QString& programFolder)
{
    QMutexLocker lock(&registryMutex());
    const auto it = registry().constFind(folderKey(programFolder));
    if (it == registry().constEnd())
        return std::nullopt;
    return *it;
}

std::optional<ServerAddress> ServerForFile(const QString& filePath, QString* schema)
{
    const QFileInfo info(filePath);
    const FileDef* file = findFile(info.fileName());
    if (!file)
        return std::nullopt;
    std::optional<ServerAddress> server = ServerOf(info.absolutePath());
    if (server && schema)
        *schema = serverSchema(*file);
    return server;
}

QString StoreInUse(const QString& programFolder)
{
    const std::optional<ServerAddress> server = ServerOf(programFolder);
    if (!server)
        return kThisComputer;
    const QString shown = server->shown();
    const qsizetype slash = shown.lastIndexOf(QLatin1Char('/'));
    return kOnServer.arg(shown.left(slash), shown.mid(slash + 1));
}

} // namespace store
