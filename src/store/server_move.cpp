#include "store/server_move.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/server_schema.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <libpq-fe.h>
#include <poll.h>

#include <vector>

namespace store {

namespace {

const QString kFileMissing = QStringLiteral("فايل %1 در پوشه برنامه نيست.");
const QString kHasExaminees = QStringLiteral(
    "پايگاه داده سرور %1 هم اکنون %2 آزمودني دارد؛ داده ها فقط به پايگاه داده اي منتقل مي شوند که "
    "آزمودني ندارد. چيزي تغيير نکرد.");
const QString kNotEqual = QStringLiteral("آنچه در سرور نوشته شد با فايل ها يکي نبود؛ هيچ چيز در سرور نماند.");
const QString kMoved = QStringLiteral("همه داده هاي اين رايانه به سرور %1 منتقل شد و با فايل ها مقايسه شد:");
const QString kNotMoved = QStringLiteral("داده ها به سرور %1 منتقل نشد. فايل هاي اين رايانه دست نخورده اند.");
const QString kTableLine = QStringLiteral("%1 (%2): %3 رديف، %4");
const QString kSame = QStringLiteral("يکسان");
const QString kDifferent = QStringLiteral("متفاوت (در سرور %1 رديف)");

PGconn* pgOf(Connection& c)
{
    const QVariant handle = c.database().driver()->handle();
    if ((qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

QString pgError(PGconn* conn)
{
    const QString why = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    return why.section(QLatin1Char('\n'), 0, 0);
}

// Ends a COPY: the command's own result, then nothing more.
Result finishCopy(PGconn* conn)
{
    Result r;
    while (PGresult* res = PQgetResult(conn)) {
        if (PQresultStatus(res) != PGRES_COMMAND_OK && PQresultStatus(res) != PGRES_COPY_OUT && r)
            r = Result::failure(QString::fromUtf8(PQresultErrorMessage(res)).trimmed());
        PQclear(res);
    }
    return r;
}

// finishCopy, calling whileWaiting every few milliseconds until the server has stored what it
// was sent, so a screen showing the work is repainted even when the server falls behind.
Result finishCopyWaiting(PGconn* conn, const std::function<void()>& whileWaiting)
{
    while (PQisBusy(conn)) {
        pollfd ready{PQsocket(conn), POLLIN, 0};
        (void)::poll(&ready, 1, 10);
        if (!PQconsumeInput(conn))
            break; // the connection's failure is what PQgetResult reports
        whileWaiting();
    }
    return finishCopy(conn);
}

Result startCopy(PGconn* conn, const QString& sql, ExecStatusType expected)
{
    PGresult* res = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(res) == expected;
    const QString why = ok ? QString() : QString::fromUtf8(PQresultErrorMessage(res)).trimmed();
    PQclear(res);
    return ok ? Result::success() : Result::failure(why.isEmpty() ? pgError(conn) : why);
}

// One table: the file's rows into the server's table, then read back and compared.
Result moveTable(Connection& local, Connection& admin, const FileDef& file, const TableDef& t, MovedTable& moved)
{
    PGconn* conn = pgOf(admin);
    if (!conn)
        return Result::failure(QStringLiteral("no PostgreSQL connection"));
    const QString target = quoteIdentifier(serverSchema(file)) + QLatin1Char('.') + quoteIdentifier(t.name);
    QStringList columns{QStringLiteral("rowid")};
    for (const QString& c : t.columns)
        columns << quoteIdentifier(c);
    const QString list = columns.join(QStringLiteral(", "));

    QSqlQuery clear;
    if (Result r = admin.exec(clear, QStringLiteral("DELETE FROM %1").arg(target)); !r)
        return r;
    clear = QSqlQuery();

    QSqlQuery rows;
    if (Result r = local.exec(rows, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(list, quoteIdentifier(t.name))); !r)
        return r;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (Result r = CopyRowsIn(admin, rows, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(target, list), moved.localRows, &hash); !r)
        return r;
    moved.localChecksum = hash.result();

    // New rows get identities after the moved ones.
    QSqlQuery seq;
    if (Result r = admin.exec(seq, QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'rowid'), "
                                                  "coalesce((SELECT max(rowid) FROM %1), 0) + 1, false)")
                                       .arg(target));
        !r)
        return r;
    seq = QSqlQuery();

    // Read back as the server stores it.
    if (Result r = startCopy(conn, QStringLiteral("COPY (SELECT %1 FROM %2 ORDER BY rowid) TO STDOUT").arg(list, target), PGRES_COPY_OUT);
        !r)
        return r;
    QCryptographicHash back(QCryptographicHash::Sha256);
    char* line = nullptr;
    int size = 0;
    while ((size = PQgetCopyData(conn, &line, 0)) > 0) {
        back.addData(QByteArrayView(line, size));
        ++moved.serverRows;
        PQfreemem(line);
    }
    if (Result r = finishCopy(conn); !r || size == -2)
        return r ? Result::failure(pgError(conn)) : r;
    moved.serverChecksum = back.result();
    return Result::success();
}

} // namespace

QByteArray CopyField(const QVariant& value)
{
    if (value.isNull())
        return QByteArrayLiteral("\\N");
    const QByteArray text = value.toString().toUtf8();
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        default: out += c;
        }
    }
    return out;
}

