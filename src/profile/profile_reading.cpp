#include "profile/profile_reading.h"

#include "scoring/leading_number.h"

namespace profile {

ProfileReading ReadProfile(const RankingTable& ranking, const ScaleTexts& tScores, const QString& unanswered)
{
    ProfileReading r;
    r.longGateBlocks = gateBlocks(unanswered, kLongGateLimit);
    r.shortGateBlocks = gateBlocks(unanswered, kShortGateLimit);
    r.ranking = ranking;
    r.twoPointCode = twoPointCode(ranking);
    r.threePointCode = threePointCode(ranking);
    for (int i = 0; i < kScaleCount; ++i)
        r.bandScores[std::size_t(i)] = LeadingNumberOrZero(tScores[std::size_t(i)]);
    r.wholeScores = wholeScores(tScores);
    r.fk = r.wholeScores.F - r.wholeScores.K;
    r.fkSentence = fkSentence(r.wholeScores);
    for (int number : firedRules(r.wholeScores))
        r.heldRules.append({number, ruleSentence(number)});
    return r;
}

} // namespace profile
