#pragma once
// The fixed scoring key: 71 response texts in, eleven raw scores out, in scale order
// L, F, K, Hs, D, Hy, Pd, Pa, Pt, Sc, Ma. No K correction anywhere.
#include "store/schema.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace scoring {

using store::kItemCount;
using store::kScaleCount;

// One scale of the key; its name is store::kScaleNames at the same index.
struct KeyedScale {
    std::vector<int> yesItems; // score when the response is 1
    std::vector<int> noItems;  // score when the response is 2
    int maximum() const { return int(yesItems.size() + noItems.size()); }
};

// The eleven scales in scale order (store::kScaleNames).
const std::array<KeyedScale, kScaleCount>& ScoringKey();

// The code a response stands for: 1 (yes), 2 (no) or 0 (anything that scores nothing).
// A response is read by its leading number after leading blanks; empty or non-numeric is 0.
int KeyedResponse(const QString& response);

// Raw scores of one examinee. Responses are items 1..71 in order; missing ones count as empty.
std::array<int, kScaleCount> RawScores(const QStringList& responses);
// The same as decimal texts ("0", "7", "13").
QStringList RawScoreTexts(const QStringList& responses);

// A row of eleven whole numbers as decimal texts, as the screens show them.
QStringList DecimalTexts(const std::array<int, kScaleCount>& row);

} // namespace scoring
