#pragma once
// Texts of the leaving, backup, about and update screens.
#include <QString>

namespace maintenance::texts {

// Exit confirmation
inline const QString kExitQuestion = QStringLiteral("آيا براي خروج از برنامه اطمينان داريد");
inline const QString kMakeBackupCopy = QStringLiteral("تهيه نسخه پشتيبان"); // the check box; also the design caption
inline const QString kBackingUp = QStringLiteral("پشتيبان گيري");
inline const QString kMakeBackupCopyCaption = QStringLiteral(" تهيه نسخه پشتيبان"); // leading blank

// About screen
inline const QString kAboutCaption = QStringLiteral("about");
inline const QString kAboutFrame = QStringLiteral("درباره");
inline const QString kCreditSoftwareName = QStringLiteral("نام نرم افزار:");
inline const QString kCreditSoftware = QStringLiteral(" نرم افزار تست Tavora-II-71"); // leading blank

// Backup and restore
inline const QString kBackupTitle = QStringLiteral("Back up ...  Reastor");
// In the form Qt's file dialogs read: a description, then the patterns in parentheses.
inline const QString kBackupFilter = QStringLiteral("Database Backup (*.mdbB)");
inline const QString kBackupNameStart = QStringLiteral("Tavora71");
inline const QString kBackupNameOnDate = QStringLiteral("در تاريخ");
inline const QString kBackupNameHour = QStringLiteral(" ساعت)"); // leading blank
inline const QString kChooseCaption = QStringLiteral("---");
inline const QString kCaptionBackup = QStringLiteral("BACKUP");
inline const QString kCaptionRestore = QStringLiteral("REASTOR");
inline const QString kCaptionHelp = QStringLiteral("راهنما");
inline const QString kTitleErrorLatin = QStringLiteral("Error"); // boxes that show a failure's own description
inline const QString kEnterBackupPath = QStringLiteral("لطفا مسير تهيه نسخه پشتيبان را وارد کنيد");
inline const QString kReplaceBackup = QStringLiteral("فايل پشتيباني با اين نام قبلا ايجاد شده آيا ميخواهيد اين فايل را جايگزين کنيد؟");
inline const QString kBackupMade = QStringLiteral("نسخه پشتيبان تهيه گرديد");
inline const QString kBackupNotMade = QStringLiteral("عدم موفقيت در تهيه نسخه پشتيبان");
inline const QString kEnterRestorePath = QStringLiteral("لطفا مسير فايل مربوطه را وارد کنيد");
inline const QString kAskRestore = QStringLiteral("آيا ميخواهيد اطلاعات را بازيابي کنيد؟");
inline const QString kRestored = QStringLiteral("بازيابي اطلاعات انجام شد");
inline const QString kNotRestored = QStringLiteral("عدم موفقيت در بازيابي اطلاعات "); // trailing blank
inline const QString kCloseOtherWindows = QStringLiteral("تمامي فرم ها را ببندبد به جز فرم اصلي و اين پنجره");
inline const QString kCopyFailed = QStringLiteral("اشکال در ايجاد نسخه پشتيباني");

// Update
inline const QString kCaptionCheckUpdate = QStringLiteral("بررسي آپديت جديد");
inline const QString kUpdateExplanation = QStringLiteral("جهت به روز رساني نرم افزار ابتدا اتصال به اينترنت را چک کرده و سپس روي دکمه بررسي آپديت جديد کليک کنيد");
inline const QString kNoConnection = QStringLiteral("ارتباط شما با اينترنت برقرار نمي باشد "); // trailing blank
inline const QString kPleaseWait = QStringLiteral("Please wait...");
inline const QString kLatestVersion = QStringLiteral("شما آخرين ورژن نرم افزار را داريد  "); // two trailing blanks
inline const QString kNoticeHeading = QStringLiteral("آپديت جديد نرم افزار");
inline const QString kNoticeText = QStringLiteral("ورژن جديد نرم افزار بر روي سايت قرار گرفته است جهت آپديت روي دكمه بروزرساني كليك كنيد");
inline const QString kNoticeWarning = QStringLiteral("قبل از بروزرساني حتما بكاپ بگيريد");
inline const QString kCaptionClose = QStringLiteral("بستن");
inline const QString kDownloadTitle = QStringLiteral("Downloading File ... "); // trailing blank
inline const QString kCaptionDownload = QStringLiteral("دانلود");
inline const QString kCaptionCancel = QStringLiteral("انصراف");
inline const QString kProductName = QStringLiteral("Tavora-71");
inline const QString kAddressCaption = QStringLiteral("Address File :");
inline const QString kDownloadDone = QStringLiteral("دانلود فايل با موفقيت به پايان رسيد "); // trailing blank
inline const QString kTitleSuccess = QStringLiteral("Success");

} // namespace maintenance::texts

namespace maintenance::texts {

// Refusals that protect the current data: a file that is not a backup of this program, and a
// database that cannot be opened again after a restore.
inline const QString kNotOurDatabase =
    QStringLiteral("فايل انتخاب شده نسخه پشتيبان اطلاعات اين برنامه نيست؛ اطلاعات فعلي دست نخورده باقي ماند.");
inline const QString kCannotReopen = QStringLiteral("برنامه نمي تواند دوباره باز شود و بسته مي شود.");

// Backups sealed with a passphrase.
inline const QString kCaptionSeal = QStringLiteral("رمزگذاري نسخه پشتيبان با گذرواژه");
inline const QString kPassphraseTitle = QStringLiteral("گذرواژه");
inline const QString kAskNewPassphrase = QStringLiteral(
    "گذرواژه نسخه پشتيبان را وارد کنيد (دست کم 8 نويسه).\nاين گذرواژه جايي نگه داشته نمي شود و بدون آن بازيابي ممکن نيست.");
inline const QString kRepeatPassphrase = QStringLiteral("گذرواژه را دوباره وارد کنيد:");
inline const QString kPassphraseTooShort = QStringLiteral("گذرواژه بايد دست کم 8 نويسه باشد؛ نسخه پشتيبان تهيه نشد.");
inline const QString kPassphrasesDiffer = QStringLiteral("دو گذرواژه يکسان نيستند؛ نسخه پشتيبان تهيه نشد.");
inline const QString kAskBackupPassphrase = QStringLiteral("اين نسخه پشتيبان با گذرواژه رمزگذاري شده است. گذرواژه آن را وارد کنيد:");
inline const QString kSealRefused = QStringLiteral(
    "گذرواژه درست نيست، يا فايل پشتيبان تغيير کرده يا ناقص است؛ اطلاعات فعلي دست نخورده باقي ماند.");
inline constexpr int kMinPassphraseLength = 8;

} // namespace maintenance::texts
