#pragma once
// Texts of the test screen.
#include <QString>
#include <QStringList>

namespace texts {

inline const QString kTestCaption = QStringLiteral("صفحه اجراي تست");
inline const QString kYes = QStringLiteral("بلي");
inline const QString kNo = QStringLiteral("خير");
inline const QString kStart = QStringLiteral("شروع");
inline const QString kCaptionSaveAndExit = QStringLiteral("ذخيره و خروج");
inline const QString kCaptionTestCode = QStringLiteral(" :کد آزمودني");
inline const QString kNoticeEnd = QStringLiteral("پايان");

// What the examinee reads before he starts, one entry per line.
inline const QStringList kTestInstructionLines = {
    QStringLiteral("پرسشنامه‌اي كه در اختيار شما است، حاوي تعدادي جمله مي‌باشد با توجه به محتواي جمله‌ها پاسخ خود را در پاسخنامه وارد كنيد  الف- اگر جمله‌اي هميشه يا در اغلب مواقع در مورد شما درست است در پاسخنامه پاسخ بلي را انتخاب كنيد"),
    QStringLiteral("ب- اگر جمله‌اي هميشه يا در اغلب مواقع در مورد شما درست نيست در پاسخنامه پاسخ خير را انتخاب كنيد"),
    QStringLiteral("ج- سعي نماييد به تمام سؤالات پاسخ دهيد و سؤالي را بي‌جواب نگذاريد "),
    QStringLiteral("تذكرات "),
    QStringLiteral("الف- در اين پرسشنامه جواب صحيح يا غلط وجود ندارد، بنابر اين طبق نظر و احساس خود پاسخ دهيد  "),
    QStringLiteral("ب- اگر به جملاتي برخورديد كه به نظرتان عجيب مي‌آيد، نگران نشويد؛ و توجه داشته باشيد كه بعضي از جملات مربوط به گروه‌هاي خاصي از افراد مي‌باشد")
};
inline QString TestInstructions() { return kTestInstructionLines.join(QLatin1Char('\n')) + QLatin1Char('\n'); }

} // namespace texts
