#pragma once
// The Persian texts of the norm tables: their workbook, the check of a new table, the panel.
#include <QString>

namespace norms::texts {

// The delivered tables, as the panel, the workbook and every output name them.
inline const QString kDeliveredName = QStringLiteral("نرم همراه برنامه");
inline const QString kDeliveredSource = QStringLiteral(
    "نمره هاي T خطي از ميانگين ها و انحراف معيارهايي که براي نمونه برگزيده شده اند؛ روي هيچ نمونه اي اعتباريابي نشده اند.");
inline const QString kProvisional = QStringLiteral("موقت");
// A table changed outside the program (before it kept these facts): what it is, nobody knows.
inline const QString kUnrecordedName = QStringLiteral("جدول بي نام");
inline const QString kUnrecordedSource = QStringLiteral("بيرون از برنامه تغيير کرده است؛ منبع آن ثبت نشده است.");

// The workbook.
inline const QString kSheetTitle = QStringLiteral("جدول نرم");
inline const QString kNameCaption = QStringLiteral("نام");
inline const QString kSourceCaption = QStringLiteral("منبع");
inline const QString kChangedCaption = QStringLiteral("آخرين تغيير");
inline const QString kRawCaption = QStringLiteral("نمره خام");
inline const QString kSheetNote = QStringLiteral(
    "نمره T هر مقياس را تا بيشترين نمره خام آن بنويسيد (خانه هاي خالي پايين تر خوانده نمي شوند). "
    "هر نمره T عدد صحيحي از %1 تا %2 است و با بالا رفتن نمره خام کم نمي شود. نام و منبع را هم بنويسيد.");

// What is wrong with a sheet (the sheet and the cell are said before it).
inline const QString kNoSheet = QStringLiteral("برگه «%1» در اين فايل نيست.");
inline const QString kWrongHeader = QStringLiteral("بايد «%1» باشد، نه «%2».");
inline const QString kNoName = QStringLiteral("نام جدول خالي است.");
inline const QString kLongName = QStringLiteral("نام جدول بيش از %1 نويسه است.");
inline const QString kNoSource = QStringLiteral("منبع جدول خالي است.");
inline const QString kMissingRaw = QStringLiteral("بايد نمره خام %1 باشد، نه «%2»؛ رديف اين نمره خام نيست.");
inline const QString kEmptyT = QStringLiteral("نمره T مقياس %1 براي نمره خام %2 خالي است.");
inline const QString kNotANumber = QStringLiteral("«%1» عدد نيست.");
inline const QString kFractionalT = QStringLiteral("نمره T «%1» عدد صحيح نيست.");
inline const QString kTOutOfRange = QStringLiteral("نمره T %1 بيرون از %2 تا %3 است.");
inline const QString kFallingT = QStringLiteral(
    "نمره T %1 از نمره T نمره خام %2 (%3) کمتر است؛ نمره T با بالا رفتن نمره خام کم نمي شود.");
inline const QString kWhereInSheet = QStringLiteral("برگه %1، خانه %2: %3");
inline const QString kWhereSheet = QStringLiteral("برگه %1: %2");
inline const QString kUnreadableWorkbook = QStringLiteral("فايل خوانده نشد.");

} // namespace norms::texts

