#pragma once
// One examinee as the scoring screen shows it when the profile is asked for: identity, responses,
// raw scores and the unanswered count. The scoring screen hands it over; the profile screen and
// everything it starts (interpretation, printed report, Word export) keep it.
#include <QString>
#include <QStringList>

namespace scoring {

struct ScoredExaminee {
    // The IDE row as shown, each field as stored (no blanks taken off).
    QString code;          // Code
    QString givenName;     // FName
    QString familyName;    // LName
    QString sex;           // Jens, as corrected on the scoring screen
    QString age;           // Sen
    QString maritalStatus; // Taahol
    QString education;     // Tahsil, as corrected on the scoring screen
    QString group;         // Group
    QString date;          // Date
    QString time;          // Time

    QStringList responses; // items 1..71 in order, "" for an empty one
    QStringList rawScores; // the eleven raw scores in scale order, as decimal texts
    QString unanswered;    // the number of empty responses, as decimal text

    friend bool operator==(const ScoredExaminee&, const ScoredExaminee&) = default;
};

// The two identity values that choose the norm table. The scoring screen lets the user correct
// them while the profile is open, so the profile asks for them again on every activation.
struct NormGroup {
    QString sex;
    QString education;
};

} // namespace scoring
