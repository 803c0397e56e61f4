#pragma once
// Texts of the lookup and deletion screen.
#include "kit/texts.h"

#include <QString>

namespace texts {

inline const QString kLookupTitle = QStringLiteral("کد آزمودني"); // the window title
inline const QString kGridCaption = QStringLiteral("مشخصات آزمودني");
inline const QString kHeaderGivenName = QStringLiteral("نام");
inline const QString kHeaderFamilyName = QStringLiteral("نام خانوادگي");
inline const QString kHeaderGroup = QStringLiteral("گروه");
inline const QString kCaptionGivenNameList = QStringLiteral(" :نام "); // trailing blank
inline const QString kCaptionDeleteFrame = QStringLiteral("حذف کردن آزمودني");
inline const QString kCaptionDelete = QStringLiteral("حذف "); // trailing blank
inline const QString kNoSuchCode = QStringLiteral("فردي با اين کد وجود ندارد");
inline const QString kConfirmDelete = QStringLiteral("آيا براي حذف کردن مطمئن هستيد؟");
inline const QString kDeleted = QStringLiteral("حذف با موفقيت انجام گرفت");
// The results of every examinee the grid shows, in one workbook.
inline const QString kCaptionGroupExcel = QStringLiteral("خروجي اكسل گروه");

} // namespace texts
