#pragma once
#include <QStringView>
#include <optional>

// The number a stored text begins with, the one reading every score and response goes through:
// leading blanks (spaces, tabs) skipped, an optional sign, digits, an optional fraction.
// std::nullopt when the text does not begin with a number.
std::optional<double> LeadingNumber(QStringView text);
// Length of the number at the very start of text (no blanks skipped); 0 when there is none.
qsizetype LeadingNumberLength(QStringView text);
// The number of a text that is exactly a number (as LeadingNumberLength measured it).
std::optional<double> ParseNumber(QStringView number);
QStringView SkipBlanks(QStringView text);
