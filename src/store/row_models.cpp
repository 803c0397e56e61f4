#include "store/row_models.h"
#include "store/schema.h"

#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <sqlite3.h>

namespace store {

namespace {

// Enough rows to fill a tall grid or an open list several times over.
constexpr int kPageRows = 256;

// SQLite reads a quoted name it does not know as a text: every name is checked against the table
// first, so a misspelt column fails instead of showing its own name in every row.
Result checkColumns(Connection& connection, const QString& table, const QStringList& names)
{
    QStringList columns;
    if (Result r = connection.columnsOf(table, columns); !r)
        return r;
    for (const QString& name : names)
        if (!columns.contains(name, Qt::CaseInsensitive))
            return Result::failure(QStringLiteral("%1 has no column %2").arg(table, name));
    return Result::success();
}

// The filter's condition, its texts added to binds.
QString filterCondition(const ColumnFilter& filter, QVariantList& binds)
{
    if (filter.anyOf.isEmpty()) {
        binds << filter.value;
        return QStringLiteral("%1 = ?").arg(quoteIdentifier(filter.column));
    }
    for (const QString& v : filter.anyOf)
        binds << (v.isNull() ? QStringLiteral("") : v);
    return QStringLiteral("%1 IN (%2)")
        .arg(quoteIdentifier(filter.column), QStringList(filter.anyOf.size(), QStringLiteral("?")).join(QLatin1Char(',')));
}

} // namespace

RowListModel::RowListModel(std::shared_ptr<Connection> connection, QString table, QStringList columns,
                           QObject* parent)
    : QAbstractTableModel(parent)
    , connection_(std::move(connection))
    , table_(std::move(table))
    , columns_(std::move(columns))
    , headers_(columns_)
{
}

Result RowListModel::showAll()
{
    filter_.reset();
    return reload();
}

Result RowListModel::setFilter(const ColumnFilter& filter)
{
    filter_ = filter;
    if (filter_->value.isNull())
        filter_->value = QStringLiteral(""); // an empty text, never NULL, which equals nothing
    if (filter_->anyOf.size() > kMostFilterValues)
        filter_->anyOf = filter_->anyOf.mid(0, kMostFilterValues);
    return reload();
}

Result RowListModel::reload()
{
    beginResetModel();
    rows_.clear();
    lastRowid_ = 0;
    complete_ = false;
    resetting_ = true;
    Result r = fetchPage();
    resetting_ = false;
    endResetModel();
    return r;
}

QString RowListModel::where(QVariantList& binds) const
{
    QString sql = QStringLiteral("rowid > ?");
    binds << lastRowid_;
    if (filter_)
        sql += QStringLiteral(" AND ") + filterCondition(*filter_, binds);
    return sql;
}

Result RowListModel::fetchPage()
{
    lastError_.clear();
    if (Result r = checkColumns(*connection_, table_, columns_ + (filter_ ? QStringList{filter_->column} : QStringList()));
        !r) {
        complete_ = true;
        lastError_ = r.error;
        return r;
    }
    QStringList selected{QStringLiteral("rowid")};
    for (const QString& c : columns_)
        selected << quoteIdentifier(c);
    QVariantList binds;
    const QString condition = where(binds);
    QSqlQuery q;
    if (Result r = connection_->exec(q, QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY rowid LIMIT %4")
                                            .arg(selected.join(QStringLiteral(", ")), quoteIdentifier(table_), condition)
                                            .arg(kPageRows),
                                     binds);
        !r) {
        complete_ = true; // a grid scrolled to the end must not retry the failing read forever
        lastError_ = r.error;
        return r;
    }
    QVector<QStringList> page;
    while (q.next()) {
        lastRowid_ = q.value(0).toLongLong();
        QStringList row;
        for (int i = 1; i <= columns_.size(); ++i)
            row << q.value(i).toString();
        page << row;
    }
    complete_ = page.size() < kPageRows;
    if (resetting_ || page.isEmpty()) {
        rows_ += page;
    } else {
        beginInsertRows({}, int(rows_.size()), int(rows_.size() + page.size() - 1));
        rows_ += page;
        endInsertRows();
    }
    return Result::success();
}

Result RowListModel::valuesInView(const QString& column, QStringList& values) const
{
    values.clear();
    if (Result r = checkColumns(*connection_, table_, {column}); !r)
        return r;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(quoteIdentifier(column), quoteIdentifier(table_));
    QVariantList binds;
    if (filter_)
        sql += QStringLiteral(" WHERE ") + filterCondition(*filter_, binds);
    sql += QStringLiteral(" ORDER BY rowid");
    QSqlQuery q;
    if (Result r = connection_->exec(q, sql, binds); !r)
        return r;
    while (q.next())
        values << q.value(0).toString();
    return Result::success();
}

void RowListModel::setHeader(int section, const QString& text)
{
    if (section < 0 || section >= headers_.size())
        return;
    headers_[section] = text;
    Q_EMIT headerDataChanged(Qt::Horizontal, section, section);
}

int RowListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RowListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RowListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size())
        return {};
    return rows_.at(index.row()).value(index.column());
}