Result CopyRowsIn(Connection& server, QSqlQuery& rows, const QString& copySql, qint64& count, QCryptographicHash* hash,
                  const std::function<void(qint64 count)>& everyBatch)
{
    // While a screen waits, the copy is ended and begun again after each batch: the server
    // stores the rows more slowly than they are sent (every index of the table), and a copy's
    // end waits for all it has been sent (one copy of 100,000 examinees kept the window waiting
    // half a second); the screen is called while the server catches up.
    PGconn* conn = pgOf(server);
    if (!conn)
        return Result::failure(QStringLiteral("no PostgreSQL connection"));
    if (Result r = startCopy(conn, copySql, PGRES_COPY_IN); !r)
        return r;
    QByteArray buffer;
    const int n = rows.record().count();
    while (rows.next()) {
        QByteArray line;
        for (int i = 0; i < n; ++i) {
            if (i)
                line += '\t';
            line += CopyField(rows.value(i));
        }
        line += '\n';
        if (hash)
            hash->addData(line);
        buffer += line;
        ++count;
        if (everyBatch && count % kServerRowBatch == 0) {
            if (PQputCopyData(conn, buffer.constData(), int(buffer.size())) != 1 || PQputCopyEnd(conn, nullptr) != 1)
                return Result::failure(pgError(conn));
            buffer.clear();
            if (Result r = finishCopyWaiting(conn, [&] { everyBatch(count); }); !r)
                return r;
            if (Result r = startCopy(conn, copySql, PGRES_COPY_IN); !r)
                return r;
            everyBatch(count);
        }
        if (buffer.size() > (1 << 20)) {
            if (PQputCopyData(conn, buffer.constData(), int(buffer.size())) != 1)
                return Result::failure(pgError(conn));
            buffer.clear();
        }
    }
    // A file that could not be read to its end ends the copy with an error: nothing of it stays.
    const bool readToEnd = !rows.lastError().isValid() || rows.lastError().type() == QSqlError::NoError;
    if (!readToEnd)
        (void)PQputCopyEnd(conn, "the file could not be read");
    else if ((!buffer.isEmpty() && PQputCopyData(conn, buffer.constData(), int(buffer.size())) != 1)
             || PQputCopyEnd(conn, nullptr) != 1)
        return Result::failure(pgError(conn));
    Result r = everyBatch ? finishCopyWaiting(conn, [&] { everyBatch(count); }) : finishCopy(conn);
    if (r && !readToEnd)
        r = Result::failure(rows.lastError().text());
    return r;
}

MoveReport CopyFilesToServer(const QString& programFolder, const ServerAddress& server)
{
    MoveReport report;
    // The files are checked first and only read: a file of another program is not moved.
    std::vector<std::unique_ptr<Connection>> files;
    for (const FileDef& file : dataFiles()) {
        const QString path = DataFilePath(programFolder, file.fileName);
        if (!QFileInfo(path).isFile()) {
            report.error = kFileMissing.arg(path);
            return report;
        }
        if (const Result r = VerifyDataFile(path, file); !r) {
            report.error = r.error;
            return report;
        }
        files.push_back(Connection::toFile(path));
    }

    auto admin = std::make_shared<Connection>(server);
    Transaction transaction(admin);
    Result r = transaction.begin();
    if (r)
        r = PrepareServerIn(*admin);
    if (r) {
        QSqlQuery q;
        r = admin->exec(q, QStringLiteral("SELECT count(*) FROM %1.\"IDE\"").arg(quoteIdentifier(serverSchema(dataFiles().first()))));
        if (r && q.next() && q.value(0).toLongLong() > 0) {
            report.error = kHasExaminees.arg(admin->place()).arg(q.value(0).toLongLong());
            return report; // rolled back: not even the tables are kept
        }
    }
    for (qsizetype f = 0; r && f < dataFiles().size(); ++f) {
        const FileDef& file = dataFiles().at(f);
        for (const TableDef& t : file.tables) {
            MovedTable moved{file.fileName, t.name, 0, 0, {}, {}};
            r = moveTable(*files[std::size_t(f)], *admin, file, t, moved);
            if (!r)
                break;
            report.tables << moved;
        }
    }
    if (!r) {
        report.error = r.error;
        report.tables.clear();
        return report;
    }
    for (const MovedTable& t : report.tables) {
        if (!t.equal()) {
            report.error = kNotEqual;
            return report; // the comparison is reported; nothing stays
        }
    }
    if (r = transaction.commit(); !r) {
        report.error = r.error;
        return report;
    }
    report.ok = true;
    // The planner's statistics of the tables just filled, before the first computer asks: until
    // the server's own analysis comes by, it plans as if they were empty. Best effort: the rows
    // are stored either way.
    QSqlQuery analyze;
    (void)admin->exec(analyze, QStringLiteral("ANALYZE"));
    return report;
}

QString DescribeMove(const MoveReport& report, const ServerAddress& server)
{
    QStringList lines;
    lines << (report.ok ? kMoved.arg(server.shown()) : kNotMoved.arg(server.shown()));
    if (!report.error.isEmpty())
        lines << report.error;
    for (const MovedTable& t : report.tables)
        lines << kTableLine.arg(t.table, t.file).arg(t.localRows).arg(t.equal() ? kSame : kDifferent.arg(t.serverRows));
    return lines.join(QLatin1Char('\n'));
}

} // namespace store
