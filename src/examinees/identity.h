#pragma once
// The examinee's identity: the IDE columns it is kept in and the fixed entries of its lists.
// Sex and education also choose the norm table, so they are matched as stored.
#include <QString>
#include <QStringList>

namespace examinees {

enum class IdentityField { Code, GivenName, FamilyName, Sex, Age, MaritalStatus, Group, Education, Date, Time };

// The IDE column of a field ("Code", "FName", ...).
QString columnOf(IdentityField field);

inline const QString kMale = QStringLiteral("مرد");
inline const QString kFemale = QStringLiteral("زن");
inline const QString kDiplomaOrLess = QStringLiteral("ديپلم و كمتر");
inline const QString kUniversity = QStringLiteral("دانشگاهي");
inline const QString kSingle = QStringLiteral("مجرد");
inline const QString kMarried = QStringLiteral("متأهل");
inline const QString kDivorced = QStringLiteral("مطلقه");
inline const QString kWidowed = QStringLiteral("بيوه");

inline QStringList Sexes() { return {kMale, kFemale}; }
inline QStringList EducationLevels() { return {kDiplomaOrLess, kUniversity}; }
inline QStringList MaritalStatuses() { return {kSingle, kMarried, kDivorced, kWidowed}; }
inline QStringList Groups()
{
    return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
            QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")};
}

} // namespace examinees
