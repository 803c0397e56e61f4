#include "norms/norm_library.h"
#include "norms/norm_texts.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/delivered_table.h"
#include "store/row_models.h"
#include "store/schema.h"

#include <QHash>
#include <functional>
#include <memory>

namespace norms {

namespace {

// A table's rows as stored: KHam, the eleven scale fields, ID.
using StoredRows = QVector<QStringList>;

const QString kTableColumn = QStringLiteral("Tbl");

QStringList rowColumns()
{
    QStringList columns{QStringLiteral("KHam")};
    columns << store::normColumns() << QStringLiteral("ID");
    return columns;
}

const QStringList& infoColumns()
{
    static const QStringList columns{QStringLiteral("Name"),     QStringLiteral("Source"),     QStringLiteral("Changed"),
                                     QStringLiteral("Delivered"), QStringLiteral("KeptName"),   QStringLiteral("KeptSource"),
                                     QStringLiteral("KeptChanged"), QStringLiteral("KeptDelivered")};
    return columns;
}

NormValues valuesOf(const StoredRows& rows)
{
    NormValues values(HighestRawScore() + 1, QStringList(store::kScaleCount, QString()));
    QVector<bool> seen(values.size(), false);
    for (const QStringList& row : rows) {
        // Looked up as the conversion does: the KHam text exactly, the first row that holds it.
        bool number = false;
        const int raw = row.value(0).toInt(&number);
        if (!number || row.value(0) != QString::number(raw) || raw < 0 || raw >= values.size() || seen[raw])
            continue;
        seen[raw] = true;
        values[raw] = row.mid(1, store::kScaleCount);
    }
    return values;
}

StoredRows rowsOf(const NormValues& values)
{
    StoredRows rows;
    for (int raw = 0; raw < values.size(); ++raw) {
        QStringList row{QString::number(raw)};
        for (int s = 0; s < store::kScaleCount; ++s)
            row << values.at(raw).value(s);
        row << QString::number(raw + 1);
        rows << row;
    }
    return rows;
}

store::Result readRows(store::Connection& file, const QString& table, StoredRows& rows)
{
    rows.clear();
    return store::ReadAllRows(file, table, rowColumns(), [&rows](const QStringList& row) { rows << row; });
}

store::Result readKeptRows(store::Connection& file, const QString& table, StoredRows& rows)
{
    rows.clear();
    return store::ReadRowsWithKeys(file, store::kNormKeptTable, rowColumns(), kTableColumn, {table},
                                   [&rows](const QStringList& row) { rows << row; });
}

// The recorded descriptions of a table: in use and kept (kept empty when none is).
struct Recorded {
    std::optional<NormDescription> current;
    std::optional<NormDescription> kept;
};

store::Result readRecorded(store::Connection& file, const QString& table, Recorded& recorded)
{
    recorded = {};
    Recorded read;
    const store::Result r = store::ReadRowsWithKeys(file, store::kNormInfoTable, infoColumns(), kTableColumn, {table},
                                                    [&read](const QStringList& text) {
                                                        if (read.current)
                                                            return; // the first row counts
                                                        read.current = NormDescription{text.at(0), text.at(1), text.at(2),
                                                                                       text.at(3) == QLatin1String("1")};
                                                        if (!text.at(4).isEmpty())
                                                            read.kept = NormDescription{text.at(4), text.at(5), text.at(6),
                                                                                        text.at(7) == QLatin1String("1")};
                                                    });
    if (r)
        recorded = read;
    return r;
}

NormDescription unrecorded()
{
    return {texts::kUnrecordedName, texts::kUnrecordedSource, QString(), false};
}

// What the values in use are: as recorded, unless that says delivered and they are not.
NormDescription described(const std::optional<NormDescription>& recorded, const QString& table, const NormValues& values)
{
    const bool deliveredValues = SameReadValues(values, DeliveredValues(table));
    if (!recorded)
        return deliveredValues ? DeliveredDescription() : unrecorded();
    if (recorded->delivered && !deliveredValues)
        return unrecorded();
    return *recorded;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// One table replaced inside the caller's transaction: the rows and description in use become
// the kept ones, the new ones take their place.
store::Result replaceOne(store::Connection& file, const QString& table, const StoredRows& rows,
                         const NormDescription& description)
{
    NormTableState state;
    if (store::Result r = ReadNormState(file, table, state); !r)
        return r;
    StoredRows inUse;
    if (store::Result r = readRows(file, table, inUse); !r)
        return r;
    StoredRows kept;
    for (const QStringList& row : std::as_const(inUse))
        kept << QStringList{table} + row;
    const NormDescription& was = state.current;
    const QStringList info{table, description.name, description.source, description.changed, flag(description.delivered),
                           was.name, was.source, was.changed, flag(was.delivered)};
    store::Result r = store::ReplaceRows(file, store::kNormKeptTable, kTableColumn, table,
                                         QStringList{kTableColumn} + rowColumns(), kept);
    if (r)
        r = store::ReplaceRows(file, table, QString(), QString(), rowColumns(), rows);
    if (r)
        r = store::ReplaceRows(file, store::kNormInfoTable, kTableColumn, table, QStringList{kTableColumn} + infoColumns(), {info});
    return r;
}

using Change = std::function<store::Result(store::Connection&)>;

store::Result inOneTransaction(const QString& normsFilePath, const Change& change)
{
    auto file = std::make_shared<store::Connection>(normsFilePath);
    store::Transaction transaction(file);
    if (store::Result r = transaction.begin(); !r)
        return r;
    if (store::Result r = change(*file); !r)
        return r; // the guard rolls back
    return transaction.commit();
}

} // namespace

NormDescription DeliveredDescription()
{
    return {texts::kDeliveredName, texts::kDeliveredSource, QString(), true};
}

NormValues DeliveredValues(const QString& table)
{
    // Compiled in, so read once: every description of a table compares its values with these.
    static QHash<QString, NormValues> read;
    if (const auto it = read.constFind(table); it != read.cend())
        return *it;
    const store::FileDef* file = store::findFile(store::kNormsFile);
    const store::TableDef* def = store::findTable(store::kNormsFile, table);
    if (!file || !def)
        return {};
    StoredRows rows;
    const QStringList wanted = rowColumns();
    for (const QString& path : store::DeliveredTablePaths(*file, *def)) {
        const store::DeliveredTable data = store::LoadDeliveredTable(path);
        for (const QStringList& row : data.rows) {
            QStringList ordered;
            for (const QString& c : wanted) {
                const int i = int(data.columns.indexOf(c));
                ordered << (i >= 0 ? row.value(i) : QString());
            }
            rows << ordered;
        }
    }
    const NormValues values = valuesOf(rows);
    read.insert(table, values);
    return values;
}

store::Result ReadNormValues(store::Connection& normsFile, const QString& table, NormValues& values)
{
    StoredRows rows;
    if (store::Result r = readRows(normsFile, table, rows); !r)
        return r;
    values = valuesOf(rows);
    return store::Result::success();
}

store::Result DescribeNormTable(store::Connection& normsFile, const QString& table, const NormValues& values,
                                NormDescription& description)
{
    Recorded recorded;
    if (store::Result r = readRecorded(normsFile, table, recorded); !r)
        return r;
    description = described(recorded.current, table, values);
    return store::Result::success();
}

store::Result ReadNormState(store::Connection& normsFile, const QString& table, NormTableState& state)
{
    state = {};
    state.table = table;
    NormValues values;
    if (store::Result r = ReadNormValues(normsFile, table, values); !r)
        return r;
    Recorded recorded;
    if (store::Result r = readRecorded(normsFile, table, recorded); !r)
        return r;
    state.current = described(recorded.current, table, values);
    state.kept = recorded.kept;
    return store::Result::success();
}

store::Result ReadNormStates(const QString& normsFilePath, QVector<NormTableState>& states)
{
    states.clear();
    store::Connection file(normsFilePath);
    for (const NormGroup& g : NormGroups()) {
        NormTableState state;
        if (store::Result r = ReadNormState(file, g.table, state); !r)
            return r;
        states << state;
    }
    return store::Result::success();
}

store::Result ReplaceNormTables(const QString& normsFilePath, const QVector<NormTableData>& tables,
                                QStringList& replaced)
{
    replaced.clear();
    QStringList done;
    const store::Result r = inOneTransaction(normsFilePath, [&](store::Connection& file) {
        for (const NormTableData& t : tables) {
            NormTableState state;
            NormValues inUse;
            if (store::Result read = ReadNormState(file, t.table, state); !read)
                return read;
            if (store::Result read = ReadNormValues(file, t.table, inUse); !read)
                return read;
            if (state.current.name == t.description.name && state.current.source == t.description.source
                && SameReadValues(inUse, t.values))
                continue;
            if (store::Result put = replaceOne(file, t.table, rowsOf(t.values), t.description); !put)
                return put;
            done << t.table;
        }
        return store::Result::success();
    });
    if (r)
        replaced = done;
    return r;
}

store::Result PutBackKeptTable(const QString& normsFilePath, const QString& table, const QString& changed)
{
    return inOneTransaction(normsFilePath, [&](store::Connection& file) {
        NormTableState state;
        if (store::Result r = ReadNormState(file, table, state); !r)
            return r;
        StoredRows kept;
        if (store::Result r = readKeptRows(file, table, kept); !r)
            return r;
        if (!state.kept || kept.isEmpty())
            return store::Result::failure(QStringLiteral("%1: no table is kept").arg(table));
        NormDescription description = *state.kept;
        description.changed = changed; // back in use from now
        return replaceOne(file, table, kept, description);
    });
}

store::Result RestoreDeliveredTables(const QString& normsFilePath, const QString& changed, QStringList& restored)
{
    restored.clear();
    QStringList done;
    const store::Result r = inOneTransaction(normsFilePath, [&](store::Connection& file) {
        for (const NormGroup& g : NormGroups()) {
            NormTableState state;
            if (store::Result read = ReadNormState(file, g.table, state); !read)
                return read;
            if (state.current.delivered)
                continue;
            NormDescription description = DeliveredDescription();
            description.changed = changed;
            if (store::Result put = replaceOne(file, g.table, rowsOf(DeliveredValues(g.table)), description); !put)
                return put;
            done << g.table;
        }
        return store::Result::success();
    });
    if (r)
        restored = done;
    return r;
}

} // namespace norms
