#pragma once
// Texts of the settings, clinic details and theme panels.
#include "kit/texts.h"

#include <QString>

namespace texts {

// Clinic details: the caption of each field of the settings row.
inline const QString kCaptionClinicName = QStringLiteral(":نام كلينيك "); // Name, trailing blank
inline const QString kCaptionAddress = QStringLiteral(" :آدرس"); // Adress
inline const QString kCaptionEmail = QStringLiteral(":ايميل"); // T1
inline const QString kCaptionTelegram = QStringLiteral(" :تلگرام"); // T2
inline const QString kCaptionInstagram = QStringLiteral(":اينستاگرام"); // T3
inline const QString kCaptionWebSite = QStringLiteral(" :سايت"); // T4
inline const QString kCaptionTwitter = QStringLiteral(":تويتر"); // T5
inline const QString kCaptionTelephone = QStringLiteral(" :تلفن"); // T6
inline const QString kCaptionIdentifierLabel = QStringLiteral(" :كد آزمودني"); // T11; replaced by the field's own text
// The settings panel.
inline const QString kCaptionChangeTheme = QStringLiteral("تغيير تم برنامه");
inline const QString kCaptionClinicDetails = QStringLiteral(" مشخصات کلينيک");
inline const QString kCaptionEditItems = QStringLiteral(" ويرايش سوالات");
inline const QString kCaptionChooseLogo = QStringLiteral("انتخاب آرم کلينيک");
inline const QString kCaptionNormTables = QStringLiteral("جداول نرم");
inline const QString kLogoSwitchQuestion = QStringLiteral("وضعيت نمايش آرم را مشخص نمائيد");
inline const QString kLogoSwitchDesign = QStringLiteral("آرم را نمايش ندهد"); // until the stored state is read
inline const QString kLogoShown = QStringLiteral("آرم را نمايش مي دهد");
inline const QString kLogoNotShown = QStringLiteral("آرم را نمايش نمي دهد");
inline const QString kLogoSaved = QStringLiteral(" لوگو ذخيره شد"); // leading blank

} // namespace texts
