#pragma once
// A live, scrollable row set over one table, the only way screens touch the data files.
//
// It behaves like a client-side snapshot: rows committed by other views appear only after
// refresh(), rows this view added itself appear at once. Rows are fetched one at a time (the
// current row), so a view over 100,000 examinees opens as fast as one over ten.
// Every value is bound as a parameter; nothing a user types ever becomes SQL.
#include "store/connection.h"
#include "store/result.h"

#include <QHash>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <optional>

namespace store {

enum class SortOrder {
    Text,    // by the text, byte order
    Numeric, // empty texts first, then by numeric value (100 after 55)
};

class View {
public:
    View(const QString& filePath, const QString& table);
    // Views of one screen on the same file may share the screen's connection to it.
    View(std::shared_ptr<Connection> connection, const QString& table);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Re-reads the table: all rows, no filter, natural order, first row current.
    // A pending edit and an unsaved new row are dropped.
    Result refresh();
    // Restricts the view to rows whose column equals value as text; the first match is current.
    // The filter stays until it is replaced or the view is refreshed. Drops a pending edit.
    Result setFilter(const QString& column, const QString& value);
    // Orders the (filtered) view by a column; the first row becomes current.
    Result sortBy(const QString& column, SortOrder order = SortOrder::Text);

    Result countRows(int& n);     // rows in the filtered view
    Result anyRow(bool& any);     // at least one row, without counting them all
    // The same for tests and tools: 0 / false when the table cannot be read (see lastError).
    // Screens use the two above, so a read failure is never taken for "none".
    int count();
    bool hasRows();
    bool atStart() const;         // before the first row: true when the view is empty
    bool atEnd() const;           // after the last row: true when the view is empty
    bool hasCurrent() const;      // a stored row or a new row is current
    bool isNew() const;           // the current row is a new, not yet stored row

    Result moveFirst();
    Result moveLast();
    Result moveNext();
    Result movePrevious();

    QString value(const QString& column) const; // empty text for NULL or no current row
    QVariant rawValue(const QString& column) const;
    // Changes the current row's pending edit; stored by update(). Fails without a current row
    // or for a column the table does not have.
    Result setValue(const QString& column, const QVariant& value);
    bool hasPendingEdit() const;

    void addNew();                // starts a new row as the current row (not stored)
    // Stores the pending edit or the new row. In the tables people edit, a row changed or removed
    // since it was read is not overwritten: Failure::ChangedMeanwhile, and the row is read anew
    // (the edit is dropped).
    Result update();
    Result deleteCurrent();       // removes the current row; the next one becomes current

    QStringList columns() const { return columns_; }
    const QString& table() const { return table_; }
    const QString& filePath() const { return connection_->filePath(); }
    // The connection the view reads and writes through, for a Transaction over its writes.
    const std::shared_ptr<Connection>& connection() const { return connection_; }
    const QString& lastError() const { return lastError_; }
    bool isOpen() const { return connection_->isOpen() && !columns_.isEmpty(); }

private:
    enum class Position { BeforeFirst, OnRow, AfterLast };

    Result ensureOpen(); // opening reads the table: the snapshot starts here
    Result takeSnapshot();
    Result fail(const QString& why);
    Result fail(const Result& why); // keeps its kind
    QString realColumn(const QString& column) const;
    QString baseWhere(QVariantList& binds) const;
    QString orderBy(bool descending) const;
    Result loadRow(qint64 rowid);
    Result keyOf(qint64 rowid, QVariantList& key);
    Result seek(const QVariantList* from, bool forward);
    Result step(bool forward);
    void clearCurrent(Position pos);
    void invalidateCount() { countCache_.reset(); }

    std::shared_ptr<Connection> connection_;
    QString table_;
    QStringList columns_;
    QStringList selectList_; // the columns, quoted, for reading a row
    QString lastError_;

    qint64 snapshotMax_ = 0;        // rows above this rowid belong to other views' later commits
    QVector<qint64> ownRows_;       // rows this view stored itself since the last refresh
    std::optional<QPair<QString, QString>> filter_;
    QStringList sortExprs_;

    Position position_ = Position::BeforeFirst;
    bool empty_ = true; // the last look from the start found no row
    std::optional<qint64> current_;
    QSqlRecord record_;
    bool newRow_ = false;
    QHash<QString, QVariant> pending_;
    QString failedEdit_; // why a setValue of the current row's edit failed
    std::optional<int> countCache_;
};

} // namespace store
