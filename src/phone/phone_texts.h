#pragma once
// Texts of the phone page's window and of what the program says about it.
#include <QString>

namespace phone::texts {

inline const QString kPhoneButton = QStringLiteral("پاسخ با تلفن همراه");
inline const QString kWindowTitle = QStringLiteral("پاسخ با تلفن همراه");
inline const QString kInstruction = QStringLiteral(
    "آزمودني اين کد را با دوربين تلفن همراه خود بخواند، يا نشاني زير را در مرورگر تلفن باز کند. "
    "تلفن بايد به همين شبکه وصل باشد.");
inline const QString kCaptionAddress = QStringLiteral("نشاني اين رايانه در شبکه:");
inline const QString kCaptionLink = QStringLiteral("نشاني صفحه:");
inline const QString kCaptionProgress = QStringLiteral("پاسخ داده شده:");
inline const QString kLoopbackNote = QStringLiteral("فقط همين رايانه (براي آزمايش)");

inline const QString kStateWaiting = QStringLiteral("در انتظار باز شدن صفحه روي تلفن همراه");
inline const QString kStateBegun = QStringLiteral("آزمودني در حال پاسخ دادن است");
inline const QString kStateFinished = QStringLiteral("آزمودني پاسخ دادن را به پايان رساند");
inline const QString kStateClosed = QStringLiteral("اين پيوند بسته شد و ديگر باز نمي شود");
inline const QString kStateExpired = QStringLiteral("دو ساعت گذشت؛ اين پيوند ديگر باز نمي شود");

inline const QString kCaptionReopen = QStringLiteral("پيوند تازه");
inline const QString kReopenHint = QStringLiteral(
    "پيوند قبلي باطل مي شود؛ با پيوند تازه مي توان روي همين يا دستگاه ديگري پاسخ دادن را ادامه داد.");
inline const QString kCaptionClose = QStringLiteral("بستن");
inline const QString kAskClose = QStringLiteral("آزمودني هنوز پاسخ دادن را به پايان نرسانده است. پيوند بسته شود؟");

inline const QString kServerNotStarted = QStringLiteral("صفحه پاسخ با تلفن همراه راه اندازي نشد.");
inline const QString kResponsesNotRead = QStringLiteral("پاسخ هاي آزمودني خوانده نشد.");
inline const QString kCertificateUnusable = QStringLiteral(
    "گواهي يا کليد HTTPS در پوشه برنامه خوانده نشد؛ صفحه بدون آن باز نمي شود.");
inline const QString kCertificateHalf = QStringLiteral(
    "براي HTTPS هر دو فايل phone-certificate.pem و phone-key.pem لازم است.");
inline const QString kAnswerNotStored = QStringLiteral("پاسخ سؤال %1 که از تلفن همراه رسيد ذخيره نشد.");

} // namespace phone::texts
