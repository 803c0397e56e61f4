#pragma once
// Line ends of the interpretation text. It is stored, printed and exported with CR LF after
// every line; text boxes work with LF alone and would show a stray CR.
#include <QString>

namespace profile {

// Every line end (CR LF, LF or a lone CR) written as CR LF.
QString toCrLf(const QString& text);
// Every line end (CR LF, LF or a lone CR) written as LF.
QString toLf(const QString& text);

} // namespace profile