QVariant RowListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return headers_.value(section);
}

bool RowListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !complete_;
}

void RowListModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        (void)fetchPage(); // a failure is kept in lastError() and ends the fetching
}

DistinctValuesModel::DistinctValuesModel(std::shared_ptr<Connection> connection, QString table, QString column,
                                         QObject* parent)
    : QAbstractListModel(parent)
    , connection_(std::move(connection))
    , table_(std::move(table))
    , column_(std::move(column))
{
}

Result DistinctValuesModel::refresh()
{
    beginResetModel();
    values_.clear();
    complete_ = false;
    resetting_ = true;
    Result r = fetchPage();
    resetting_ = false;
    endResetModel();
    return r;
}

Result DistinctValuesModel::fetchPage()
{
    lastError_.clear();
    if (Result r = checkColumns(*connection_, table_, {column_}); !r) {
        complete_ = true;
        lastError_ = r.error;
        return r;
    }
    // Continues after the last value read; '' as the start also leaves out empty and NULL values.
    const QString col = quoteIdentifier(column_);
    // DISTINCT reads every index entry of a value before the next one (a common given name has
    // thousands); stepping from one value to the next through the index reads one entry a value.
    const QString sql = QStringLiteral("WITH RECURSIVE v(x) AS (SELECT min(%1) FROM %2 WHERE %1 > ? UNION ALL "
                                       "SELECT (SELECT min(%1) FROM %2 WHERE %1 > v.x) FROM v WHERE v.x IS NOT NULL) "
                                       "SELECT x FROM v WHERE x IS NOT NULL LIMIT %3");
    QSqlQuery q;
    if (Result r = connection_->exec(q, sql.arg(col, quoteIdentifier(table_)).arg(kPageRows),
                                     {values_.isEmpty() ? QStringLiteral("") : values_.last()});
        !r) {
        complete_ = true;
        lastError_ = r.error;
        return r;
    }
    QStringList page;
    while (q.next())
        page << q.value(0).toString();
    complete_ = page.size() < kPageRows;
    if (resetting_ || page.isEmpty()) {
        values_ += page;
    } else {
        beginInsertRows({}, int(values_.size()), int(values_.size() + page.size() - 1));
        values_ += page;
        endInsertRows();
    }
    return Result::success();
}

int DistinctValuesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(values_.size());
}

QVariant DistinctValuesModel::data(const QModelIndex& index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() || index.row() >= values_.size())
        return {};
    return values_.at(index.row());
}

bool DistinctValuesModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !complete_;
}

void DistinctValuesModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        (void)fetchPage(); // a failure is kept in lastError() and ends the fetching
}

Result ReadRowsWithKeys(Connection& connection, const QString& table, const QStringList& columns,
                        const QString& keyColumn, const QStringList& keys,
                        const std::function<void(const QStringList& row)>& visit)
{
    if (Result r = checkColumns(connection, table, columns + QStringList{keyColumn}); !r)
        return r;
    // Well under the smallest limit on bound values SQLite has been built with (999).
    constexpr qsizetype kBatch = 500;
    QStringList unique;
    unique.reserve(keys.size());
    QSet<QString> seen;
    seen.reserve(keys.size());
    for (const QString& key : keys) {
        const qsizetype before = seen.size();
        seen.insert(key); // one lookup a key: a clinic's workbook passes 100,000
        if (seen.size() > before)
            unique << (key.isNull() ? QStringLiteral("") : key); // NULL would equal nothing
    }
    QStringList selected;
    for (const QString& c : columns)
        selected << quoteIdentifier(c);
    const QString head = QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (")
                             .arg(selected.join(QStringLiteral(", ")), quoteIdentifier(table), quoteIdentifier(keyColumn));
    const auto sqlOf = [&](qsizetype n) -> QString {
        return head + QStringList(n, QStringLiteral("?")).join(QLatin1Char(',')) + QStringLiteral(") ORDER BY rowid");
    };
    QStringList row;
    if (!connection.onServer()) {
        // A data file is read through SQLite itself: the driver's way, a value at a time through
        // variants, costs ten times the reading when a row has 72 columns and there are 100,000.
        if (Result r = connection.open(); !r)
            return r;
        sqlite3* db = connection.sqliteHandle();
        if (!db)
            return Result::failure(QStringLiteral("%1: the data file is not open").arg(table));
        const auto failed = [&](sqlite3_stmt* statement) {
            const Result r = Result::failure(QStringLiteral("%1: %2").arg(table, QString::fromUtf8(sqlite3_errmsg(db))));
            sqlite3_finalize(statement);
            return r;
        };
        for (qsizetype from = 0; from < unique.size(); from += kBatch) {
            const qsizetype n = std::min(kBatch, unique.size() - from);
            const QByteArray sql = sqlOf(n).toUtf8();
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
                return failed(statement);
            for (qsizetype i = 0; i < n; ++i) {
                const QString& key = unique.at(from + i);
                if (sqlite3_bind_text16(statement, int(i + 1), key.utf16(), int(key.size() * 2), SQLITE_TRANSIENT) != SQLITE_OK)
                    return failed(statement);
            }
            int step;
            while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
                row.clear();
                for (int i = 0; i < columns.size(); ++i) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                    row << (text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, i)) : QString());
                }
                visit(row);
            }
            if (step != SQLITE_DONE)
                return failed(statement);
            sqlite3_finalize(statement);
        }
        return Result::success();
    }
    QSqlQuery q;
    for (qsizetype from = 0; from < unique.size(); from += kBatch) {
        const qsizetype n = std::min(kBatch, unique.size() - from);
        const QVariantList binds(unique.cbegin() + from, unique.cbegin() + from + n);
        if (Result r = connection.exec(q, sqlOf(n), binds); !r)
            return r;
        while (q.next()) {
            row.clear();
            for (int i = 0; i < columns.size(); ++i)
                row << q.value(i).toString();
            visit(row);
        }
    }
    return Result::success();
}

