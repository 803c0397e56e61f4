#pragma once
// The norm tables of the norms file as the clinic owns them: what each one is (name, source,
// date of change, delivered or not), its values, and the table it replaced, kept so that it can
// be put back. Every change is one transaction: all of it is stored, or nothing.
#include "norms/norm_sheet.h"
#include "store/result.h"

#include <optional>

namespace store {
class Connection;
}

namespace norms {

struct NormTableState {
    QString table;
    NormDescription current;
    std::optional<NormDescription> kept; // the table it replaced, when one is kept
};

// The delivered tables, as the program carries them.
NormDescription DeliveredDescription();
NormValues DeliveredValues(const QString& table);

// What a table is now. A table without a recorded description (a file made before the program
// recorded them, or a table changed outside it) is the delivered one when it holds the delivered
// values, and a table of unknown source otherwise; so is a table recorded as delivered whose
// values were changed since.
store::Result ReadNormState(store::Connection& normsFile, const QString& table, NormTableState& state);
store::Result ReadNormStates(const QString& normsFilePath, QVector<NormTableState>& states); // the four
// What a table holding these values (read from it just now) is: ReadNormState without reading them.
store::Result DescribeNormTable(store::Connection& normsFile, const QString& table, const NormValues& values,
                                NormDescription& description);
store::Result ReadNormValues(store::Connection& normsFile, const QString& table, NormValues& values);

// The tables replace those in use, with their descriptions, in one transaction. Each table in
// use is kept in place of the one kept before. A table with the name, source and values of the
// one in use changes nothing (its kept table stays kept); replaced lists those that changed.
store::Result ReplaceNormTables(const QString& normsFilePath, const QVector<NormTableData>& tables,
                                QStringList& replaced);
// The kept table back in use, dated changed; the one in use is kept in its place.
store::Result PutBackKeptTable(const QString& normsFilePath, const QString& table, const QString& changed);
// The delivered tables back, dated changed, in every group that does not hold them already (so
// a second restore never drops a kept table of the clinic's); those replaced are kept. restored
// lists the tables changed.
store::Result RestoreDeliveredTables(const QString& normsFilePath, const QString& changed, QStringList& restored);

} // namespace norms
