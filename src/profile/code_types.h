#pragma once
// The decisions an interpretation rests on: readings of the T texts, the unanswered-item gate,
// the two- and three-point code types, the F-K index and the configural rules with their
// sentences. Pure functions; nothing throws, unreadable texts count as 0.
#include "profile/ranking.h"

#include <QList>
#include <QString>
#include <optional>

namespace profile {

// Bands, the three-point gap and the unanswered count read a text by its leading number
// (LeadingNumberOrZero, scoring/leading_number.h).

// Reading used for the rules: when the whole text (blanks aside) is a number, that number rounded
// half to even; otherwise, or outside -32768..32767, 0.
int wholeReading(const QString& text);

// Limits of the unanswered-item count for the two interpretations.
inline constexpr int kLongGateLimit = 4;
inline constexpr int kShortGateLimit = 7;

// True when the unanswered count, read as a number, is greater than the limit.
bool gateBlocks(const QString& unanswered, int limit);

// Scale numbers of ranks 1 and 2 ("27").
QString twoPointCode(const RankingTable& table);
// Scale numbers of ranks 1, 2, 3 ("278"), only when T of rank 3 exceeds T of rank 4 by more
// than 4 points.
std::optional<QString> threePointCode(const RankingTable& table);

// Whole-number T scores, as the rules read them.
struct WholeScores {
    int L = 0, F = 0, K = 0, Hs = 0, D = 0, Hy = 0, Pd = 0, Pa = 0, Pt = 0, Sc = 0, Ma = 0;
};
WholeScores wholeScores(const ScaleTexts& tScores);

// The one sentence under the F-K heading, by the sign of T(F) - T(K).
const QString& fkSentence(const WholeScores& scores);

// Configural rules 1 and 3..19 (2 is the F-K sentence). Unknown numbers never hold.
bool ruleHolds(int number, const WholeScores& scores);
const QString& ruleSentence(int number); // empty for unknown numbers
// The rules that hold, in order (1 first, then 3..19).
QList<int> firedRules(const WholeScores& scores);

} // namespace profile
