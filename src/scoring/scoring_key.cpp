#include "scoring/scoring_key.h"
#include "scoring/leading_number.h"

#include <algorithm>

namespace scoring {

const std::array<KeyedScale, kScaleCount>& ScoringKey()
{
    static const std::array<KeyedScale, kScaleCount> key = {{
        // yes-keyed items, no-keyed items
        {{}, {5, 11, 24, 47, 53}},                                                                // L
        {{9, 12, 15, 19, 30, 38, 48, 50, 58, 59, 64, 71}, {20, 24, 61}},                          // F
        {{}, {11, 23, 31, 33, 34, 36, 40, 41, 43, 51, 55, 61, 66, 69, 70}},                       // K
        {{9, 18, 32, 44}, {1, 2, 6, 26, 45, 46, 55, 62, 63}},                                     // Hs
        {{4, 9, 13, 17, 18, 22, 25, 36, 44}, {1, 3, 6, 11, 28, 37, 40, 42, 60, 61, 65}},          // D
        {{9, 18, 44, 57}, {1, 2, 3, 11, 21, 23, 26, 28, 29, 35, 37, 40, 41, 43, 45, 46, 49, 55, 56, 62}}, // Hy
        {{7, 10, 13, 14, 15, 16, 22, 27, 34, 52, 58, 71}, {3, 28, 35, 41, 43, 49, 65}},           // Pd
        {{5, 8, 10, 15, 30, 39, 64, 66, 68}, {28, 29, 31, 63, 67}},                               // Pa
        {{5, 8, 13, 17, 22, 25, 27, 31, 44, 51, 57, 66, 68}, {2, 3, 42}},                         // Pt
        {{5, 7, 8, 10, 13, 14, 15, 16, 17, 21, 30, 38, 39, 57, 65, 66}, {3, 26, 46, 63}},         // Sc
        {{4, 7, 8, 29, 34, 38, 39, 54, 57, 60}, {43}},                                            // Ma
    }};
    return key;
}

int KeyedResponse(const QString& response)
{
    // Only a value of exactly 1 or 2 means anything to the key ("1.0" is 1, "1.5" is not).
    if (response.size() == 1) // as nearly every response is stored
        return response.at(0) == u'1' ? 1 : response.at(0) == u'2' ? 2 : 0;
    const std::optional<double> value = LeadingNumber(response);
    if (value == 1.0)
        return 1;
    if (value == 2.0)
        return 2;
    return 0;
}

std::array<int, kScaleCount> RawScores(const QStringList& responses)
{
    std::array<int, kItemCount + 1> code{}; // by item number; index 0 unused
    for (int item = 1; item <= kItemCount; ++item)
        code[item] = item <= responses.size() ? KeyedResponse(responses.at(item - 1)) : 0;

    std::array<int, kScaleCount> scores{};
    const auto& key = ScoringKey();
    for (int s = 0; s < kScaleCount; ++s) {
        for (int item : key[s].yesItems)
            scores[s] += code[item] == 1;
        for (int item : key[s].noItems)
            scores[s] += code[item] == 2;
    }
    return scores;
}

QStringList DecimalTexts(const std::array<int, kScaleCount>& row)
{
    QStringList texts;
    for (int value : row)
        texts << QString::number(value);
    return texts;
}

QStringList RawScoreTexts(const QStringList& responses)
{
    return DecimalTexts(RawScores(responses));
}

} // namespace scoring
