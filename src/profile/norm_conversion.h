#pragma once
// Raw scores to T scores: the choice of norm table, the table read whole, and the lookup in it.
#include "norms/norm_groups.h"
#include "store/result.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace store {
class Connection;
}

namespace profile {

// Whether two sex or education texts name the same group: equal once the Persian yeh and kaf are
// read as the Arabic ones.
bool SameNormGroupText(const QString& a, const QString& b);
// The norm table for a sex and an education text, compared as SameNormGroupText does; empty for
// any other combination (an empty or misspelt field selects no table).
QString SelectNormTable(const QString& sex, const QString& education);
// The four norm tables: male university, male diploma, female university, female diploma.
const QStringList& NormTableNames();

// A norm table read whole, once: for each KHam text (exactly as stored) the eleven T texts, in
// scale order, of the first row that holds it.
struct NormTable {
    QString name;
    QHash<QString, QStringList> rows;
    norms::NormDescription description; // what the table is: its name, source, whether delivered

    // The T texts of a raw-score text, looked up exactly as it stands; null when there is no row.
    const QStringList* row(const QString& rawText) const;
    // Indexes the rows whose KHam is a plain number ("0", "17"): the usual lookup then costs no
    // hashing. Made once rows is complete; row() falls back to rows for any other text.
    void indexNumbers();

private:
    QList<QStringList> byNumber_; // [n]: the row of the text QString::number(n), empty when none
};

// Reads the named table of the norms file in one query, and what it is from the description
// recorded beside it. A table without KHam and every scale field (matched without regard to case;
// Ma is spelt "MA") is not a norm table and is refused.
store::Result ReadNormTable(store::Connection& normsFile, const QString& name, NormTable& table);

// The norm row of a raw-score text: its eleven T texts in scale order, or nothing when the
// table has no row with that KHam text.
using NormLookup = std::function<std::optional<QStringList>(const QString& rawText)>;

// Eleven T texts in scale order. Each raw text is looked up exactly as it stands (no trimming,
// no rounding, no clamping) and the scale's own field of that row is taken; a raw text with no
// row, or a missing position, gives an empty T text.
QStringList ConvertToTScores(const QStringList& rawRow, const NormTable& table);
QStringList ConvertToTScores(const QStringList& rawRow, const NormLookup& lookup);

// A norm table as a computation may use it: the table, or why there is none.
struct NormChoice {
    const NormTable* table = nullptr;
    QString problem; // why there are no T scores from this table (empty with a table)
};
// The choice for a table name of SelectNormTable.
using NormTables = std::function<NormChoice(const QString& table)>;

// The norm tables of the norms file, each read whole on first use and kept until clear(). A table
// found damaged at start-up (damaged(table) not empty) gives no T scores; nor does one that cannot
// be read.
class NormTableCache {
public:
    NormTableCache(QString normsFilePath, std::function<QString(const QString& table)> damaged);
    ~NormTableCache();
    NormTableCache(const NormTableCache&) = delete;
    NormTableCache& operator=(const NormTableCache&) = delete;

    NormChoice choose(const QString& table);
    NormTables tables(); // choose() as NormTables, valid while this lives
    // Forgets every table read, so the next choice reads its table afresh.
    void clear();
    // The first read of a norm table that failed (the table name and why); empty while every
    // read worked. Kept until clear().
    const QString& readError() const { return readError_; }

private:
    struct Entry {
        NormTable table;
        QString problem;
    };
    QString path_;
    std::function<QString(const QString&)> damaged_;
    std::unique_ptr<store::Connection> file_;
    QHash<QString, std::shared_ptr<Entry>> entries_;
    QString readError_;
};

} // namespace profile
