#pragma once
// Read-only models of one table for grids and drop-down lists. Rows come a page at a time, as the
// grid or list is scrolled, so a table of 100,000 examinees opens as fast as one of ten. Every
// value is bound, as in View.
#include "store/connection.h"
#include "store/result.h"

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

namespace store {

// Rows whose column equals a text, or one of several texts.
struct ColumnFilter {
    QString column;
    QString value;
    QStringList anyOf = {}; // when not empty: rows whose column equals one of these (value unused)
    bool operator==(const ColumnFilter&) const = default;
};
// The most texts one filter may list (bound values have a limit).
inline constexpr int kMostFilterValues = 500;

// Some columns of a table's rows, in stored order, all of them or those that pass one filter.
class RowListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RowListModel(std::shared_ptr<Connection> connection, QString table, QStringList columns,
                 QObject* parent = nullptr);

    // Re-reads the table, every row. The first page is read before it returns.
    Result showAll();
    Result setFilter(const ColumnFilter& filter);
    const std::optional<ColumnFilter>& filter() const { return filter_; }
    // A column's value in every row that passes the filter, read now (not only the fetched rows).
    Result valuesInView(const QString& column, QStringList& values) const;

    void setHeader(int section, const QString& text);
    // Why the last read failed (a page fetched while scrolling has no one to tell).
    const QString& lastError() const { return lastError_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    Result reload();
    Result fetchPage();
    QString where(QVariantList& binds) const;

    std::shared_ptr<Connection> connection_;
    QString table_;
    QStringList columns_;
    QStringList headers_;
    std::optional<ColumnFilter> filter_;
    QVector<QStringList> rows_;
    qint64 lastRowid_ = 0;
    bool complete_ = false;
    bool resetting_ = false; // rows read inside a model reset are not announced one by one
    QString lastError_;
};

// The distinct non-empty values of one column, in text order.
class DistinctValuesModel : public QAbstractListModel {
    Q_OBJECT
public:
    DistinctValuesModel(std::shared_ptr<Connection> connection, QString table, QString column,
                        QObject* parent = nullptr);

    Result refresh(); // the first page is read before it returns
    const QString& lastError() const { return lastError_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    Result fetchPage();

    std::shared_ptr<Connection> connection_;
    QString table_;
    QString column_;
    QStringList values_;
    bool complete_ = false;
    bool resetting_ = false;
    QString lastError_;
};

// Some columns of every row whose key column equals one of the keys, for work on many rows at once
// (a few queries, the keys bound in batches, instead of one per key). visit gets each row's values
// in the order of columns; the rows of one key come in stored order. A key given twice is read once.
Result ReadRowsWithKeys(Connection& connection, const QString& table, const QStringList& columns,
                        const QString& keyColumn, const QStringList& keys,
                        const std::function<void(const QStringList& row)>& visit);

// Every row of a table, every column, as texts in stored order (a small table read whole).
Result ReadWholeTable(Connection& connection, const QString& table, QStringList& columns, QVector<QStringList>& rows);

// Some columns of every row of a table, in stored order: for a small table read whole at once.
Result ReadAllRows(Connection& connection, const QString& table, const QStringList& columns,
                   const std::function<void(const QStringList& row)>& visit);

// Within the caller's transaction: deletes the rows whose key column holds key (every row when
// keyColumn is empty) and inserts rows in their place, each holding the given columns in order.
Result ReplaceRows(Connection& connection, const QString& table, const QString& keyColumn, const QString& key,
                   const QStringList& columns, const QVector<QStringList>& rows);

// The key column of the rows whose columns, joined by separator into one UTF-8 text (a NULL as an
// empty text), have a SHA-256 whose lower-case hex digits begin with hexPrefix, in stored order.
// Every row is read and digested as it is now, by the engine itself.
Result FindRowsByJoinedDigest(Connection& connection, const QString& table, const QString& keyColumn,
                              const QStringList& columns, QChar separator, const QString& hexPrefix, QStringList& keys);

} // namespace store
