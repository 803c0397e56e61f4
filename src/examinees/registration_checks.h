#pragma once
// What a registration must hold before it is stored, checked in a fixed order.
#include <QString>
#include <QTime>
#include <optional>

struct RegistrationEntries {
    QString code;
    QString givenName;
    QString familyName;
    QString sex;
    QString age;
    QString maritalStatus;
    QString group;
    QString education; // a list still showing its prompt is empty here
};

// In the order they are checked.
enum class RegistrationEntry { Code, GivenName, FamilyName, Sex, Age, MaritalStatus, Group, Education };

// The first entry, in checking order, that is empty; nothing when all are filled.
std::optional<RegistrationEntry> FirstMissingEntry(const RegistrationEntries& entries);

// The message that asks for a missing entry; the code is named with the identifier label.
QString MissingEntryMessage(RegistrationEntry entry, const QString& identifierLabel);

// The time of day as the stamp of a registration, written with a locale's time format
// (for example "h:mm:ss AP"). A time-zone part of the format is left out, with the brackets
// that held it, and the digits stay Latin, like every stored text.
QString RegistrationTimeText(const QTime& time, const QString& localeTimeFormat);
