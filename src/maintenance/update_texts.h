#pragma once
// Our own texts of the update check and the download window, for what they refuse and ask.
#include <QString>

namespace maintenance::texts {

// The download folder inside the program folder; it holds nothing but downloaded packages.
inline const QString kUpdatesFolder = QStringLiteral("Updates");

inline const QString kCheckFailed =
    QStringLiteral("بررسي آپديت انجام نشد: پاسخ سرور فايل ورژن معتبري با امضاي ناشر نبود.");
inline const QString kNoPackageForSystem = QStringLiteral(
    "ورژن جديد نرم افزار منتشر شده است، اما بسته نصب آن براي اين سيستم هنوز روي سايت قرار نگرفته است.");
inline const QString kAskCloseForInstall = QStringLiteral(
    "بسته نصب ورژن جديد باز شد. براي نصب، برنامه بايد بسته شود. آيا برنامه اکنون بسته شود؟");
inline const QString kCannotOpenPackage =
    QStringLiteral("بسته نصب باز نشد. مي توانيد آن را خودتان از اين مسير نصب کنيد:");

} // namespace maintenance::texts
