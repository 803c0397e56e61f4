#pragma once
// The four norm tables (sex by education) and the shape of their values.
#include <QString>
#include <QStringList>
#include <QVector>

namespace norms {

// The T scores a table may hold: the range the profile chart draws.
inline constexpr int kLowestT = 0;
inline constexpr int kHighestT = 120;

struct NormGroup {
    QString table;     // "EvabaliniDJMIR", ...
    QString sex;       // as stored in IDE.Jens
    QString education; // as stored in IDE.Tahsil
    QString label() const; // "مرد، دانشگاهي"
};
// In the order of profile::NormTableNames: male university, male diploma, female university,
// female diploma.
const QVector<NormGroup>& NormGroups();
const NormGroup* FindNormGroup(const QString& table);

// The highest raw score of each scale (index in scale order), and of all of them.
int ScaleMaximum(int scale);
int HighestRawScore();

// What names a table besides its values.
struct NormDescription {
    QString name;
    QString source;
    QString changed;        // Solar Hijri date and time of the change; empty for the delivered file
    bool delivered = false; // the provisional tables delivered with the program
    bool operator==(const NormDescription&) const = default;
};

// A table's T texts: one row for every raw score from 0 to HighestRawScore(), eleven texts in
// scale order. A cell above its scale's maximum is never read; the program's own tables leave it
// empty.
using NormValues = QVector<QStringList>;

// Whether two tables hold the same T texts wherever a scale can reach.
bool SameReadValues(const NormValues& a, const NormValues& b);

} // namespace norms
