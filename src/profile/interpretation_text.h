#pragma once
// The long and the short interpretation text, assembled from fixed sentences, the reading of
// the profile (profile_reading.h, derived once per text) and the texts of the Taff table.
// Every line ends in CR LF.
#include "profile/profile_reading.h"
#include "profile/ranking.h"

#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

namespace profile {

// One row of Taff, named after its columns. An empty field counts as missing.
struct TaffRow {
    QString Topp;
    QString Mediumm;
    QString Downn;
};

// The first Taff row with the given id, or std::nullopt.
using TaffLookup = std::function<std::optional<TaffRow>(const QString& id)>;

// A descriptor whose Taff row or field is missing leaves its scale with the heading only; a code
// type whose row is missing (or whose Topp is empty) gets the not-found sentence of its kind.
// taff may be empty: no Taff rows at all.
QString BuildLongInterpretation(const ProfileReading& reading, const TaffLookup& taff);
QString BuildShortInterpretation(const ProfileReading& reading, const TaffLookup& taff);

// The Taff ids the long or the short text of a reading looks up, each once: what it asks for
// does not depend on what it finds, so these are all the rows it can use.
QStringList TaffIdsRead(const ProfileReading& reading, bool longRun);

// The same from the parts of a reading: the texts of T scores ranked as given.
struct InterpretationInput {
    RankingTable ranking;  // as filled by RankScales
    ScaleTexts tScores;    // the T texts the ranking was made from
    QString unanswered;    // the unanswered-item count as shown
    TaffLookup taff;       // may be empty: no Taff rows at all
};
QString BuildLongInterpretation(const InterpretationInput& input);
QString BuildShortInterpretation(const InterpretationInput& input);

// The Taff fields the two texts read for the scales' bands, as (id, column), each once: the
// rows a complete Taff table must hold with these fields filled.
QList<QPair<QString, QString>> TaffFieldsRead();

} // namespace profile
