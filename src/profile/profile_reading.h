#pragma once
// The reading of one profile: every decision the interpretation texts rest on, derived once
// from the ranking table, the T texts and the unanswered count. The texts are written from
// this value alone.
#include "profile/code_types.h"
#include "profile/ranking.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace profile {

// A configural rule that holds, with the sentence it contributes.
struct HeldRule {
    int number = 0;
    QString sentence;
};

struct ProfileReading {
    // The unanswered-item gate of each text: true when the count stops that text.
    bool longGateBlocks = false;
    bool shortGateBlocks = false;

    RankingTable ranking;                  // as the ranking table shows it
    QString twoPointCode;                  // "27"
    std::optional<QString> threePointCode; // "278", only with a gap of more than 4 at ranks 3 and 4

    // The T scores as the band of each scale is chosen: leading number, 0 when none.
    std::array<double, kScaleCount> bandScores{};
    // The T scores as the rules read them.
    WholeScores wholeScores;
    int fk = 0;                 // T(F) - T(K)
    QString fkSentence;         // the one sentence under the F-K heading
    QList<HeldRule> heldRules;  // rule 1 and rules 3..19 that hold, in order
};

// tScores are the T texts the text describes (those of the profile result); ranking is the table
// the ranking filled; unanswered is the count as shown.
ProfileReading ReadProfile(const RankingTable& ranking, const ScaleTexts& tScores, const QString& unanswered);

} // namespace profile
