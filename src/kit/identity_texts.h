#pragma once
// Captions and list entries of the examinee's identity, shared by the registration panel, the
// test screen's examinee panel and the scoring screen (the sex and education entries are in
// app/texts.h).
#include "kit/texts.h"

#include <QString>
#include <QStringList>

namespace texts {

inline const QString kCaptionGivenName = QStringLiteral(" :نام");
inline const QString kCaptionFamilyName = QStringLiteral(" :نام خانوادگي");
inline const QString kCaptionSex = QStringLiteral(" :جنس");
inline const QString kCaptionAge = QStringLiteral(" :سن");
inline const QString kCaptionDate = QStringLiteral(" :تاريخ");
inline const QString kCaptionTime = QStringLiteral(" :ساعت");
// The identity panels of the test and scoring screens (registration words these its own way).
inline const QString kCaptionMaritalStatusField = QStringLiteral(" :وضعيت تاهل");
inline const QString kCaptionEducationField = QStringLiteral(" :ميزان تحصيلات");
inline const QString kCaptionSaveIdentity = QStringLiteral("ذخيره "); // trailing blank
inline const QString kSingle = QStringLiteral("مجرد");
inline const QString kMarried = QStringLiteral("متأهل");
inline const QString kDivorced = QStringLiteral("مطلقه");
inline const QString kWidowed = QStringLiteral("بيوه");
inline const QString kChooseMaritalStatus = QStringLiteral("وضعيت تأهل را مشخص کنيد");
inline const QString kChooseGroup = QStringLiteral("گروه را انتخاب كنيد");

inline QStringList MaritalStatuses() { return {kSingle, kMarried, kDivorced, kWidowed}; }
inline QStringList Groups()
{
    return {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
            QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("G")};
}
inline QStringList Sexes() { return {kMale, kFemale}; }
inline QStringList EducationLevels() { return {kDiplomaOrLess, kUniversity}; }

} // namespace texts
