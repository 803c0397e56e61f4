#pragma once
// The check of the data delivered with the program, as it stands in the program folder: a
// clinic may have replaced the item texts, the norm tables or the interpretation texts, and a
// damaged table must be named instead of giving blank items, a short text or a point at T 0.
#include <QMap>
#include <QString>

namespace startup {

// The whole T scores a norm table may hold.
inline constexpr int kLowestT = 0;
inline constexpr int kHighestT = 150;

// Table name ("QUS", "Theme", a norm table, "Taff") to what is wrong with it, naming the first
// row found wrong; empty when everything the program reads is there:
//   QUS: items 1..71, each with a text;
//   Theme: the settings row;
//   each norm table: a row for every raw score from 0 to the largest a scale can reach, with a
//     whole T from kLowestT to kHighestT for every scale that can reach that raw score;
//   Taff: every row and field the interpretation texts read for the scales.
// A file that cannot be read at all is named under each of its tables.
QMap<QString, QString> CheckDeliveredData(const QString& programFolder);

} // namespace startup
