#include "scoring/answered_percentages.h"

#include <algorithm>

namespace scoring {

const std::array<std::vector<int>, kScaleCount>& AnsweredItemLists()
{
    static const std::array<std::vector<int>, kScaleCount> lists = [] {
        std::array<std::vector<int>, kScaleCount> out;
        const auto& key = ScoringKey();
        for (int s = 0; s < kScaleCount; ++s) {
            std::vector<int>& items = out[std::size_t(s)];
            items = key[std::size_t(s)].yesItems;
            items.insert(items.end(), key[std::size_t(s)].noItems.begin(), key[std::size_t(s)].noItems.end());
        }
        // The two places where the items examined are not the items keyed: F examines 49
        // where the key scores 48, and Pd leaves out 49 although the key scores it.
        std::vector<int>& f = out[std::size_t(store::scaleIndex(u"F"))];
        std::replace(f.begin(), f.end(), 48, 49);
        std::vector<int>& pd = out[std::size_t(store::scaleIndex(u"Pd"))];
        pd.erase(std::remove(pd.begin(), pd.end(), 49), pd.end());
        for (std::vector<int>& items : out)
            std::sort(items.begin(), items.end());
        return out;
    }();
    return lists;
}

int PercentRoundedHalfEven(int count, int divisor)
{
    if (divisor <= 0)
        return 0;
    // In whole numbers, so a tie is recognised exactly.
    const int scaled = count * 100;
    int quotient = scaled / divisor;
    const int twiceRest = 2 * (scaled % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

std::array<int, kScaleCount> AnsweredPercentages(const QStringList& responses)
{
    std::array<int, kScaleCount> percentages{};
    const auto& lists = AnsweredItemLists();
    for (int s = 0; s < kScaleCount; ++s) {
        int answered = 0;
        for (int item : lists[s])
            answered += item <= responses.size() && !responses.at(item - 1).isEmpty();
        percentages[s] = PercentRoundedHalfEven(answered, int(lists[s].size()));
    }
    return percentages;
}

QStringList ComputeAnsweredPercentages(const QStringList& responses)
{
    return DecimalTexts(AnsweredPercentages(responses));
}

} // namespace scoring
