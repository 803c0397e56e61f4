#pragma once
// Texts of the registration panel.
#include "kit/texts.h"

#include <QString>

namespace texts {

inline const QString kCaptionCode = QStringLiteral(" :کدآزمودني");
inline const QString kCaptionMaritalStatus = QStringLiteral(" :تاهل");
inline const QString kCaptionEducation = QStringLiteral(":ميزان تحصيلات");
inline const QString kCaptionGroup = QStringLiteral(" :گروه");
inline const QString kEnterGivenName = QStringLiteral("نام آزمودني را وارد کنيد");
inline const QString kEnterFamilyName = QStringLiteral("نام خانوادگي آزمودني را وارد کنيد");
inline const QString kSpecifySex = QStringLiteral("جنسيت آزمودني را مشخص کنيد");
inline const QString kEnterAge = QStringLiteral("سن آزمودني را وارد کنيد");
inline const QString kSpecifyMaritalStatus = QStringLiteral("وضعيت تاهل آزمودني را مشخص کنيد");
inline const QString kSpecifyGroup = QStringLiteral("گروه را مشخص کنيد");
inline const QString kEnterEducation = QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد");
inline const QString kCodeTaken = QStringLiteral("فردديگري با اين کد ثبت شده");

} // namespace texts
