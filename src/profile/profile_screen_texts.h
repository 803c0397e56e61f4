#pragma once
// Captions of the profile screen, exactly as the screen shows them.
#include <QString>
#include <QStringList>

namespace profile::screen_texts {

// Chart title (two blanks before "Profile"), shown by Label6 and printed on the report.
inline const QString kChartTitle = QStringLiteral("Tavora-2-71  Profile For Validity and Clinical Scales T Scores for Iran");
// Row captions of the table under the chart: raw score, T score, answered share.
inline const QString kCaptionRawRow = QStringLiteral("نمره خام");
inline const QString kCaptionTRow = QStringLiteral("نمره T");
inline const QString kCaptionPercentRow = QStringLiteral("Response %");
// Buttons: interpretation, print, Word output (trailing blank); exit is the shared "خروج".
inline const QString kCaptionInterpretation = QStringLiteral("تفسير");
inline const QString kCaptionPrint = QStringLiteral("پرينت");
inline const QString kCaptionWord = QStringLiteral("خروجي Word ");
// The hidden draw-chart button.
inline const QString kCaptionDraw = QStringLiteral("رسم نمودار");

// Why there are no T scores, shown on the chart and given when an interpretation is refused.
inline QString NoNormGroup(const QString& sex, const QString& education)
{
    return QStringLiteral("نمره T محاسبه نشد: جنس «%1» و تحصيلات «%2» آزمودني با هيچ جدول هنجاري جور نيست. "
                          "جنس و تحصيلات را در صفحه کليد گذاري درست کنيد.")
        .arg(sex, education);
}
inline const QString kNormTableUnreadable = QStringLiteral("نمره T محاسبه نشد: جدول هنجار خوانده نشد.");
inline QString NoTScore(const QStringList& scales, const QString& table)
{
    return QStringLiteral("جدول هنجار %1 براي نمره خام مقياسهاي %2 نمره T ندارد؛ تفسير ساخته نمي شود.")
        .arg(table, scales.join(QStringLiteral("، ")));
}
inline const QString kScoresNotStored = QStringLiteral("نمره هاي آزمودني ذخيره نشد:");

} // namespace profile::screen_texts
