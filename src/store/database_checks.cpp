#include "store/database_checks.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/private_files.h"

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace store {

namespace {

QAtomicInteger<quint64> foreignCounter;

// The address SQLite opens a file by without writing it or touching anything beside it.
QString immutableAddress(const QString& path)
{
    QUrl uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=ro&immutable=1"));
    return uri.toString(QUrl::FullyEncoded);
}

Result failure(const QString& path, const QString& why)
{
    return Result::failure(QStringLiteral("%1: %2").arg(path, why));
}

// A side file with content means the file alone is not the whole database.
Result checkFileItself(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return failure(path, f.errorString());
    const QByteArray head = f.read(100);
    if (head.size() < 100 || !head.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return failure(path, QStringLiteral("the file is not a database"));
    if (QFileInfo(path + QStringLiteral("-journal")).size() > 0)
        return failure(path, QStringLiteral("a write to it was left unfinished (its -journal lies beside it)"));
    const bool wal = head.at(18) == 2 || head.at(19) == 2;
    if (wal && QFileInfo(path + QStringLiteral("-wal")).size() > 0)
        return failure(path, QStringLiteral("its latest changes are in a side file (-wal); the file alone is not complete"));
    return Result::success();
}

bool isRowidName(const QString& column)
{
    for (const char* name : {"rowid", "oid", "_rowid_"})
        if (column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

const TableDef* tableNamed(const FileDef& file, const QString& name)
{
    for (const TableDef& t : file.tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

// Runs a pragma that answers "ok" (one row) when all is well; otherwise its first answer.
Result expectOk(QSqlDatabase& db, const QString& path, const QString& pragma)
{
    QSqlQuery q(db);
    if (!q.exec(pragma))
        return failure(path, q.lastError().text());
    if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
        return failure(path, QStringLiteral("the file is damaged (%1)").arg(q.value(0).toString()));
    return Result::success();
}

Result expectNoRows(QSqlDatabase& db, const QString& path, const QString& pragma, const QString& why)
{
    QSqlQuery q(db);
    if (!q.exec(pragma))
        return failure(path, q.lastError().text());
    if (q.next())
        return failure(path, why);
    return Result::success();
}

Result checkSchema(QSqlDatabase& db, const QString& path, const FileDef& file)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master")))
        return failure(path, q.lastError().text());
    QSet<QString> tablesSeen;
    QStringList indexes;
    QSet<QString> numberIndexes; // the program's own, made by exactly its statement
    while (q.next()) {
        const QString type = q.value(0).toString();
        const QString name = q.value(1).toString();
        const QString sql = q.value(3).toString().simplified();
        if (type == QLatin1String("trigger"))
            return failure(path, QStringLiteral("it holds a trigger (%1)").arg(name));
        if (type == QLatin1String("view"))
            return failure(path, QStringLiteral("it holds a view (%1)").arg(name));
        if (type == QLatin1String("table")) {
            if (name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
                continue; // SQLite's own bookkeeping; nobody else can make these
            if (sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive))
                return failure(path, QStringLiteral("it holds a virtual table (%1)").arg(name));
            if (!tableNamed(file, name))
                return failure(path, QStringLiteral("it holds a table this program does not have (%1)").arg(name));
            tablesSeen << name.toLower();
        } else if (type == QLatin1String("index")) {
            const TableDef* table = tableNamed(file, q.value(2).toString());
            if (!table)
                return failure(path, QStringLiteral("it holds an index on a table this program does not have (%1)").arg(name));
            if (!table->numberedColumn.isEmpty() && name == NumberIndexName(*table) && sql == CreateNumberIndexSql(*table, {}).simplified())
                numberIndexes << name;
            else
                indexes << name;
        } else {
            return failure(path, QStringLiteral("it holds a %1 (%2)").arg(type, name));
        }
    }
    q.finish();
    for (const TableDef& t : file.tables) {
        if (!tablesSeen.contains(t.name.toLower()) && t.addedLater)
            continue; // a file of an earlier version; the fresh copy has the table, empty
        if (!tablesSeen.contains(t.name.toLower()))
            return failure(path, QStringLiteral("the table %1 is missing").arg(t.name));
        if (!q.exec(QStringLiteral("SELECT type, wr FROM pragma_table_list WHERE schema = 'main' AND name = '%1' COLLATE NOCASE")
                        .arg(t.name)))
            return failure(path, q.lastError().text());
        if (!q.next() || q.value(0).toString() != QLatin1String("table") || q.value(1).toInt() != 0)
            return failure(path, QStringLiteral("the table %1 is not an ordinary table (WITHOUT ROWID or virtual)").arg(t.name));
        q.finish();
        // Column names come from our own list; the table's name is one of ours, quoted.
        if (!q.exec(QStringLiteral("SELECT name, hidden FROM pragma_table_xinfo('%1')").arg(t.name)))
            return failure(path, q.lastError().text());
        QSet<QString> columns;
        while (q.next()) {
            const QString column = q.value(0).toString();
            if (isRowidName(column))
                return failure(path, QStringLiteral("the table %1 has a column named %2").arg(t.name, column));
            if (q.value(1).toInt() != 0)
                return failure(path, QStringLiteral("the table %1 has a generated or hidden column (%2)").arg(t.name, column));
            if (!t.columns.contains(column, Qt::CaseInsensitive))
                return failure(path, QStringLiteral("the table %1 has a column this program does not have (%2)").arg(t.name, column));
            columns << column.toLower();
        }
        q.finish();
        for (const QString& c : t.columns)
            if (!columns.contains(c.toLower()))
                return failure(path, QStringLiteral("the table %1 lacks the column %2").arg(t.name, c));
        if (!q.exec(QStringLiteral("SELECT name, partial FROM pragma_index_list('%1')").arg(t.name)))
            return failure(path, q.lastError().text());
        while (q.next())
            if (q.value(1).toInt() != 0 && !numberIndexes.contains(q.value(0).toString()))
                return failure(path, QStringLiteral("the index %1 is partial").arg(q.value(0).toString()));
        q.finish();
    }
    for (const QString& index : indexes) {
        QSqlQuery x(db);
        x.prepare(QStringLiteral("SELECT count(*) FROM pragma_index_xinfo(?) WHERE key = 1 AND cid < 0"));
        x.addBindValue(index);
        if (!x.exec() || !x.next())
            return failure(path, x.lastError().text());
        if (x.value(0).toInt() != 0)
            return failure(path, QStringLiteral("the index %1 is on an expression").arg(index));
    }
    return Result::success();
}

// One read-only, immutable connection for as long as it lives.
class ForeignConnection {
public:
    explicit ForeignConnection(const QString& path)
        : name_(QStringLiteral("tavora-foreign-%1").arg(foreignCounter.fetchAndAddRelaxed(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(immutableAddress(path));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        opened_ = db.open();
        if (!opened_)
            error_ = db.lastError().text();
    }
    ~ForeignConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    ForeignConnection(const ForeignConnection&) = delete;
    ForeignConnection& operator=(const ForeignConnection&) = delete;

    bool opened() const { return opened_; }
    const QString& error() const { return error_; }
    QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
    QString error_;
    bool opened_ = false;
};

QString columnList(const TableDef& t, bool cast)
{
    QStringList cols;
    for (const QString& c : t.columns) {
        // Values are text everywhere the program reads them; a number or blob a foreign file
        // slipped in becomes text here.
        if (cast && !t.integerColumns.contains(c))
            cols << QStringLiteral("CAST(%1 AS TEXT)").arg(quoteIdentifier(c));
        else
            cols << quoteIdentifier(c);
    }
    return cols.join(QStringLiteral(", "));
}

Result copyRows(const QString& source, const QString& target, const FileDef& file)
{
    const auto conn = Connection::toFile(target);
    if (Result r = conn->open(); !r)
        return r;
    QSqlDatabase db = conn->database();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS backup"));
    q.addBindValue(immutableAddress(source));
    if (!q.exec())
        return failure(source, q.lastError().text());
    Result result = Result::success();
    if (!db.transaction())
        result = failure(target, db.lastError().text());
    for (const TableDef& t : file.tables) {
        if (!result)
            break;
        if (t.addedLater) {
            q.prepare(QStringLiteral("SELECT 1 FROM backup.sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
            q.addBindValue(t.name);
            if (!q.exec()) {
                result = failure(source, q.lastError().text());
                break;
            }
            const bool there = q.next();
            q.finish();
            if (!there)
                continue;
        }
        if (!q.exec(QStringLiteral("INSERT INTO main.%1 (%2) SELECT %3 FROM backup.%1")
                        .arg(quoteIdentifier(t.name), columnList(t, false), columnList(t, true))))
            result = failure(target, q.lastError().text());
    }
    q.finish();
    if (result && !db.commit())
        result = failure(target, db.lastError().text());
    if (!result)
        db.rollback();
    (void)q.exec(QStringLiteral("DETACH DATABASE backup"));
    q.finish();
    if (result)
        result = expectOk(db, target, QStringLiteral("PRAGMA integrity_check"));
    if (result)
        result = expectNoRows(db, target, QStringLiteral("PRAGMA foreign_key_check"),
                              QStringLiteral("a row refers to one that is missing"));
    return result;
}

} // namespace

Result CheckForeignDatabase(const QString& path, const FileDef& file)
{
    if (Result r = checkFileItself(path); !r)
        return r;
    ForeignConnection conn(path);
    if (!conn.opened())
        return failure(path, conn.error());
    QSqlDatabase db = conn.database();
    if (Result r = checkSchema(db, path, file); !r)
        return r;
    if (Result r = expectOk(db, path, QStringLiteral("PRAGMA integrity_check")); !r)
        return r;
    return expectNoRows(db, path, QStringLiteral("PRAGMA foreign_key_check"),
                        QStringLiteral("a row refers to one that is missing"));
}

Result CopyIntoFreshDatabase(const QString& source, const QString& target, const FileDef& file)
{
    // The file and its schema once more, as they are now (cheap); its pages were checked by
    // CheckForeignDatabase, and the copy's are checked below.
    if (Result r = checkFileItself(source); !r)
        return r;
    {
        ForeignConnection conn(source);
        if (!conn.opened())
            return failure(source, conn.error());
        QSqlDatabase db = conn.database();
        if (Result r = checkSchema(db, source, file); !r)
            return r;
    }
    Result r = CreateEmptyDataFile(target, file);
    if (r)
        r = copyRows(source, target, file);
    if (!r) {
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-journal"));
    }
    return r;
}

QuickCheck QuickCheckFile(const QString& path, int budgetMs, QString* problem)
{
    const auto conn = Connection::toFile(path);
    if (Result r = conn->open(); !r) {
        if (problem)
            *problem = r.error;
        return QuickCheck::Damaged;
    }
    QSqlDatabase db = conn->database();
    const QVariant handle = db.driver()->handle();
    sqlite3* sqlite = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                          ? *static_cast<sqlite3* const*>(handle.constData())
                          : nullptr;
    // Most of the check is one long step of SQLite's that no callback interrupts: a watchdog
    // interrupts it from beside, which SQLite allows from any thread.
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool stopped = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        const auto checked = [&done] { return done; };
        if (!sqlite || finished.wait_for(lock, std::chrono::milliseconds(budgetMs), checked))
            return;
        // Again until it ends: an interrupt that lands before the check has begun is forgotten.
        stopped = true;
        do
            sqlite3_interrupt(sqlite);
        while (!finished.wait_for(lock, std::chrono::milliseconds(1), checked));
    });
    QuickCheck outcome = QuickCheck::Sound;
    QString first;
    {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()) {
            outcome = QuickCheck::Damaged; // unless stopped, below
            first = q.lastError().text();
        } else if (q.value(0).toString() != QLatin1String("ok")) {
            outcome = QuickCheck::Damaged;
            first = q.value(0).toString();
        }
    }
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
    if (stopped && outcome == QuickCheck::Damaged && first.contains(QLatin1String("interrupt"), Qt::CaseInsensitive))
        outcome = QuickCheck::NotFinished;
    if (problem && outcome == QuickCheck::Damaged)
        *problem = first;
    return outcome;
}

} // namespace store
