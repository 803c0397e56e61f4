#include "store/server_backup.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/private_files.h"
#include "store/schema.h"
#include "store/server_move.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <chrono>
#include <future>

namespace store {

namespace {

const FileDef& examineeFile()
{
    return *findFile(kExamineeFile);
}

QString qualified(const FileDef& file, const TableDef& t)
{
    return quoteIdentifier(serverSchema(file)) + QLatin1Char('.') + quoteIdentifier(t.name);
}

QString columnList(const TableDef& t)
{
    QStringList columns;
    for (const QString& c : t.columns)
        columns << quoteIdentifier(c);
    return columns.join(QStringLiteral(", "));
}

Result fillSnapshot(Connection& server, const FileDef& file, const QString& path, const RowProgress& progress)
{
    // The total as the same snapshot sees it, for the progress only.
    qint64 total = 0, done = 0;
    for (const TableDef& t : file.tables) {
        if (!progress)
            break;
        QSqlQuery count;
        if (Result r = server.exec(count, QStringLiteral("SELECT count(*) FROM %1").arg(qualified(file, t))); !r)
            return r;
        total += count.next() ? count.value(0).toLongLong() : 0;
    }
    if (progress)
        progress(0, total); // the counting itself is a wait

    const auto local = Connection::toFile(path);
    if (Result r = local->open(); !r)
        return r;
    // Not flushed here: the file becomes a backup only once its caller has made it durable
    // (beside the window's work), and a flush of 30 MB at the commit would hold the window.
    QSqlDatabase db = local->database();
    if (QSqlQuery unsynced(db); !unsynced.exec(QStringLiteral("PRAGMA synchronous = OFF")))
        return local->failure(unsynced.lastError());
    if (!db.transaction())
        return local->failure(db.lastError());
    for (const TableDef& t : file.tables) {
        QStringList marks;
        for (qsizetype i = 0; i < t.columns.size(); ++i)
            marks << QStringLiteral("?");
        QSqlQuery insert(db);
        if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(quoteIdentifier(t.name), columnList(t), marks.join(QStringLiteral(", ")))))
            return local->failure(insert.lastError());
        // In pieces through a cursor: the server's driver would otherwise hold every row in memory.
        QSqlQuery q;
        if (Result r = server.exec(q, QStringLiteral("DECLARE snapshot NO SCROLL CURSOR FOR SELECT %1 FROM %2 ORDER BY rowid")
                                          .arg(columnList(t), qualified(file, t)));
            !r)
            return r;
        for (bool more = true; more;) {
            if (Result r = server.exec(q, QStringLiteral("FETCH FORWARD %1 FROM snapshot").arg(kServerRowBatch)); !r)
                return r;
            more = false;
            while (q.next()) {
                more = true;
                for (int i = 0; i < t.columns.size(); ++i)
                    insert.bindValue(i, q.value(i));
                if (!insert.exec())
                    return local->failure(insert.lastError());
                ++done;
            }
            if (progress && more)
                progress(done, std::max(done, total));
        }
        if (Result r = server.exec(q, QStringLiteral("CLOSE snapshot")); !r)
            return r;
    }
    if (!db.commit())
        return local->failure(db.lastError());
    return Result::success();
}

// The examinee tables as the server's open transaction sees them, into a new file at path.
Result writeSnapshot(Connection& server, const QString& path, const RowProgress& progress = {})
{
    QFile::remove(path);
    Result r = CreateEmptyDataFile(path, examineeFile());
    if (r)
        r = fillSnapshot(server, examineeFile(), path, progress);
    if (!r) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
    }
    return r;
}

Result run(Connection& c, const QString& sql)
{
    QSqlQuery q;
    return c.exec(q, sql);
}

} // namespace

Result BackupServerExaminees(const ServerAddress& server, const QString& target, const RowProgress& progress)
{
    const auto conn = std::make_shared<Connection>(server);
    Transaction snapshot(conn);
    Result r = snapshot.begin();
    if (r)
        r = run(*conn, QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
    if (r)
        r = writeSnapshot(*conn, target, progress);
    return r; // only read: the guard ends the transaction
}

Result RestoreServerExaminees(const ServerAddress& server, const QString& source, const QString& keep,
                              const RowProgress& progress)
{
    const FileDef& file = examineeFile();
    const auto local = Connection::toFile(source);
    if (Result r = local->open(); !r)
        return r;
    // The rows to store, for the progress only; the rows kept are counted by the snapshot.
    qint64 toStore = 0, kept = 0;
    for (const TableDef& t : file.tables) {
        QSqlQuery count;
        if (!progress)
            break;
        if (Result r = local->exec(count, QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(t.name))); !r)
            return r;
        toStore += count.next() ? count.value(0).toLongLong() : 0;
    }
    RowProgress keeping;
    if (progress)
        keeping = [&](qint64 done, qint64 total) {
            kept = total;
            progress(done, total + toStore);
        };
    const auto conn = std::make_shared<Connection>(server);
    Transaction restore(conn);
    Result r = restore.begin();
    if (r)
        r = run(*conn, QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
    // Taken before the first read, so the rows kept below are exactly the rows replaced: other
    // computers can still read, and their writes wait until the restore is done.
    QStringList tables;
    for (const TableDef& t : file.tables)
        tables << qualified(file, t);
    if (r)
        r = run(*conn, QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tables.join(QStringLiteral(", "))));
    qint64 stored = 0;
    const auto storing = [&](qint64 copied) { progress(kept + stored + copied, kept + toStore); };
    // Between two steps too, each of which takes a while on 100,000 rows; at the end, the whole.
    const auto step = [&] {
        if (progress)
            storing(0);
    };
    if (r) {
        const QString part = PartFileName(keep);
        r = writeSnapshot(*conn, part, keeping);
        QString error;
        if (r) {
            // Flushed and renamed beside the window, which is called meanwhile.
            std::future<QString> replaced = std::async(std::launch::async, [&] { return ReplaceFileDurably(part, keep); });
            while (replaced.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
                step();
            error = replaced.get();
        }
        if (!error.isEmpty()) {
            QFile::remove(part);
            r = Result::failure(error);
        }
    }
    for (const TableDef& t : file.tables) {
        if (!r)
            break;
        step();
        r = run(*conn, QStringLiteral("DELETE FROM %1").arg(qualified(file, t)));
        if (!r)
            break;
        step();
        conn->rowsDeleted(qualified(file, t));
        // New row identities from the server: the rows keep their order, and nothing more than
        // the right to use the identity sequence is needed.
        QSqlQuery rows;
        qint64 copied = 0;
        r = local->exec(rows, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(t), quoteIdentifier(t.name)));
        if (r)
            r = CopyRowsIn(*conn, rows, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(qualified(file, t), columnList(t)), copied,
                           nullptr, progress ? std::function<void(qint64)>(storing) : nullptr);
        stored += copied;
        step();
        QSqlQuery count;
        if (r)
            r = conn->exec(count, QStringLiteral("SELECT count(*) FROM %1").arg(qualified(file, t)));
        if (r && (!count.next() || count.value(0).toLongLong() != copied))
            r = Result::failure(QStringLiteral("%1: %2 rows read from the backup, another number stored").arg(t.name).arg(copied));
    }
    if (r)
        step();
    if (r)
        r = restore.commit();
    return r;
}

} // namespace store
