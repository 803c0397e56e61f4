#include "profile/ranking.h"

#include "scoring/leading_number.h"
#include "store/schema.h"

#include <algorithm>
#include <optional>

namespace profile {

namespace {

constexpr std::array<int, kScaleCount> kNumbers{0, 0, 0, 1, 2, 3, 4, 6, 7, 8, 9};

// True when a ranks strictly above b. Texts without a number sort below every number, which
// is also where the empty etebari rows of the work table belong.
bool ranksAbove(const std::optional<double>& a, const std::optional<double>& b)
{
    if (a.has_value() != b.has_value())
        return a.has_value();
    return a.has_value() && *a > *b;
}

// Scale indexes first..last-1 ordered highest first; ties keep scale order.
template <std::size_t N>
std::array<int, N> rankIndexes(const ScaleTexts& tScores, int first)
{
    std::array<std::optional<double>, N> keys;
    std::array<int, N> order;
    for (std::size_t i = 0; i < N; ++i) {
        order[i] = first + int(i);
        keys[i] = LeadingNumber(tScores[std::size_t(first) + i]);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ranksAbove(keys[std::size_t(a - first)], keys[std::size_t(b - first)]);
    });
    return order;
}

} // namespace

QString scaleName(int scaleIndex)
{
    if (scaleIndex < 0 || scaleIndex >= kScaleCount)
        return {};
    return QString::fromLatin1(store::kScaleNames[std::size_t(scaleIndex)]);
}

int clinicalNumber(int scaleIndex)
{
    if (scaleIndex < 0 || scaleIndex >= kScaleCount)
        return 0;
    return kNumbers[std::size_t(scaleIndex)];
}

Ranking RankScales(const ScaleTexts& tScores)
{
    Ranking result;
    result.sortt2.reserve(kClinicalCount);
    for (int k = 0; k < kClinicalCount; ++k) {
        const int scale = kValidityCount + k;
        Sortt2Row row;
        row.id = QString::number(clinicalNumber(scale));
        row.Name = scaleName(scale);
        row.Numb = tScores[std::size_t(scale)];
        if (k < kValidityCount) {
            row.Name2 = scaleName(k);
            row.etebari = tScores[std::size_t(k)];
        }
        result.sortt2.append(row);
    }

    const auto clinical = rankIndexes<kClinicalCount>(tScores, kValidityCount);
    for (std::size_t r = 0; r < clinical.size(); ++r) {
        const int scale = clinical[r];
        result.table.clinical[r] = {QString::number(clinicalNumber(scale)), scaleName(scale),
                                    tScores[std::size_t(scale)]};
    }
    const auto validity = rankIndexes<kValidityCount>(tScores, 0);
    for (std::size_t c = 0; c < validity.size(); ++c) {
        const int scale = validity[c];
        result.table.validity[c] = {QString(), scaleName(scale), tScores[std::size_t(scale)]};
    }
    return result;
}

} // namespace profile
