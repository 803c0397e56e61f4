#pragma once
// Captions of the profile screen, exactly as the screen shows them.
#include <QString>

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

} // namespace profile::screen_texts
