#include "support/test_env.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/view.h"

#include "store/connection.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

TestEnv::TestEnv(bool seeded)
    : ctx(dir_.path(), dialogs, clock, desktop)
{
    if (testing_support::onServer()) {
        QString why;
        const std::optional<store::ServerAddress> db = testing_support::freshTestDatabase(&why);
        if (!db) {
            seedError_ = QStringLiteral("test server: ") + why;
            return;
        }
        store::UseServer(dir_.path(), *db);
    }
    if (seeded) {
        const store::PrepareOutcome r = store::PrepareProgramFolder(dir_.path());
        if (!r.ok)
            seedError_ = r.fileName + QStringLiteral(": ") + r.error;
    }
}

TestEnv::~TestEnv()
{
    store::UseLocalFiles(dir_.path());
}

namespace testing_support {

bool addExaminee(const QString& folder, const QString& code, const QStringList& responses,
                 const QHash<QString, QString>& identity)
{
    const QString file = store::DataFilePath(folder, QStringLiteral("Tavora71.mdb"));
    store::View ide(file, QStringLiteral("IDE"));
    store::View answer(file, QStringLiteral("Answer"));
    if (!ide.refresh() || !answer.refresh())
        return false;
    ide.addNew();
    (void)ide.setValue(QStringLiteral("Code"), code);
    for (auto it = identity.begin(); it != identity.end(); ++it)
        (void)ide.setValue(it.key(), it.value());
    answer.addNew();
    (void)answer.setValue(QStringLiteral("Code"), code.trimmed());
    for (int i = 0; i < responses.size() && i < store::kItemCount; ++i)
        (void)answer.setValue(QString::number(i + 1), responses.at(i));
    return ide.update().ok && answer.update().ok;
}

bool execSql(const QString& file, const QStringList& statements)
{
    if (store::ServerForFile(file)) {
        store::Connection c(file);
        for (const QString& sql : statements) {
            QSqlQuery q;
            if (!c.exec(q, sql)) {
                qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
                return false;
            }
        }
        return true;
    }
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("outside"));
        db.setDatabaseName(file);
        ok = db.open();
        for (const QString& sql : statements)
            ok = ok && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("outside"));
    return ok;
}

} // namespace testing_support

namespace testing_support {

namespace {

QHash<QString, QString> serverInfo()
{
    QHash<QString, QString> info;
    QFile f(qEnvironmentVariable("TAVORA71_TEST_SERVER"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return info;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            info.insert(line.left(eq), line.mid(eq + 1).trimmed());
    }
    return info;
}

bool runAdmin(const store::ServerAddress& address, const QStringList& statements, QString* error)
{
    store::Connection admin(address);
    for (const QString& sql : statements) {
        QSqlQuery q;
        if (const store::Result r = admin.exec(q, sql); !r) {
            if (error)
                *error = r.error;
            return false;
        }
    }
    return true;
}

bool serverScript(const QString& action)
{
    QProcess p;
    p.start(qEnvironmentVariable("TAVORA71_TEST_SERVER_SCRIPT"), {action, qEnvironmentVariable("TAVORA71_TEST_SERVER")});
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

bool onServer()
{
    return qEnvironmentVariable("TAVORA71_TEST_ENGINE") == QLatin1String("server");
}

std::optional<store::ServerAddress> testServerAdmin()
{
    store::ServerAddress address;
    const QString conninfo = serverInfo().value(QStringLiteral("CONNINFO"));
    if (conninfo.isEmpty() || !store::ParseServerAddress(conninfo, address))
        return std::nullopt;
    return address;
}

std::optional<store::ServerAddress> freshTestDatabase(QString* error)
{
    std::optional<store::ServerAddress> admin = testServerAdmin();
    if (!admin) {
        if (error)
            *error = QStringLiteral("no test server (TAVORA71_TEST_SERVER)");
        return std::nullopt;
    }
    // Made once per test program, emptied for each use: making a database takes most of a second.
    static QString name;
    static bool made = false;
    if (name.isEmpty())
        name = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(QRandomGenerator::global()->bounded(1000000));
    if (!made) {
        if (!runAdmin(*admin, {QStringLiteral("CREATE DATABASE %1").arg(name)}, error))
            return std::nullopt;
        made = true;
    }
    store::ServerAddress db = *admin;
    db.params.insert(QStringLiteral("dbname"), name);
    QStringList empty{QStringLiteral("SET client_min_messages = warning"),
                      QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                     "WHERE datname = current_database() AND pid <> pg_backend_pid()")};
    for (const store::FileDef& f : store::dataFiles())
        empty << QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(store::serverSchema(f));
    empty << QStringLiteral("DROP TABLE IF EXISTS public.tavora71_schema");
    if (!runAdmin(db, empty, error))
        return std::nullopt;
    return db;
}

bool haltTestServer()
{
    return serverScript(QStringLiteral("halt"));
}

bool resumeTestServer()
{
    return serverScript(QStringLiteral("resume"));
}

bool persianFontsInstalled()
{
    const QStringList families = QFontDatabase::families();
    for (const char* face : {"Noto Sans Arabic", "Noto Naskh Arabic", "Nazli", "Titr"}) {
        if (!families.contains(QString::fromLatin1(face)))
            return false;
    }
    return true;
}

} // namespace testing_support
