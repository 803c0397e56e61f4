#pragma once
#include <QStringView>
#include <optional>

// The number a stored text begins with, the one reading every score and response goes through:
// leading blanks (spaces, tabs) skipped, an optional sign, digits, an optional fraction.
// std::nullopt when the text does not begin with a number.
std::optional<double> LeadingNumber(QStringView text);
// The same where a number is needed whatever the text: an empty text, or one that does not
// begin with a number, reads as 0 (a scale with no T score counts as 0; "61.5x" is 61.5).
double LeadingNumberOrZero(QStringView text);
// Length of the number at the very start of text (no blanks skipped); 0 when there is none.
qsizetype LeadingNumberLength(QStringView text);
// The number of a text that is exactly a number (as LeadingNumberLength measured it).
std::optional<double> ParseNumber(QStringView number);
QStringView SkipBlanks(QStringView text);
