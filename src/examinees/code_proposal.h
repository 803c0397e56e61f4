#pragma once
// The code the registration proposes for a new examinee.
#include <QString>
#include <functional>

// The number written by the leading digits of a code, plus one, as decimal text. Leading
// blanks are skipped; a code without leading digits counts as 0. Works on the digits
// themselves, so no code is too long to be followed.
QString NextCode(const QString& code);

// The first code after lastCode (the code of the last registered examinee) that isTaken does
// not refuse.
QString ProposeCode(const QString& lastCode, const std::function<bool(const QString& code)>& isTaken);
