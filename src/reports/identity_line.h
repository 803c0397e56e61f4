#pragma once
// The one-line summary of the examinee that heads the Word document's text.
#include "reports/report_content.h"

#include <QString>

namespace reports {

// Code, given name, family name, sex, age, marital status and education, each after its
// caption and separated by " -  "; an empty field leaves its caption followed directly by the
// separator. Group and date are not part of the line.
QString ComposeIdentityLine(const Identity& identity);

// The document's text: the identity line, two line ends, then the saved interpretation.
QString WordDocumentText(const QString& identityLine, const QString& savedText);

} // namespace reports
