#include "store/server_schema.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/schema.h"

#include <QSet>
#include <QSqlQuery>

namespace store {

namespace {

const QString kVersionTable = QStringLiteral("public.tavora71_schema");
const QString kNewerSchema = QStringLiteral(
    "پايگاه داده سرور %1 را نسخه تازه تري از برنامه ساخته است (طرح شماره %2؛ اين نسخه تا طرح %3 را "
    "مي شناسد). چيزي در آن تغيير داده نشد؛ برنامه را در اين رايانه به روز کنيد.");
// Two computers starting on an empty database at once: the second waits, then finds it made.
constexpr int kPrepareLock = 7107101;

QString qualified(const QString& schema, const QString& table)
{
    return quoteIdentifier(schema) + QLatin1Char('.') + quoteIdentifier(table);
}

} // namespace

Result ServerSchemaVersion(Connection& admin, int& version)
{
    version = 0;
    QSqlQuery q;
    if (Result r = admin.exec(q, QStringLiteral("SELECT to_regclass('%1') IS NOT NULL").arg(kVersionTable)); !r)
        return r;
    if (!q.next() || !q.value(0).toBool())
        return Result::success();
    if (Result r = admin.exec(q, QStringLiteral("SELECT coalesce(max(version), 0) FROM %1").arg(kVersionTable)); !r)
        return r;
    if (q.next())
        version = q.value(0).toInt();
    return Result::success();
}

Result PrepareServerIn(Connection& admin)
{
    QSqlQuery q;
    if (Result r = admin.exec(q, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kPrepareLock)); !r)
        return r;
    int version = 0;
    if (Result r = ServerSchemaVersion(admin, version); !r)
        return r;
    if (version > kServerSchemaVersion)
        return Result::failure(kNewerSchema.arg(admin.place()).arg(version).arg(kServerSchemaVersion));

    // What is there: schemas, tables with their columns, indexes.
    QStringList schemas;
    for (const FileDef& f : dataFiles())
        schemas << QLatin1Char('\'') + serverSchema(f) + QLatin1Char('\'');
    const QString in = schemas.join(QLatin1Char(','));
    QSet<QString> haveSchemas, haveTables, haveColumns, haveIndexes;
    if (Result r = admin.exec(q, QStringLiteral("SELECT nspname FROM pg_namespace WHERE nspname IN (%1)").arg(in)); !r)
        return r;
    while (q.next())
        haveSchemas << q.value(0).toString();
    if (Result r = admin.exec(q, QStringLiteral("SELECT n.nspname, c.relname, a.attname FROM pg_class c "
                                                "JOIN pg_namespace n ON n.oid = c.relnamespace "
                                                "JOIN pg_attribute a ON a.attrelid = c.oid "
                                                "WHERE c.relkind = 'r' AND a.attnum > 0 AND NOT a.attisdropped "
                                                "AND n.nspname IN (%1)")
                                     .arg(in));
        !r)
        return r;
    while (q.next()) {
        const QString table = q.value(0).toString() + QLatin1Char('.') + q.value(1).toString();
        haveTables << table;
        haveColumns << table + QLatin1Char('.') + q.value(2).toString();
    }
    if (Result r = admin.exec(q, QStringLiteral("SELECT schemaname, indexname FROM pg_indexes WHERE schemaname IN (%1)").arg(in));
        !r)
        return r;
    while (q.next())
        haveIndexes << q.value(0).toString() + QLatin1Char('.') + q.value(1).toString();

    QStringList missing;
    auto run = [&](const QString& sql) -> Result {
        QSqlQuery s;
        return admin.exec(s, sql);
    };
    for (const FileDef& file : dataFiles()) {
        const QString schema = serverSchema(file);
        if (!haveSchemas.contains(schema)) {
            if (Result r = run(QStringLiteral("CREATE SCHEMA %1").arg(quoteIdentifier(schema))); !r)
                return r;
        }
        for (const TableDef& t : file.tables) {
            const QString key = schema + QLatin1Char('.') + t.name;
            if (!haveTables.contains(key)) {
                if (Result r = run(CreateTableSql(t, schema)); !r)
                    return r;
                QSqlDatabase db = admin.database();
                if (Result r = FillDeliveredRows(db, file, t, qualified(schema, t.name)); !r)
                    return r;
                missing << key;
            } else {
                for (const QString& c : t.columns) {
                    if (haveColumns.contains(key + QLatin1Char('.') + c))
                        continue;
                    if (Result r = run(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(qualified(schema, t.name), ColumnSql(t, c, true)));
                        !r)
                        return r;
                    missing << key + QLatin1Char('.') + c;
                }
            }
            for (const bool unique : {true, false}) {
                for (const QString& c : unique ? t.uniqueColumns : t.indexedColumns) {
                    if (haveIndexes.contains(schema + QLatin1Char('.') + IndexName(t, c, unique)))
                        continue;
                    if (Result r = run(CreateIndexSql(t, c, unique, schema)); !r)
                        return r;
                    missing << IndexName(t, c, unique);
                }
            }
            if (!t.numberedColumn.isEmpty() && !haveIndexes.contains(schema + QLatin1Char('.') + NumberIndexName(t))) {
                if (Result r = run(CreateNumberIndexSql(t, schema)); !r)
                    return r;
                missing << NumberIndexName(t);
            }
        }
    }
    if (version == 0) {
        if (Result r = run(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (version integer NOT NULL)").arg(kVersionTable)); !r)
            return r;
        if (Result r = run(QStringLiteral("DELETE FROM %1").arg(kVersionTable)); !r)
            return r;
        if (Result r = run(QStringLiteral("INSERT INTO %1 (version) VALUES (%2)").arg(kVersionTable).arg(kServerSchemaVersion)); !r)
            return r;
    } else if (version < kServerSchemaVersion) {
        if (Result r = run(QStringLiteral("UPDATE %1 SET version = %2").arg(kVersionTable).arg(kServerSchemaVersion)); !r)
            return r;
    }
    return Result::success();
}

Result PrepareServer(const ServerAddress& address)
{
    auto admin = std::make_shared<Connection>(address);
    Transaction transaction(admin);
    if (Result r = transaction.begin(); !r)
        return r;
    if (Result r = PrepareServerIn(*admin); !r)
        return r; // rolled back: nothing of a half-made schema stays
    return transaction.commit();
}

} // namespace store
