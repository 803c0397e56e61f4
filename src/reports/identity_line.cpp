#include "reports/identity_line.h"
#include "reports/report_texts.h"

namespace reports {

QString ComposeIdentityLine(const Identity& id)
{
    const QString& sep = texts::kLineSeparator;
    return texts::kLineCode + id.code + sep + texts::kLineGivenName + id.givenName + sep
        + texts::kLineFamilyName + id.familyName + sep + texts::kLineSex + id.sex + sep + texts::kLineAge
        + id.age + sep + texts::kLineMaritalStatus + id.maritalStatus + sep + texts::kLineEducation
        + id.education;
}

QString WordDocumentText(const QString& identityLine, const QString& savedText)
{
    return identityLine + QStringLiteral("\r\n\r\n") + savedText;
}

} // namespace reports
