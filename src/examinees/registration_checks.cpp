#include "examinees/registration_checks.h"
#include "kit/texts.h"
#include "examinees/registration_texts.h"

#include <QTime>

std::optional<RegistrationEntry> FirstMissingEntry(const RegistrationEntries& e)
{
    const std::pair<const QString*, RegistrationEntry> order[] = {
        {&e.code, RegistrationEntry::Code},
        {&e.givenName, RegistrationEntry::GivenName},
        {&e.familyName, RegistrationEntry::FamilyName},
        {&e.sex, RegistrationEntry::Sex},
        {&e.age, RegistrationEntry::Age},
        {&e.maritalStatus, RegistrationEntry::MaritalStatus},
        {&e.group, RegistrationEntry::Group},
        {&e.education, RegistrationEntry::Education},
    };
    for (const auto& [text, entry] : order)
        if (text->isEmpty())
            return entry;
    return std::nullopt;
}

QString MissingEntryMessage(RegistrationEntry entry, const QString& identifierLabel)
{
    switch (entry) {
    case RegistrationEntry::Code: return texts::MustEnterCode(identifierLabel);
    case RegistrationEntry::GivenName: return texts::kEnterGivenName;
    case RegistrationEntry::FamilyName: return texts::kEnterFamilyName;
    case RegistrationEntry::Sex: return texts::kSpecifySex;
    case RegistrationEntry::Age: return texts::kEnterAge;
    case RegistrationEntry::MaritalStatus: return texts::kSpecifyMaritalStatus;
    case RegistrationEntry::Group: return texts::kSpecifyGroup;
    case RegistrationEntry::Education: return texts::kEnterEducation;
    }
    return {};
}

QString RegistrationTimeText(const QTime& time, const QString& localeTimeFormat)
{
    // Drop the unquoted time-zone letters ("t", "tt", ...) with the blanks before them.
    QString format;
    bool quoted = false;
    for (const QChar c : localeTimeFormat) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) {
            while (!format.isEmpty() && format.back().isSpace())
                format.chop(1);
            continue;
        }
        format += c;
    }
    format = format.trimmed();
    if (format.isEmpty())
        format = QStringLiteral("HH:mm:ss");
    // QTime::toString(format) writes with the C locale: Latin digits, AM/PM.
    return time.toString(format);
}
