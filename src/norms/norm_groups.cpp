#include "norms/norm_groups.h"
#include "examinees/identity.h"
#include "scoring/scoring_key.h"
#include "store/schema.h"

#include <algorithm>

namespace norms {

QString NormGroup::label() const
{
    return sex + QStringLiteral("، ") + education;
}

const QVector<NormGroup>& NormGroups()
{
    using namespace examinees;
    static const QVector<NormGroup> groups{{QStringLiteral("EvabaliniDJMIR"), kMale, kUniversity},
                                           {QStringLiteral("EvabaliniDAMIR"), kMale, kDiplomaOrLess},
                                           {QStringLiteral("EvabaliniDJFMIR"), kFemale, kUniversity},
                                           {QStringLiteral("EvabaliniDAFMIR"), kFemale, kDiplomaOrLess}};
    return groups;
}

const NormGroup* FindNormGroup(const QString& table)
{
    for (const NormGroup& g : NormGroups())
        if (g.table.compare(table, Qt::CaseInsensitive) == 0)
            return &g;
    return nullptr;
}

int ScaleMaximum(int scale)
{
    return scoring::ScoringKey()[std::size_t(scale)].maximum();
}

int HighestRawScore()
{
    static const int highest = [] {
        int h = 0;
        for (int s = 0; s < store::kScaleCount; ++s)
            h = std::max(h, ScaleMaximum(s));
        return h;
    }();
    return highest;
}

bool SameReadValues(const NormValues& a, const NormValues& b)
{
    for (int raw = 0; raw <= HighestRawScore(); ++raw) {
        for (int s = 0; s < store::kScaleCount; ++s) {
            if (raw > ScaleMaximum(s))
                continue;
            if (a.value(raw).value(s) != b.value(raw).value(s))
                return false;
        }
    }
    return true;
}

} // namespace norms
