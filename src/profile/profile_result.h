#pragma once
// One examinee's profile, computed once from his stored rows: what the profile screen shows and
// stores, what the interpretation panel ranks and writes about, what the printed report, the Word
// document and the group workbook carry. Plain values in, one value out: no database, no widget,
// nothing parsed twice. Screens display it and hand it on; none of them computes a score again.
#include "examinees/examinee_record.h"
#include "profile/norm_conversion.h"
#include "profile/profile_reading.h"
#include "profile/ranking.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace profile {

struct ProfileResult {
    // Identity and responses as handed over, sex and education as they chose the norm table.
    examinees::ExamineeRecord examinee;
    int unanswered = 0;       // empty responses; a missing Answer row counts all 71
    QStringList rawScores;    // eleven decimal texts, scale order
    QStringList percentages;  // eleven answered shares, scale order
    QString normTable;        // the norm table the T scores were read from; empty when none was
    QStringList tScores;      // eleven T texts, empty where the table gave none (all without a table)
    // Why the T scores are missing or cannot be interpreted (no norm group, a damaged or unreadable
    // table, a raw score the table has no row for); empty when everything below is there.
    QString problem;
    // The check code of the stored answers (examinees/answers_check.h); empty without an Answer row.
    QString answersCheck;
    // Where the scores came from: the norm table (provisional when delivered), the program's
    // version and answersCheck, as every output prints it.
    QString provenance;
    QList<Sortt2Row> rankingRows; // the eight rows of the ranking work table, in id order
    ProfileReading reading;       // ranking table, code types, gates, band and rule readings

    bool interpretable() const { return problem.isEmpty(); }
    // The unanswered count as the screens show it ("0", "3").
    QString unansweredText() const { return QString::number(unanswered); }
};

// The result of one examinee. norms is asked once, for the table SelectNormTable chooses by his
// sex and education, and only when it chooses one; the ranking and reading are made only when all
// eleven T scores are there. Given tables already read (a NormTableCache reads each once), the
// computation reads nothing from any file.
ProfileResult ComputeProfileResult(const examinees::ExamineeRecord& examinee, const NormTables& norms);

// The part that rests on the T scores and the unanswered count alone: the ranking rows and the
// reading (code types, gates, rules). ComputeProfileResult runs it once every T score is there.
void RankAndRead(ProfileResult& result);

} // namespace profile
