#pragma once
// Captions and messages of the scoring screen, exactly as the screen shows them.
#include "kit/texts.h"

#include <QString>
#include <QStringList>

namespace scoring::texts {

// select examinee (shared with the capture screens)
using ::texts::kCaptionSelectExaminee;
// view profile
inline const QString kCaptionViewProfile = QStringLiteral("مشاهده پروفايل");
// help
inline const QString kCaptionHelp = QStringLiteral("راهنما");
// exit (leading blank)
// The scoring screen's exit caption carries a leading blank, unlike the shared one.
inline const QString kCaptionExitLeadingBlank = QStringLiteral(" خروج");
// you have not answered the following questions
inline const QString kUnansweredIntro = QStringLiteral("شما به سوالات زير پاسخ نداده ايد");
// first select an examinee (ends with two blanks)
inline const QString kSelectFirst = QStringLiteral("ابتدا روي دكمه انتخاب آزمودني کليک کرده سپس کد آزمودني را وارد کنيد  ");

// The help panel, one line each; every line ends in a line break.
inline const QStringList kHelpLines = {
    QStringLiteral("در اين قسمت از نرم افزار ابتدا روي انتخاب آزمودني "),
    QStringLiteral("کليک کرده سپس کد آزمودني را وارد کنيد و دکمه "),
    QStringLiteral("اينتر را فشار دهيد نتيجه آزمون نمايش داده مي شد  در صورتيکه تمايل داريد پروفايل و تفسير آزمودني "),
    QStringLiteral("انتخاب شده را مشاهده نماييد روي دكمه مشاهده "),
    QStringLiteral("پروفايل  کليک کنيد "),
};

// Caption beside the unanswered count.
inline const QString kCaptionUnanswered = QStringLiteral("تعداد سوالات بي پاسخ:");
// Failures: what could not be read or stored, followed by the reason.
inline const QString kCannotReadExaminee = QStringLiteral("اطلاعات آزمودني از فايل خوانده نشد");
inline const QString kCannotSaveIdentity = QStringLiteral("مشخصات آزمودني ذخيره نشد");

// Shown instead of the profile of responses that have no identity row.
inline const QString kNoIdentityRow =
    QStringLiteral("اين پاسخنامه مشخصات ثبت شده (رديف جدول IDE) ندارد؛ نيمرخ و نمره ها براي آن ساخته و ذخيره نمي شود. "
                   "ابتدا آزمودني را با همين کد ثبت نام کنيد.");

} // namespace scoring::texts