Result ReadWholeTable(Connection& connection, const QString& table, QStringList& columns, QVector<QStringList>& rows)
{
    rows.clear();
    if (Result r = connection.columnsOf(table, columns); !r)
        return r;
    QStringList selected;
    for (const QString& c : columns)
        selected << quoteIdentifier(c);
    QSqlQuery q;
    if (Result r = connection.exec(q, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(selected.join(QStringLiteral(", ")), quoteIdentifier(table)));
        !r)
        return r;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < columns.size(); ++i)
            row << q.value(i).toString();
        rows << row;
    }
    return Result::success();
}

Result ReadAllRows(Connection& connection, const QString& table, const QStringList& columns,
                   const std::function<void(const QStringList& row)>& visit)
{
    if (Result r = checkColumns(connection, table, columns); !r)
        return r;
    QStringList selected;
    for (const QString& c : columns)
        selected << quoteIdentifier(c);
    QSqlQuery q;
    if (Result r = connection.exec(q, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                          .arg(selected.join(QStringLiteral(", ")), quoteIdentifier(table)));
        !r)
        return r;
    QStringList row;
    while (q.next()) {
        row.clear();
        for (int i = 0; i < columns.size(); ++i)
            row << q.value(i).toString();
        visit(row);
    }
    if (q.lastError().isValid()) // a read that broke off is not the end of the table
        return connection.failure(q.lastError());
    return Result::success();
}

Result ReplaceRows(Connection& connection, const QString& table, const QString& keyColumn, const QString& key,
                   const QStringList& columns, const QVector<QStringList>& rows)
{
    if (Result r = checkColumns(connection, table, keyColumn.isEmpty() ? columns : columns + QStringList{keyColumn}); !r)
        return r;
    QSqlQuery q;
    if (keyColumn.isEmpty()) {
        if (Result r = connection.exec(q, QStringLiteral("DELETE FROM %1").arg(quoteIdentifier(table))); !r)
            return r;
    } else if (Result r = connection.exec(q, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoteIdentifier(table), quoteIdentifier(keyColumn)),
                                          {key.isNull() ? QStringLiteral("") : key});
               !r) {
        return r;
    }
    QStringList quoted;
    for (const QString& c : columns)
        quoted << quoteIdentifier(c);
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(quoteIdentifier(table), quoted.join(QStringLiteral(", ")),
                                 QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    for (const QStringList& row : rows) {
        QVariantList binds;
        for (int i = 0; i < columns.size(); ++i)
            binds << (row.value(i).isNull() ? QStringLiteral("") : row.value(i)); // never NULL, as the views store
        if (Result r = connection.exec(q, sql, binds); !r)
            return r;
    }
    return Result::success();
}

Result FindRowsByJoinedDigest(Connection& connection, const QString& table, const QString& keyColumn,
                              const QStringList& columns, QChar separator, const QString& hexPrefix, QStringList& keys)
{
    keys.clear();
    if (Result r = checkColumns(connection, table, columns + QStringList{keyColumn}); !r)
        return r;
    QStringList quoted;
    for (const QString& c : columns)
        quoted << quoteIdentifier(c);
    // The engine joins and digests every row itself: only the keys that match come through the driver.
    QSqlQuery q;
    if (Result r = connection.exec(q, QStringLiteral("SELECT %1 FROM %2 WHERE substr(%3, 1, %4) = ? ORDER BY rowid")
                                          .arg(quoteIdentifier(keyColumn), quoteIdentifier(table),
                                               connection.joinedDigest(quoted, separator))
                                          .arg(hexPrefix.size()),
                                   {hexPrefix});
        !r)
        return r;
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    if (q.lastError().isValid()) // a read that broke off is not the end of the table
        return connection.failure(q.lastError());
    keys = found;
    return Result::success();
}

} // namespace store
