#pragma once
// Share of each scale's items the examinee answered, for the profile screen's "Response %" column.
// Any non-empty response counts as answered (a "0" from the answer sheet too).
#include "scoring/scoring_key.h"

#include <QStringList>
#include <array>
#include <vector>

namespace scoring {

// The items examined per scale, in scale order. They follow the key except that F examines
// item 49 instead of 48, and Pd leaves 49 out.
const std::array<std::vector<int>, kScaleCount>& AnsweredItemLists();

// Whole percentages 0..100, halves rounded to the even neighbour.
std::array<int, kScaleCount> AnsweredPercentages(const QStringList& responses);
// The same as decimal texts ("0", "93", "100"), in scale order.
QStringList ComputeAnsweredPercentages(const QStringList& responses);

// count * 100 / divisor to the nearest whole number, a tie going to the even one.
int PercentRoundedHalfEven(int count, int divisor);

} // namespace scoring
