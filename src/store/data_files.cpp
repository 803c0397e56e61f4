#include "store/data_files.h"
#include "store/connection.h"
#include "store/delivered_table.h"
#include "store/private_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace store {

QString DataFilePath(const QString& programFolder, const QString& fileName)
{
    return QDir(programFolder).filePath(fileName);
}

QStringList DeliveredTablePaths(const FileDef& file, const TableDef& table)
{
    const QDir folder(QStringLiteral(":/data/") + file.dataFolder);
    QStringList paths;
    const QStringList names = folder.entryList(
        {table.name + QStringLiteral(".tsv"), table.name + QStringLiteral(".*.tsv")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        paths << folder.filePath(name);
    return paths;
}

namespace {

QString createTableSql(const TableDef& t)
{
    QStringList cols;
    for (const QString& c : t.columns) {
        if (t.integerColumns.contains(c))
            cols << quoteIdentifier(c) + QStringLiteral(" INTEGER DEFAULT 0");
        else
            cols << quoteIdentifier(c) + QStringLiteral(" TEXT DEFAULT ''");
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(t.name), cols.join(QStringLiteral(", ")));
}

QString indexName(const TableDef& t, const QString& column, bool unique)
{
    return QStringLiteral("%1_%2_%3").arg(unique ? QStringLiteral("ux") : QStringLiteral("ix"), t.name, column);
}

QString createIndexSql(const TableDef& t, const QString& column, bool unique)
{
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString(), quoteIdentifier(indexName(t, column, unique)),
             quoteIdentifier(t.name), quoteIdentifier(column));
}

Result execOrFail(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql))
        return Result::failure(q.lastError().text());
    return Result::success();
}

Result fillFromFile(QSqlDatabase& db, const QString& path, const TableDef& t)
{
    const DeliveredTable data = LoadDeliveredTable(path);
    if (!data.error.isEmpty())
        return Result::failure(QStringLiteral("%1: %2").arg(path, data.error));
    QStringList cols, marks;
    for (const QString& c : data.columns) {
        bool known = false;
        for (const QString& real : t.columns)
            known = known || real.compare(c, Qt::CaseInsensitive) == 0;
        if (!known)
            return Result::failure(QStringLiteral("%1: unknown column %2").arg(path, c));
        cols << quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoteIdentifier(t.name), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (const QStringList& row : data.rows) {
        for (int i = 0; i < row.size(); ++i) {
            if (t.integerColumns.contains(data.columns.at(i), Qt::CaseInsensitive))
                q.bindValue(i, row.at(i).toInt());
            else
                q.bindValue(i, row.at(i));
        }
        if (!q.exec())
            return Result::failure(QStringLiteral("%1: %2").arg(path, q.lastError().text()));
    }
    return Result::success();
}

Result fillFromDelivered(QSqlDatabase& db, const FileDef& file, const TableDef& t)
{
    for (const QString& path : DeliveredTablePaths(file, t))
        if (Result r = fillFromFile(db, path, t); !r)
            return r;
    return Result::success();
}

Result buildDatabase(const QString& path, const FileDef& file, bool withDeliveredRows)
{
    const QString name = QStringLiteral("tavora-create-%1").arg(file.fileName);
    Result result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            result = Result::failure(db.lastError().text());
        } else {
            QSqlQuery q(db);
            // Rollback journal, never WAL: the file alone is a complete copy for backups.
            result = execOrFail(q, QStringLiteral("PRAGMA journal_mode=DELETE"));
            if (result)
                db.transaction();
            for (const TableDef& t : file.tables) {
                if (!result)
                    break;
                result = execOrFail(q, createTableSql(t));
                for (const QString& c : t.uniqueColumns)
                    if (result)
                        result = execOrFail(q, createIndexSql(t, c, true));
                for (const QString& c : t.indexedColumns)
                    if (result)
                        result = execOrFail(q, createIndexSql(t, c, false));
                if (result && withDeliveredRows)
                    result = fillFromDelivered(db, file, t);
            }
            q.finish();
            if (result && !db.commit())
                result = Result::failure(db.lastError().text());
            if (!result)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    // SQLite makes the file for everyone to read; its journals take the file's own mode.
    if (result && !MakeOwnerOnly(path))
        result = Result::failure(QStringLiteral("%1: its permissions cannot be set").arg(path));
    return result;
}

} // namespace

Result CreateEmptyDataFile(const QString& path, const FileDef& file)
{
    // A journal left beside an earlier file of this name would be played into the new one.
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    Result r = buildDatabase(path, file, false);
    if (!r)
        QFile::remove(path);
    return r;
}

