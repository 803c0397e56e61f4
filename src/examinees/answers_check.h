#pragma once
// The check code of an examinee's stored answers: printed with every result, so that a paper
// report can be matched later with the answers it was made from.
#include "store/result.h"

#include <QString>
#include <QStringList>

namespace store {
class Connection;
}

namespace examinees {

inline constexpr int kCheckCodeLength = 8;

// The first eight hex digits (lower case) of the SHA-256 of the 71 answers as stored, in item
// order, separated by commas, in UTF-8 ("1,2,,0,..."; a missing answer is an empty text).
QString AnswersCheckCode(const QStringList& responses);

// A check code as typed: blanks dropped, upper case read as lower; empty when it cannot be one
// (not eight hex digits).
QString NormalisedCheckCode(const QString& typed);

// The codes of the examinees whose stored answers have this check code, in stored order. Every
// answer row is read: the code follows the answers as they are now, wherever they came from.
store::Result FindByAnswersCheck(store::Connection& examineeFile, const QString& checkCode, QStringList& codes);

} // namespace examinees
