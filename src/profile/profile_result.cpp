#include "profile/profile_result.h"
#include "examinees/answers_check.h"
#include "norms/provenance.h"
#include "profile/profile_screen_texts.h"
#include "scoring/answered_percentages.h"
#include "scoring/leading_number.h"
#include "scoring/scoring_key.h"
#include "scoring/unanswered_items.h"
#include "store/schema.h"

namespace profile {

ProfileResult ComputeProfileResult(const examinees::ExamineeRecord& examinee, const NormTables& norms)
{
    ProfileResult out;
    out.examinee = examinee;
    const QStringList& responses = out.examinee.responses ? *out.examinee.responses : QStringList();
    out.unanswered = int(scoring::UnansweredItems(responses).size());
    out.rawScores = scoring::RawScoreTexts(responses);
    out.percentages = scoring::ComputeAnsweredPercentages(responses);
    out.tScores = QStringList(store::kScaleCount, QString());
    if (out.examinee.responses)
        out.answersCheck = examinees::AnswersCheckCode(responses);
    out.provenance = norms::ProvenanceLine(std::nullopt, out.answersCheck);

    const QString table = SelectNormTable(examinee.sex, examinee.education);
    if (table.isEmpty()) {
        out.problem = screen_texts::NoNormGroup(examinee.sex, examinee.education);
        return out;
    }
    const NormChoice choice = norms ? norms(table) : NormChoice{nullptr, screen_texts::kNormTableUnreadable};
    if (!choice.table) {
        out.problem = choice.problem.isEmpty() ? screen_texts::kNormTableUnreadable : choice.problem;
        return out;
    }
    out.normTable = table;
    out.provenance = norms::ProvenanceLine(choice.table->description, out.answersCheck);
    out.tScores = ConvertToTScores(out.rawScores, *choice.table);

    // No ranking and no reading from T scores that are not all there.
    QStringList missing;
    for (int i = 0; i < store::kScaleCount; ++i) {
        if (!LeadingNumber(out.tScores.at(i)))
            missing << scaleName(i);
    }
    if (!missing.isEmpty()) {
        out.problem = screen_texts::NoTScore(missing, table);
        return out;
    }
    RankAndRead(out);
    return out;
}

void RankAndRead(ProfileResult& result)
{
    ScaleTexts t;
    for (int i = 0; i < kScaleCount; ++i)
        t[std::size_t(i)] = result.tScores.value(i);
    const Ranking ranking = RankScales(t);
    result.rankingRows = ranking.sortt2;
    result.reading = ReadProfile(ranking.table, t, result.unansweredText());
}

} // namespace profile
