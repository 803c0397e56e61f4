#pragma once
// Texts of the answer-sheet screen, the examinee-file screen and the item-edit panel.
#include <QString>

namespace texts {

// Paper answer sheet
inline const QString kSheetInstruction = QStringLiteral("جهت گزينه بلي عدد1 ، گزينه خيرعدد 2  و گزينه هاي بدون پاسخ عدد 0 را وارد نماييد");
inline const QString kSheetSaved = QStringLiteral("تغييرات با موفقيت ذخيره گرديد");
// Workbook import
inline const QString kCaptionSelectWorkbook = QStringLiteral("انتخاب فايل اكسل");
inline const QString kCaptionDownloadBlank = QStringLiteral("دانلود فايل خام اكسل");
inline const QString kCaptionExamineeName = QStringLiteral(": نام آزمودني");
inline const QString kWorkbookMarker = QStringLiteral("Tavora-II-71");
inline const QString kInsertCodePrompt = QStringLiteral(" Plese Insert Code ");
inline const QString kInsertCodeTitle = QStringLiteral("Enter Code ");
inline const QString kMustEnterExamineeNumber = QStringLiteral("شما بايد شماره آزمودني مورد نظر را وارد كنيد");
inline const QString kTitleErrorA1 = QStringLiteral("Error A1");
inline const QString kTitleErrorA3 = QStringLiteral("Error A3");
inline const QString kTitleErrorA4 = QStringLiteral("Error A4");
inline const QString kOperationFailed = QStringLiteral(" عمليات با مشکل مواجه شده است ");
inline const QString kFileNotLoadable = QStringLiteral(" فايل انتخاب شده قابل بارگذاري نيست ");
inline const QString kDataEntered = QStringLiteral("  داده ها با موفقيت وارد سيستم شدند ");
inline const QString kFileTampered = QStringLiteral("اين فايل دستكاري شده و يا اشتباه انتخاب شده است");
inline const QString kDownloadAuthentic = QStringLiteral(" لطفا فايل اصلي را از سايت دانلود كنيد ");
inline const QString kSiteAddress = QStringLiteral(" آدرس سايت ");
inline const QString kInformationSaved = QStringLiteral("اطلاعات با موفقيت ذخيره شد");
inline const QString kBlankWorkbookPath = QStringLiteral("/Soft/Tavora71/Tavora-II-71-Excel.zip");
// Item editing
inline const QString kCaptionItemNumber = QStringLiteral(": شماره سوال  ");
inline const QString kCaptionPreviousItem = QStringLiteral("<<<قبلي");
inline const QString kCaptionNextItem = QStringLiteral("بعدي >>>");
inline const QString kCaptionClose = QStringLiteral("بستن");

// Our own texts for failures the screens report.
inline const QString kResponsesNotStored = QStringLiteral("پاسخ‌هاي آزمودني ذخيره نشد.");
inline const QString kResponseRowNotCreated = QStringLiteral("رديف پاسخ‌هاي آزمودني ساخته نشد.");
inline const QString kExamineeNotRead = QStringLiteral("مشخصات آزمودني خوانده نشد.");
inline const QString kItemNotStored = QStringLiteral("متن سوال ذخيره نشد.");
inline const QString kItemNotRead = QStringLiteral("متن سوال خوانده نشد.");
// Asked when the user leaves an item whose text he changed without saving.
inline QString KeepItemEdit(int item)
{
    return QStringLiteral("متن سوال %1 تغيير كرده و ذخيره نشده است. ذخيره شود؟").arg(item);
}
inline const QString kBlankWorkbookNotWritten = QStringLiteral("فايل خام اكسل در پوشه برنامه نوشته نشد.");
// Save on the answer sheet when it would store nothing the user meant.
inline const QString kSheetNotSelected =
    QStringLiteral("هنوز آزمودني انتخاب نشده است و چيزي ذخيره نشد. ابتدا روي «انتخاب آزمودني» کليک کنيد.");
inline QString SheetOfAnotherCode(const QString& label, const QString& shown, const QString& typed)
{
    return QStringLiteral("پاسخ‌هاي روي صفحه مربوط به %1 %2 است، نه %3؛ چيزي ذخيره نشد. براي %3 ابتدا روي «انتخاب آزمودني» کليک کنيد.")
        .arg(label, shown, typed);
}
// The workbook import shows what it read before it stores it.
inline const QString kCaptionFileRead = QStringLiteral("فايل خوانده شده:");
inline const QString kCaptionValuesToStore = QStringLiteral("پاسخ‌هايي که با «ذخيره» ثبت مي‌شوند:");

} // namespace texts
