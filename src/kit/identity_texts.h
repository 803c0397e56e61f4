#pragma once
// Captions of the examinee's identity, shared by the registration panel, the test screen's
// examinee panel and the scoring screen (the list entries are in examinees/identity.h).
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
inline const QString kChooseMaritalStatus = QStringLiteral("وضعيت تأهل را مشخص کنيد");
inline const QString kChooseGroup = QStringLiteral("گروه را انتخاب كنيد");

} // namespace texts