namespace norms::texts {

// The panel.
inline const QString kPanelTitle = QStringLiteral("جداول نرم");
inline const QString kColumnGroup = QStringLiteral("گروه");
inline const QString kColumnName = QStringLiteral("نام");
inline const QString kColumnSource = QStringLiteral("منبع");
inline const QString kColumnChanged = QStringLiteral("آخرين تغيير");
inline const QString kColumnKind = QStringLiteral("موقت");
inline const QString kYes = QStringLiteral("بله");
inline const QString kNo = QStringLiteral("خير");
inline const QString kNeverChanged = QStringLiteral("—");
inline const QString kSourceLine = QStringLiteral("منبع جدول انتخاب شده: %1");
inline const QString kKeptLine = QStringLiteral("جدول کنار گذاشته اين گروه: «%1»، از %2");
inline const QString kKeptDelivered = QStringLiteral("جدول کنار گذاشته اين گروه: «%1»، موقت و همراه برنامه");
inline const QString kNothingKept = QStringLiteral("براي اين گروه جدولي کنار گذاشته نشده است.");
inline const QString kStoredScoresNote = QStringLiteral(
    "نمره هاي T که براي آزمودني ها ذخيره شده اند با تغيير جدول عوض نمي شوند؛ نمره هاي هر آزمودني وقتي "
    "دوباره نيمرخ او باز شود با جدول تازه حساب و ذخيره مي شوند.");

inline const QString kExportOne = QStringLiteral("خروجي اکسل اين جدول");
inline const QString kExportAll = QStringLiteral("خروجي اکسل هر چهار جدول");
inline const QString kImportOne = QStringLiteral("ورود اين جدول از اکسل");
inline const QString kImportAll = QStringLiteral("ورود هر چهار جدول از اکسل");
inline const QString kPutBack = QStringLiteral("بازگرداندن جدول کنار گذاشته");
inline const QString kRestoreDelivered = QStringLiteral("بازگرداندن جداول همراه برنامه");
inline const QString kClose = QStringLiteral("خروج");

inline const QString kWorkbookFilter = QStringLiteral("کارپوشه اکسل (*.xlsx *.xls)");
inline const QString kSaveFilter = QStringLiteral("کارپوشه اکسل (*.xlsx)");
inline const QString kOneFileName = QStringLiteral("جدول نرم %1.xlsx");
inline const QString kAllFileName = QStringLiteral("جداول نرم.xlsx");

inline const QString kNotRead = QStringLiteral("جداول نرم خوانده نشدند.");
inline const QString kNotExported = QStringLiteral("فايل اکسل جداول نرم نوشته نشد.");
inline const QString kExported = QStringLiteral("جداول نرم در اين فايل نوشته شدند:\n%1");
inline const QString kWorkbookNotRead = QStringLiteral("فايل %1 خوانده نشد؛ هيچ جدولي تغيير نکرد.");
inline const QString kRefused = QStringLiteral("جدول وارد نشد و هيچ جدولي تغيير نکرد:");
inline const QString kUnchanged =
    QStringLiteral("جداول اين فايل همان جداولي اند که به کار مي روند؛ هيچ جدولي تغيير نکرد.");
inline const QString kNotReplaced = QStringLiteral("جدول جايگزين نشد؛ هيچ جدولي تغيير نکرد.");
inline const QString kReplaced = QStringLiteral(
    "جدول نرم اين گروه ها جايگزين شد: %1\nجدول قبلي هر گروه کنار گذاشته شد و مي توان آن را بازگرداند.");
inline const QString kPutBackQuestion = QStringLiteral(
    "جدول کنار گذاشته «%1» دوباره براي گروه %2 به کار رود؟ جدول کنوني به جاي آن کنار گذاشته مي شود.");
inline const QString kPutBackDone = QStringLiteral("جدول «%1» دوباره براي گروه %2 به کار مي رود.");
inline const QString kNotPutBack = QStringLiteral("جدول کنار گذاشته بازگردانده نشد؛ هيچ جدولي تغيير نکرد.");
inline const QString kRestoreQuestion = QStringLiteral(
    "جداول نرم همراه برنامه (موقت) به جاي جداول کنوني به کار روند؟ هر جدولي که جايگزين شود کنار گذاشته مي شود.");
inline const QString kRestored = QStringLiteral("جداول همراه برنامه دوباره به کار مي روند: %1");
inline const QString kNothingToRestore = QStringLiteral("همه گروه ها همين حالا جداول همراه برنامه را به کار مي برند.");
inline const QString kNotRestored = QStringLiteral("جداول همراه برنامه بازگردانده نشدند؛ هيچ جدولي تغيير نکرد.");

} // namespace norms::texts

namespace norms::texts {

// The provenance line of every result.
inline const QString kNormPart = QStringLiteral("جدول نرم: %1");
inline const QString kProvisionalNorm = QStringLiteral("%1 (موقت)");
inline const QString kDatedNorm = QStringLiteral("%1، %2");
inline const QString kNoNormTable = QStringLiteral("—");
inline const QString kVersionPart = QStringLiteral("Tavora-II-71 نسخه %1");
inline const QString kCheckPart = QStringLiteral("کد بررسي پاسخ ها: %1");

} // namespace norms::texts
