#pragma once
// The fixed scoring key: 71 response texts in, eleven raw scores out, in scale order
// L, F, K, Hs, D, Hy, Pd, Pa, Pt, Sc, Ma. No K correction anywhere.
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace scoring {

inline constexpr int kItemCount = 71;
inline constexpr int kScaleCount = 11;

struct KeyedScale {
    const char* name;
    std::vector<int> yesItems; // score when the response is 1
    std::vector<int> noItems;  // score when the response is 2
    int maximum() const { return int(yesItems.size() + noItems.size()); }
};

// The eleven scales in scale order.
const std::array<KeyedScale, kScaleCount>& ScoringKey();

// The code a response stands for: 1 (yes), 2 (no) or 0 (anything that scores nothing).
// A response is read by its leading number after leading blanks; empty or non-numeric is 0.
int KeyedResponse(const QString& response);

// Raw scores of one examinee. Responses are items 1..71 in order; missing ones count as empty.
std::array<int, kScaleCount> RawScores(const QStringList& responses);
// The same as decimal texts ("0", "7", "13").
QStringList RawScoreTexts(const QStringList& responses);

} // namespace scoring
