#pragma once
// Reading a score text as a number where one is needed (chart positions, ranking, rules).
#include <QString>

namespace profile {

// The leading number of the text: leading blanks skipped, an optional sign, digits and an
// optional decimal fraction ("65", " 72", "-3", "61.5x" -> 61.5). An empty text, or one that
// does not begin with a number, reads as 0: a scale with no T score counts as 0.
double ScoreNumber(const QString& text);

} // namespace profile
