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

// Finding the examinee of a printed result by the check code of its answers.
inline const QString kCaptionCheckCode = QStringLiteral(" :کد بررسي پاسخ ها");
inline const QString kCaptionFindByCheck = QStringLiteral("پيدا کردن");
inline const QString kNotACheckCode = QStringLiteral("کد بررسي هشت نويسه از 0 تا 9 و a تا f است، مانند 1a2b3c4d.");
inline const QString kNoAnswersWithCheck = QStringLiteral(
    "پاسخ هاي ذخيره شده هيچ آزمودني اي اين کد بررسي را ندارند: يا کد درست خوانده نشده است، يا پاسخ ها پس از "
    "چاپ تغيير کرده اند.");
inline const QString kManyWithCheck = QStringLiteral("%1 آزمودني اين کد بررسي را دارند؛ %2 تاي نخست نشان داده مي شوند.");
inline const QString kAnswersNotRead = QStringLiteral("پاسخ هاي آزمودني ها خوانده نشدند.");

} // namespace texts
