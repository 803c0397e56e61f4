#pragma once
// The code the registration proposes for a new examinee.
#include <QString>
#include <functional>
#include <optional>

// The number written by the leading digits of a code, plus one, as decimal text. Leading
// blanks are skipped; a code without leading digits counts as 0. Works on the digits
// themselves, so no code is too long to be followed.
QString NextCode(const QString& code);


// How many codes from lo to hi are taken: lo and hi are decimal texts of one length without a
// leading zero, lo <= hi. std::nullopt when that cannot be found out.
using CountTakenCodes = std::function<std::optional<qint64>(const QString& lo, const QString& hi)>;

// The first code after lastCode (the code of the last registered examinee) that is not taken. It
// asks how many codes of a range are taken: ranges that double while all their codes are taken,
// then halving to the first free one, so that a long run of taken codes costs a few dozen
// questions. std::nullopt when a count could not be found out.
std::optional<QString> ProposeCode(const QString& lastCode, const CountTakenCodes& countTaken);
