#include "scoring/answered_percentages.h"

namespace scoring {

const std::array<std::vector<int>, kScaleCount>& AnsweredItemLists()
{
    static const std::array<std::vector<int>, kScaleCount> lists = {{
        {5, 11, 24, 47, 53},
        {9, 12, 15, 19, 20, 24, 30, 38, 49, 50, 58, 59, 61, 64, 71},
        {11, 23, 31, 33, 34, 36, 40, 41, 43, 51, 55, 61, 66, 69, 70},
        {1, 2, 6, 9, 18, 26, 32, 44, 45, 46, 55, 62, 63},
        {1, 3, 4, 6, 9, 11, 13, 17, 18, 22, 25, 28, 36, 37, 40, 42, 44, 60, 61, 65},
        {1, 2, 3, 9, 11, 18, 21, 23, 26, 28, 29, 35, 37, 40, 41, 43, 44, 45, 46, 49, 55, 56, 57, 62},
        {3, 7, 10, 13, 14, 15, 16, 22, 27, 28, 34, 35, 41, 43, 52, 58, 65, 71},
        {5, 8, 10, 15, 28, 29, 30, 31, 39, 63, 64, 66, 67, 68},
        {2, 3, 5, 8, 13, 17, 22, 25, 27, 31, 42, 44, 51, 57, 66, 68},
        {3, 5, 7, 8, 10, 13, 14, 15, 16, 17, 21, 26, 30, 38, 39, 46, 57, 63, 65, 66},
        {4, 7, 8, 29, 34, 38, 39, 43, 54, 57, 60},
    }};
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
    QStringList texts;
    for (int p : AnsweredPercentages(responses))
        texts << QString::number(p);
    return texts;
}

} // namespace scoring
