#include "examinees/identity.h"

namespace examinees {

QString columnOf(IdentityField field)
{
    switch (field) {
    case IdentityField::Code: return QStringLiteral("Code");
    case IdentityField::GivenName: return QStringLiteral("FName");
    case IdentityField::FamilyName: return QStringLiteral("LName");
    case IdentityField::Sex: return QStringLiteral("Jens");
    case IdentityField::Age: return QStringLiteral("Sen");
    case IdentityField::MaritalStatus: return QStringLiteral("Taahol");
    case IdentityField::Group: return QStringLiteral("Group");
    case IdentityField::Education: return QStringLiteral("Tahsil");
    case IdentityField::Date: return QStringLiteral("Date");
    case IdentityField::Time: return QStringLiteral("Time");
    }
    return {};
}

} // namespace examinees
