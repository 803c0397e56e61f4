#include "store/connection.h"
#include "store/schema.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <libpq-fe.h>
#include <sodium.h>
#include <sqlite3.h>

namespace store {

namespace {
QAtomicInteger<quint64> connectionCounter;
// How long a statement waits for another connection's write to finish before it fails.
constexpr int kBusyWaitMs = 3000;

const QString kUnreachable = QStringLiteral(
    "ارتباط با سرور پايگاه داده %1 برقرار نيست و اين کار انجام نشد. وقتي سرور دوباره در دسترس "
    "باشد، برنامه خودش به آن وصل مي شود.\n(%2)");

// A value for a libpq connection string.
QString quoted(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    v.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

PGconn* pgHandle(const QSqlDatabase& db)
{
    if (!db.isValid() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

bool onlyReads(const QString& sql)
{
    return sql.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive);
}

QString firstLine(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype end = t.indexOf(QLatin1Char('\n'));
    return end < 0 ? t : t.left(end).trimmed();
}

sqlite3* sqliteOf(const QSqlDatabase& db)
{
    const QVariant handle = db.isOpen() ? db.driver()->handle() : QVariant();
    return handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3* const*>(handle.constData())
                                                                          : nullptr;
}

// SQLite has no SHA-256 of its own: joinedDigest's function, given to each data file's connection.
// Its arguments are the separator and the values; each value's text is what || would join.
constexpr char kJoinedDigestFunction[] = "tavora71_joined_sha256";

void joinedSha256(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc < 1) {
        sqlite3_result_error(context, "the separator is missing", -1);
        return;
    }
    // Called once a row of a whole table: nothing allocated while the row is short, and the
    // values of one or two bytes (answers) copied without a call.
    QVarLengthArray<unsigned char, 1024> joined(1024);
    qsizetype used = 0;
    const auto add = [&](sqlite3_value* value) {
        const unsigned char* text = sqlite3_value_text(value); // NULL: an empty text
        const int n = text ? sqlite3_value_bytes(value) : 0;
        if (used + n > joined.size())
            joined.resize(std::max(2 * joined.size(), used + n));
        unsigned char* out = joined.data() + used;
        if (n <= 2) {
            for (int k = 0; k < n; ++k)
                out[k] = text[k];
        } else {
            std::memcpy(out, text, size_t(n));
        }
        used += n;
    };
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            add(argv[0]);
        add(argv[i]);
    }
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, joined.constData(), static_cast<unsigned long long>(used));
    char hex[2 * crypto_hash_sha256_BYTES + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    sqlite3_result_text(context, hex, int(sizeof hex) - 1, SQLITE_TRANSIENT);
}

// Only statements the program prepares may call it, never a trigger or view of a file.
Result addFunctions(const QSqlDatabase& db, const QString& path)
{
    sqlite3* sqlite = sqliteOf(db);
    if (!sqlite)
        return Result::failure(QStringLiteral("%1: the data file is not open").arg(path));
    if (sodium_init() < 0)
        return Result::failure(QStringLiteral("%1: the digest of answers is not available").arg(path));
    if (sqlite3_create_function_v2(sqlite, kJoinedDigestFunction, -1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY,
                                   nullptr, joinedSha256, nullptr, nullptr, nullptr)
        != SQLITE_OK)
        return Result::failure(QStringLiteral("%1: %2").arg(path, QString::fromUtf8(sqlite3_errmsg(sqlite))));
    return Result::success();
}

} // namespace

Connection::Connection(const QString& filePath)
    : name_(QStringLiteral("tavora-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
    , path_(filePath)
{
    server_ = ServerForFile(filePath, &schema_);
}

std::unique_ptr<Connection> Connection::toFile(const QString& filePath)
{
    auto c = std::make_unique<Connection>(filePath);
    c->server_.reset();
    c->schema_.clear();
    return c;
}

Connection::Connection(const ServerAddress& server)
    : name_(QStringLiteral("tavora-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
    , server_(server)
{
}

Connection::~Connection()
{
    if (QSqlDatabase::contains(name_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
}

QString Connection::place() const
{
    return server_ ? server_->shown() : path_;
}

Result Connection::open()
{
    if (isOpen())
        return Result::success();
    return connect();
}

Result Connection::connect()
{
    if (server_) {
        QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
        db.close(); // a connection the server dropped
        inTransaction_ = false;
        QStringList options;
        // A write that waits for another computer's transaction gives up after a while, and a
        // transaction left open by a computer that hangs is ended by the server.
        QString sessionOptions = QStringLiteral("-c lock_timeout=10000 -c idle_in_transaction_session_timeout=60000");
        if (!schema_.isEmpty())
            sessionOptions += QStringLiteral(" -c search_path=") + schema_;
        for (auto it = server_->params.cbegin(); it != server_->params.cend(); ++it) {
            if (it.key() == QLatin1String("password"))
                continue;
            if (it.key() == QLatin1String("options"))
                sessionOptions = it.value() + QLatin1Char(' ') + sessionOptions;
            else
                options << it.key() + QLatin1Char('=') + quoted(it.value());
        }
        options << QStringLiteral("options=") + quoted(sessionOptions);
        db.setConnectOptions(options.join(QLatin1Char(';')));
        db.setPassword(!server_->password.isEmpty() ? server_->password : server_->param(QStringLiteral("password")));
        if (!db.open())
            return Result::failure(Failure::Unreachable, kUnreachable.arg(place(), firstLine(db.lastError().text())));
        return Result::success();
    }
    if (!QFileInfo(path_).isFile())
        return Result::failure(QStringLiteral("%1: the file does not exist").arg(path_));
    QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    // mode=rw: a file that vanished is reported, never silently recreated empty.
    QUrl uri = QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!db.open())
        return Result::failure(QStringLiteral("%1: %2").arg(path_, db.lastError().text()));
    // What is deleted or overwritten is zeroed in the file, not left in its free space: a deleted
    // examinee's names and answers must not stay readable.
    QSqlQuery secure(db);
    if (!secure.exec(QStringLiteral("PRAGMA secure_delete = ON"))) {
        const QString why = secure.lastError().text();
        secure.finish();
        db.close();
        return Result::failure(QStringLiteral("%1: %2").arg(path_, why));
    }
    if (Result r = addFunctions(db, path_); !r) {
        db.close();
        return r;
    }
    return Result::success();
}

bool Connection::broken() const
{
    if (!server_)
        return false;
    PGconn* conn = pgHandle(database());
    return !conn || PQstatus(conn) != CONNECTION_OK;
}

bool Connection::isOpen() const
{
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen() && !broken();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(name_, false);
}

Result Connection::failure(const QSqlError& error) const
{
    if (server_ && broken())
        return Result::failure(Failure::Unreachable, kUnreachable.arg(place(), firstLine(error.text())));
    const QString code = error.nativeErrorCode();
    // 23505: unique_violation; SQLite's SQLITE_CONSTRAINT_UNIQUE and _PRIMARYKEY, or the plain
    // constraint code with its words.
    const bool duplicate = server_ ? code == QLatin1String("23505")
                                   : code == QLatin1String("2067") || code == QLatin1String("1555")
                                         || (code == QLatin1String("19") && error.text().contains(QLatin1String("UNIQUE")));
    const QString where = server_ ? place() : path_;
    return Result::failure(duplicate ? Failure::DuplicateKey : Failure::Other,
                           QStringLiteral("%1: %2").arg(where, firstLine(error.text())));
}

Result Connection::exec(QSqlQuery& q, const QString& sql, const QVariantList& binds)
{
    for (int attempt = 0;; ++attempt) {
        if (Result r = open(); !r)
            return r;
        q = QSqlQuery(database());
        // Rows are read one at a time from SQLite; the server's driver would hold back every
        // other statement on the connection until a forward-only result is read to its end.
        q.setForwardOnly(!server_);
        bool ok = false;
        if (binds.isEmpty()) {
            ok = q.exec(sql);
        } else {
            ok = q.prepare(sql);
            for (int i = 0; ok && i < binds.size(); ++i)
                q.bindValue(i, binds.at(i));
            ok = ok && q.exec();
        }
        if (ok)
            return Result::success();
        const QSqlError error = q.lastError();
        const Result r = failure(error);
        // Outside a transaction a read changes nothing, and a statement refused because the server
        // had ended the session (57P01..57P03: shut down, restarted) never ran: a server that came
        // back answers it on a new connection.
        const bool neverRan = error.nativeErrorCode().startsWith(QLatin1String("57P"));
        if (r.kind != Failure::Unreachable || attempt > 0 || inTransaction_ || !(onlyReads(sql) || neverRan))
            return r;
        q = QSqlQuery();
        if (Result again = connect(); !again)
            return again;
    }
}

Result Connection::columnsOf(const QString& table, QStringList& columns)
{
    columns.clear();
    if (const auto it = columns_.constFind(table.toLower()); it != columns_.constEnd()) {
        columns = *it;
        return Result::success();
    }
    QSqlQuery q;
    Result r = server_ ? exec(q,
                              QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass(?) "
                                             "AND attnum > 0 AND NOT attisdropped AND attname <> 'rowid' ORDER BY attnum"),
                              {QVariant(QString(quoteIdentifier(schema_) + QLatin1Char('.') + quoteIdentifier(table)))})
                       : exec(q, QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table)));
    if (!r)
        return r;
    const int field = server_ ? 0 : 1;
    while (q.next())
        columns << q.value(field).toString();
    if (columns.isEmpty())
        return Result::failure(QStringLiteral("%1: no table %2").arg(place(), table));
    columns_.insert(table.toLower(), columns);
    return Result::success();
}

Result Connection::insertRow(const QString& table, const QStringList& columns, const QVariantList& values,
                             qint64& rowid)
{
    QStringList quotedColumns, marks;
    for (const QString& c : columns) {
        quotedColumns << quoteIdentifier(c);
        marks << QStringLiteral("?");
    }
    QString sql = columns.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(table))
                                    : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                          .arg(quoteIdentifier(table), quotedColumns.join(QStringLiteral(", ")),
                                               marks.join(QStringLiteral(", ")));
    if (server_)
        sql += QStringLiteral(" RETURNING rowid");
    QSqlQuery q;
    if (Result r = exec(q, sql, values); !r)
        return r;
    if (server_) {
        if (!q.next())
            return Result::failure(QStringLiteral("%1: the new row has no identity").arg(table));
        rowid = q.value(0).toLongLong();
    } else {
        rowid = q.lastInsertId().toLongLong();
    }
    return Result::success();
}

QString Connection::numericValue(const QString& textExpr) const
{
    if (!server_)
        return QStringLiteral("CAST(%1 AS REAL)").arg(textExpr);
    // SQLite reads the leading number of a text and 0 when there is none; the server refuses such
    // a cast, so the number is cut out first.
    return QStringLiteral("coalesce(CAST(substring(%1 from '^\\s*([-+]{0,1}[0-9]*\\.{0,1}[0-9]+)') AS double precision), 0)")
        .arg(textExpr);
}

QString Connection::onlyDigits(const QString& textExpr) const
{
    return server_ ? QStringLiteral("%1 ~ '^[0-9]*$'").arg(textExpr)
                   : QStringLiteral("NOT %1 GLOB '*[^0-9]*'").arg(textExpr);
}

sqlite3* Connection::sqliteHandle() const
{
    return server_ || !isOpen() ? nullptr : sqliteOf(database());
}

QString Connection::joinedDigest(const QStringList& columnExprs, QChar separator) const
{
    const QString glue = separator == QLatin1Char('\'') ? QStringLiteral("''") : QString(separator);
    if (!server_)
        return QStringLiteral("%1('%2', %3)").arg(QLatin1String(kJoinedDigestFunction), glue, columnExprs.join(QStringLiteral(", ")));
    QStringList texts;
    for (const QString& c : columnExprs)
        texts << QStringLiteral("coalesce(%1::text, '')").arg(c);
    return QStringLiteral("encode(sha256(convert_to(%1, 'UTF8')), 'hex')").arg(texts.join(QStringLiteral(" || '%1' || ").arg(glue)));
}

void Connection::rowsDeleted(const QString& table)
{
    if (!server_)
        return;
    if (!deleted_.contains(table))
        deleted_ << table;
    if (!inTransaction_)
        reclaimDeleted();
}

void Connection::reclaimDeleted()
{
    if (deleted_.isEmpty())
        return;
    // Dead rows are removed from the table's pages and indexes and their space freed for new
    // rows, rather than left until the server's own vacuum comes by. Beside the program's work:
    // scanning the indexes of 100,000 examinees takes longer than a screen may wait. Best
    // effort: a role that does not own the tables only gets a warning, and the deletion is done.
    QStringList tables;
    for (const QString& table : std::as_const(deleted_))
        tables << (schema_.isEmpty() ? table : quoteIdentifier(schema_) + QLatin1Char('.') + table);
    RunInBackground(*server_, QStringLiteral("VACUUM ") + tables.join(QStringLiteral(", ")));
    deleted_.clear();
}

Transaction::Transaction(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection))
{
}

Transaction::~Transaction()
{
    rollback();
}

Result Transaction::begin()
{
    if (active_)
        return Result::failure(QStringLiteral("%1: a transaction is open already").arg(connection_->place()));
    if (Result r = connection_->open(); !r)
        return r;
    QSqlDatabase db = connection_->database();
    if (!db.transaction()) {
        // A connection the server dropped while idle is found out here: one new try.
        if (!connection_->broken() || !connection_->connect() || !connection_->database().transaction())
            return connection_->failure(db.lastError());
    }
    active_ = true;
    connection_->inTransaction_ = true;
    return Result::success();
}

Result Transaction::commit()
{
    if (!active_)
        return Result::failure(QStringLiteral("%1: no transaction to commit").arg(connection_->place()));
    QSqlDatabase db = connection_->database();
    if (!db.commit()) {
        const Result why = connection_->failure(db.lastError());
        rollback();
        return why;
    }
    active_ = false;
    connection_->inTransaction_ = false;
    connection_->reclaimDeleted();
    return Result::success();
}

void Transaction::rollback()
{
    if (!active_)
        return;
    active_ = false;
    connection_->inTransaction_ = false;
    connection_->deleted_.clear();
    // A failed rollback leaves the engine to undo the transaction when the connection closes.
    connection_->database().rollback();
}

namespace {

// The file a connection's database name designates: a "file:" address or a plain path.
QString fileOf(const QString& databaseName)
{
    const QString path = databaseName.startsWith(QLatin1String("file:")) ? QUrl(databaseName).toLocalFile()
                                                                          : databaseName;
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

int CloseConnectionsTo(const QString& filePath)
{
    const QString target = QFileInfo(filePath).absoluteFilePath();
    int closed = 0;
    // Qt's own list of connections covers every view, whichever screen owns it.
    for (const QString& name : QSqlDatabase::connectionNames()) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && db.driverName() == QLatin1String("QSQLITE") && fileOf(db.databaseName()) == target) {
            db.close();
            ++closed;
        }
    }
    return closed;
}

} // namespace store