Result CreateDataFile(const QString& programFolder, const FileDef& file)
{
    const QString target = DataFilePath(programFolder, file.fileName);
    const QString temp = target + QStringLiteral(".new");
    QFile::remove(temp);
    Result r = buildDatabase(temp, file, true);
    if (r && !QFile::rename(temp, target))
        r = Result::failure(QStringLiteral("cannot rename %1 to %2").arg(temp, target));
    if (r)
        SyncFolder(programFolder); // the new name on the disk; a failure only costs it after a power cut
    if (!r) {
        QFile::remove(temp);
        return Result::failure(QStringLiteral("%1: %2").arg(target, r.error));
    }
    return r;
}

namespace {

Result verifyOn(Connection& conn, const QString& path, const FileDef& file)
{
    // One query for the whole file; it also fails on a file that is not a database.
    QSqlQuery q(conn.database());
    if (!q.exec(QStringLiteral("SELECT m.name, p.name FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
                               "WHERE m.type = 'table'")))
        return Result::failure(QStringLiteral("%1: %2").arg(path, q.lastError().text()));
    QHash<QString, QStringList> have;
    while (q.next())
        have[q.value(0).toString().toLower()] << q.value(1).toString();
    q.finish();
    for (const TableDef& t : file.tables) {
        const QStringList columns = have.value(t.name.toLower());
        if (columns.isEmpty())
            return Result::failure(QStringLiteral("%1: the table %2 is missing").arg(path, t.name));
        for (const QString& c : t.columns)
            if (!columns.contains(c, Qt::CaseInsensitive))
                return Result::failure(QStringLiteral("%1: the table %2 lacks the column %3").arg(path, t.name, c));
    }
    return Result::success();
}

Result addIndexesOn(Connection& conn, const QString& path, const FileDef& file)
{
    QSqlQuery q(conn.database());
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")))
        return Result::failure(QStringLiteral("%1: %2").arg(path, q.lastError().text()));
    QStringList have;
    while (q.next())
        have << q.value(0).toString();
    q.finish();
    for (const TableDef& t : file.tables) {
        for (const QString& c : t.indexedColumns) {
            if (have.contains(indexName(t, c, false), Qt::CaseInsensitive))
                continue;
            if (Result r = execOrFail(q, createIndexSql(t, c, false)); !r)
                return Result::failure(QStringLiteral("%1: %2").arg(path, r.error));
        }
    }
    return Result::success();
}

// An existing file at start-up: checked, then given the indexes it lacks, on one connection.
Result verifyAndIndex(const QString& path, const FileDef& file)
{
    Connection conn(path);
    if (Result r = conn.open(); !r)
        return r;
    if (Result r = verifyOn(conn, path, file); !r)
        return r;

    // A file made before an index was added (or restored from such a backup) gets it now. Only
    // speed depends on it, so a file that cannot take it (read-only, busy) is used as it is.
    (void)addIndexesOn(conn, path, file);
    return Result::success();
}

} // namespace

Result VerifyDataFile(const QString& path, const FileDef& file)
{
    Connection conn(path);
    if (Result r = conn.open(); !r)
        return r;
    return verifyOn(conn, path, file);
}

Result CreateMissingSkinFiles(const QString& programFolder)
{
    QDir folder(programFolder);
    if (!folder.exists(QStringLiteral("skin")) && !MakeOwnerOnlyFolder(folder.filePath(QStringLiteral("skin"))))
        return Result::failure(QStringLiteral("%1: cannot create the folder").arg(folder.filePath(QStringLiteral("skin"))));
    QDirIterator it(QStringLiteral(":/data/skin"));
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = folder.filePath(QStringLiteral("skin/") + it.fileName());
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(source, target))
            return Result::failure(QStringLiteral("%1: cannot be written").arg(target));
        QFile::setPermissions(target, kOwnerOnly); // a copy would keep the resource's read-for-all
    }
    return Result::success();
}

PrepareOutcome PrepareProgramFolder(const QString& programFolder)
{
    const QString folder = QFileInfo(programFolder).canonicalFilePath();
    for (const FileDef& file : dataFiles()) {
        const QString path = DataFilePath(programFolder, file.fileName);
        const QFileInfo info(path);
        if (info.isSymLink()) {
            const QString target = info.canonicalFilePath();
            if (target.isEmpty() || QFileInfo(target).absolutePath() != folder)
                return {false, file.fileName,
                        QStringLiteral("%1 is a link to %2, outside the program folder").arg(path, info.symLinkTarget()), {}};
        }
        const Result r = info.exists() ? verifyAndIndex(path, file) : CreateDataFile(programFolder, file);
        if (!r)
            return {false, file.fileName, r.error, {}};
    }
    PrepareOutcome outcome;
    if (const Result r = CreateMissingSkinFiles(programFolder); !r)
        outcome.themeProblem = r.error;
    return outcome;
}

} // namespace store
