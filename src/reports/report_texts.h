#pragma once
// Texts of the printed report and of the Word document, exactly as they stand.
#include <QString>

namespace reports::texts {

// Captions of the report's identity rows.
inline const QString kCaptionTestDate = QStringLiteral("تاريخ اجراي آزمون:"); // test date
inline const QString kCaptionGroup = QStringLiteral("گروه:");
inline const QString kCaptionGivenName = QStringLiteral("نام:");
inline const QString kCaptionFamilyName = QStringLiteral("نام خانوادگي:");
inline const QString kCaptionSex = QStringLiteral("جنس:");
inline const QString kCaptionAge = QStringLiteral("سن:");
inline const QString kCaptionMaritalStatus = QStringLiteral("وضعيت تاهل:");
inline const QString kCaptionEducation = QStringLiteral("تحصيلات:");
inline const QString kCaptionUnanswered = QStringLiteral("تعداد سوالات بدون پاسخ:"); // number of unanswered items
inline const QString kCaptionSuffix = QStringLiteral(":"); // after the identifier label

// The identity line of the Word document: captions with their blanks, and the separator.
inline const QString kLineCode = QStringLiteral("كد آزمودني:  "); // two blanks
inline const QString kLineSeparator = QStringLiteral(" -  "); // blank, hyphen, two blanks
inline const QString kLineGivenName = QStringLiteral("نام: "); // one blank
inline const QString kLineFamilyName = QStringLiteral("نام خانوادگي:  "); // two blanks
inline const QString kLineSex = QStringLiteral("جنس:  ");
inline const QString kLineAge = QStringLiteral("سن:  ");
inline const QString kLineMaritalStatus = QStringLiteral("وضعيت تاهل:   "); // three blanks
inline const QString kLineEducation = QStringLiteral("تحصيلات:  ");

// The document's file name (kept in the user's Documents folder) and the picture's extension.
inline const QString kWordFileName = QStringLiteral("tavora71IR.docx");

// "your file ... was created", the two halves around three empty lines.
inline const QString kWordCreatedA = QStringLiteral(": فايل شما");
inline const QString kWordCreatedB = QStringLiteral(". ساخته شد");
inline QString WordCreatedMessage() { return kWordCreatedA + QStringLiteral("\r\n\r\n\r\n\r\n") + kWordCreatedB; }

// Our own texts: the preview window, and what the user is told when something cannot be done.
inline const QString kPreviewTitle = QStringLiteral("پیش‌نمایش گزارش");
inline const QString kActionPrint = QStringLiteral("چاپ");
inline const QString kActionSavePdf = QStringLiteral("ذخیره PDF");
inline const QString kActionZoomIn = QStringLiteral("بزرگ‌نمایی");
inline const QString kActionZoomOut = QStringLiteral("کوچک‌نمایی");
inline const QString kActionFitWidth = QStringLiteral("عرض صفحه");
inline const QString kActionFitPage = QStringLiteral("تمام صفحه");
inline const QString kActionPreviousPage = QStringLiteral("صفحه قبل");
inline const QString kActionNextPage = QStringLiteral("صفحه بعد");
inline const QString kSavePdfTitle = QStringLiteral("ذخیره گزارش به صورت PDF");
inline const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");
inline const QString kNoPrinter = QStringLiteral("هیچ چاپگری روی این رایانه نصب نشده است. گزارش را می‌توانید به صورت PDF ذخیره کنید.");
inline const QString kCaptureFailed = QStringLiteral("از صفحه نمودار تصویر گرفته نشد؛ گزارش ساخته نشد.");
inline const QString kReportFailed = QStringLiteral("گزارش رسم نشد: ");
inline const QString kWriteFailed = QStringLiteral("این فایل نوشته نشد:");
inline const QString kPdfSaved = QStringLiteral("گزارش ذخیره شد:");
inline const QString kNoWordApp = QStringLiteral("برنامه‌ای برای باز کردن فایل Word پیدا نشد. فایل در این مسیر ذخیره شده است:");

// "could not write:", the path and the reason, each on its own line.
inline QString WriteFailedMessage(const QString& path, const QString& reason)
{
    return kWriteFailed + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + reason;
}

} // namespace reports::texts
