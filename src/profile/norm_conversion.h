#pragma once
// Raw scores to T scores: the choice of norm table and the lookup in it.
#include "store/result.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace store {
class View;
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

// The norm row of a raw-score text: its eleven T texts in scale order, or nothing when the
// table has no row with that KHam text.
using NormLookup = std::function<std::optional<QStringList>(const QString& rawText)>;

// Eleven T texts in scale order. Each raw text is looked up exactly as it stands (no trimming,
// no rounding, no clamping) and the scale's own field of that row is taken; a raw text with no
// row, or a missing position, gives an empty T text.
QStringList ConvertToTScores(const QStringList& rawRow, const NormLookup& lookup);

// The norm table chosen for the profile: a read-only view on one table of the norms file.
class NormSource {
public:
    explicit NormSource(QString normsFilePath);
    ~NormSource();
    NormSource(const NormSource&) = delete;
    NormSource& operator=(const NormSource&) = delete;

    // Opens the named table. An empty name selects nothing and keeps the previous choice
    // (clear() drops it).
    // A table that cannot be opened leaves no table selected (converting with the previous
    // group's norms would give wrong T scores) and the failure is returned.
    store::Result select(const QString& tableName);
    bool isSelected() const;
    QString tableName() const;
    void clear();

    // The row of a raw-score text in the selected table; nothing without a table, without
    // such a row, or when reading fails (see lastError).
    std::optional<QStringList> row(const QString& rawText);
    // row() as a NormLookup; valid while this source lives.
    NormLookup lookup();
    const QString& lastError() const { return lastError_; }

private:
    QString path_;
    std::unique_ptr<store::View> view_;
    QString lastError_;
};

} // namespace profile
