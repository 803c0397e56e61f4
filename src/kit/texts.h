#pragma once
// Texts shown by more than one screen, and the main window's own.
#include <QString>

namespace texts {

inline const QString kProgramCaption = QStringLiteral("Tavora-II-71");
inline const QString kTitlePrefix = QStringLiteral("Tavora-II-71 V:");
inline const QString kCaptionRegister = QStringLiteral("ثبت نام آزمودني");
inline const QString kCaptionRunTest = QStringLiteral("اجراي تست");
inline const QString kCaptionKeying = QStringLiteral("کليد گذاري");
inline const QString kCaptionShowCode = QStringLiteral("نمايش کد آزمودني"); // design caption, before the label is read
inline const QString kCaptionShowPrefix = QStringLiteral("نمايش ");
inline const QString kCaptionAnswerSheet = QStringLiteral("پاسخنامه");
inline const QString kCaptionSettings = QStringLiteral("تنظيمات");
inline const QString kCaptionExamineeFile = QStringLiteral("فايل آزمودني");
inline const QString kCaptionAbout = QStringLiteral("درباره ما");
inline const QString kCaptionUpdate = QStringLiteral("بروز رساني");
inline const QString kCaptionExit = QStringLiteral("خروج");
inline const QString kCaptionSave = QStringLiteral("ذخيره");
inline const QString kCaptionCancel = QStringLiteral("انصراف");
inline const QString kCaptionPrevious = QStringLiteral("قبلي");
inline const QString kCaptionNext = QStringLiteral("بعدي");
inline const QString kChangesSaved = QStringLiteral("تغييرات با موفقيت ذخيره شد");
inline const QString kCaptionSelectExaminee = QStringLiteral("انتخاب آزمودني");
inline const QString kHintRegisterA = QStringLiteral(" شما بايد هر آزمودني را ابتدا ثبت نام کرده و سپس روي دکمه اجراي تست کليک کرده و ");
inline const QString kHintRegisterB = QStringLiteral(" را وارد کنيد");
inline const QString kHintRunTestA = QStringLiteral(" جهت پاسخ دادن به سؤالها روي اين دکمه کليک کنيد و  ");
inline const QString kHintRunTestB = QStringLiteral(" مورد نظر را وارد کنيد");
inline const QString kHintKeying = QStringLiteral(" جهت کليد گذاري و محاسبه نتيجه تست روي اين دکمه کليک مي کنيد");
inline const QString kHintShowA = QStringLiteral(" درصورتيکه ");
inline const QString kHintShowB = QStringLiteral(" را فراموش کرده ايد با کليک بر روي  اين قسمت مي توانيد آن را بدست بياوريد. همچنين براي حذف آزمودني به اين قسمت مراجه نمائيد");
inline const QString kHintSettings = QStringLiteral("با کليک بر روي اين دکمه شمامي توانيد:1- تم برنامه را عوض کنيد 2- نام و آدرس کلينيک را وارد کنيد");
inline const QString kPermanentNotice = QStringLiteral("جهت اطلاع از بروزرساني نرم افزارها، در کانال تلگرام ما عضو شويد");
inline const QString kCaptionJoinChannel = QStringLiteral("عضويت در کانال");
inline const QString kCaptionHelp = QStringLiteral("Help");
inline const QString kTooltipHelp = QStringLiteral("براي مشاهده اين قسمت بايد به اينترنت کانکت شويد");
inline const QString kCaptionSoftwareList = QStringLiteral("دانلود ليست نرم افزار ");
inline const QString kTooltipSite = QStringLiteral("جهت ورود به سايت کليک کنيد");
inline const QString kProgramRunning = QStringLiteral("برنامه در حال اجراست");
inline const QString kMustEnterA = QStringLiteral("شما بايد ");
inline const QString kMustEnterB = QStringLiteral("  مورد نظر را وارد كنيد ");
inline const QString kEnterSuffix = QStringLiteral("را وارد کنيد");
inline const QString kEnterCodePrompt = QStringLiteral(" Enter Code ");
inline const QString kMustEnterNumber = QStringLiteral("شما بايد عدد وارد كنيد");
inline const QString kNoSuchPerson = QStringLiteral("فردي با اين مشخصات وجود ندارد");
inline const QString kSaved = QStringLiteral("ذخيره شد");
inline const QString kChooseSex = QStringLiteral("جنسيت را انتخاب كنيد");
inline const QString kChooseEducation = QStringLiteral("ميزان تحصيلات را انتخاب كنيد");
inline const QString kDefaultIdentifierLabel = QStringLiteral("کد آزمودني");
// A chosen path that is no regular file (a folder, a FIFO, a device) is not read.
inline const QString kNotARegularFile = QStringLiteral("مسير انتخاب شده يک فايل معمولي نيست و خوانده نشد.");

// "you must enter the <label> wanted"
inline QString MustEnterCode(const QString& label) { return kMustEnterA + label + kMustEnterB; }
// Title of the code input box: the label, two blanks, "enter".
inline QString EnterCodeTitle(const QString& label) { return label + QStringLiteral("  ") + kEnterSuffix; }
inline QString ProgramTitle(int major, int minor)
{
    return kTitlePrefix + QLatin1Char(' ') + QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

} // namespace texts
