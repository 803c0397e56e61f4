#pragma once
// Ranking of the scales by T score: the rows written into the ranking work table Sortt2 and the
// ranking table of the interpretation panel. Plain texts in, plain texts out; no database access.
#include "store/schema.h"

#include <QList>
#include <QString>
#include <array>

namespace profile {

// One text per scale in scale order (store::kScaleNames): L F K Hs D Hy Pd Pa Pt Sc Ma.
using store::kScaleCount;
using ScaleTexts = std::array<QString, kScaleCount>;

inline constexpr int kValidityCount = 3;  // L F K
inline constexpr int kClinicalCount = 8;  // Hs D Hy Pd Pa Pt Sc Ma

// The name of scale index 0..10, and the number of clinical scale index 3..10 (1 2 3 4 6 7 8 9).
QString scaleName(int scaleIndex);
int clinicalNumber(int scaleIndex);

// One row of Sortt2, named after its columns.
struct Sortt2Row {
    QString id;      // clinical scale number
    QString Name;    // clinical scale name
    QString Numb;    // its T score
    QString Name2;   // L, F, K in the rows with id 1..3, empty elsewhere
    QString etebari; // T of L, F, K in the rows with id 1..3, empty elsewhere
};

struct RankEntry {
    QString number; // scale number (empty in the validity block)
    QString name;
    QString t;      // the T text exactly as given
};

struct RankingTable {
    std::array<RankEntry, kClinicalCount> clinical; // [r - 1] is rank r; rank 1 has the highest T
    std::array<RankEntry, kValidityCount> validity; // [0] highest (leftmost column) .. [2] lowest
};

struct Ranking {
    QList<Sortt2Row> sortt2; // the eight rows in id order: 1 2 3 4 6 7 8 9
    RankingTable table;
};

// Higher T ranks higher, compared as numbers (100 above 55). A text without a leading number
// ranks below every number. Equal T scores keep scale order, so the lower scale number (and in
// the validity block L before F before K) ranks higher.
Ranking RankScales(const ScaleTexts& tScores);

} // namespace profile
