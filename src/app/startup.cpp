#include "app/startup.h"
#include "app/main_window.h"
#include "app/store_setup.h"
#include "kit/texts.h"
#include "capture/blank_workbook.h"
#include "capture/capture_texts.h"
#include "app/delivered_check.h"
#include "maintenance/backup_names.h"
#include "settings/clinic_details.h"
#include "store/data_files.h"
#include "store/database_checks.h"
#include "store/private_files.h"
#include "store/schema.h"
#include "store/server.h"

#include <QDir>
#include <QEvent>
#include <QTimer>

namespace {

const QString kDamagedData = QStringLiteral("اين جدولهاي برنامه آسيب ديده اند؛ آنچه به آنها نياز دارد کار نمي کند:");
const QString kFolderNotWritable = QStringLiteral("در پوشه برنامه نمي توان نوشت و برنامه بسته مي شود:\n%1");
const QString kThemeFilesMissing = QStringLiteral("فايلهاي تم برنامه ساخته نشد؛ برنامه با ظاهر ساده کار مي کند.\n%1");
const QString kCannotUseFile = QStringLiteral("فايل %1 قابل استفاده نيست و برنامه بسته مي شود.\n%2");
const QString kExamineeFileDamaged = QStringLiteral(
    "فايل اطلاعات آزمودني ها آسيب ديده است:\n%1\nپيش از ادامه کار، آن را از آخرين نسخه پشتيبان بازيابي کنيد "
    "(خروج، تهيه نسخه پشتيبان، REASTOR).");
const QString kTightened = QStringLiteral(
    "اين پوشه ها و فايلهاي برنامه را ديگر کاربران اين رايانه هم مي توانستند بخوانند؛ از اين پس فقط شما به آنها دسترسي داريد:");

// What in the program folder holds, or may hold, examinee data: the folder, the data files and
// their journals, the profile pictures, the logo, the backups.
QStringList privatePaths(const QString& programFolder)
{
    const QDir folder(programFolder);
    QStringList paths{programFolder};
    for (const store::FileDef& file : store::dataFiles())
        for (const QString& suffix : {QString(), QStringLiteral("-journal")})
            paths << folder.filePath(file.fileName + suffix);
    paths << folder.filePath(settings::kLogoFileName);
    for (const QString& picture : folder.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        paths << folder.filePath(picture);
    const QDir back(folder.filePath(maintenance::kBackupFolder));
    paths << back.path();
    for (const QString& backup : back.entryList(QDir::Files | QDir::Hidden))
        paths << back.filePath(backup);
    return paths;
}

// What can wait until the main window has been painted, so that it shows sooner: the delivered
// tables' check (a screen that needs its answer sooner runs it then), and the examinee file's
// quick check, for at most a quarter of a second. Damage found is named, with the way back; the
// program goes on, so that the restore on its exit screen can be reached.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(AppContext& ctx, QWidget& window, bool checkExamineeFile)
        : QObject(&window)
        , ctx_(ctx)
        , window_(window)
        , checkExamineeFile_(checkExamineeFile)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !armed_) {
            armed_ = true;
            QTimer::singleShot(0, this, &AfterFirstPaint::run);
        }
        return false;
    }

private:
    void run()
    {
        window_.removeEventFilter(this);
        if (const QStringList problems = ctx_.dataProblems(); !problems.isEmpty())
            ctx_.dialogs().message(&window_, titles::kError, kDamagedData + QLatin1Char('\n') + problems.join(QLatin1Char('\n')),
                                   Dialogs::Icon::Critical);
        QString problem;
        const QString path = ctx_.path(store::kExamineeFile);
        if (checkExamineeFile_ && store::QuickCheckFile(path, kDamageCheckMs, &problem) == store::QuickCheck::Damaged)
            ctx_.dialogs().message(&window_, titles::kError,
                                   kExamineeFileDamaged.arg(QDir::toNativeSeparators(path) + QStringLiteral(": ") + problem),
                                   Dialogs::Icon::Critical);
        deleteLater();
    }

    static constexpr int kDamageCheckMs = 250;
    AppContext& ctx_;
    QWidget& window_;
    const bool checkExamineeFile_;
    bool armed_ = false;
};
const QString kCannotUseServer = QStringLiteral("پايگاه داده سرور %1 قابل استفاده نيست و برنامه بسته مي شود.\n%2");

} // namespace

std::unique_ptr<Frm1> StartProgram(AppContext& ctx, SingleInstanceGuard& guard)
{
    if (!guard.tryAcquire()) {
        if (guard.heldByAnother())
            ctx.dialogs().message(nullptr, titles::kWarnnig, texts::kProgramRunning, Dialogs::Icon::Information);
        else // not "already running": the folder itself is the problem
            ctx.dialogs().message(nullptr, titles::kError, kFolderNotWritable.arg(guard.programFolder()),
                                  Dialogs::Icon::Critical);
        return nullptr;
    }
    // The clinic's server, when one is set; else the four files.
    if (!ConnectStore(ctx, qEnvironmentVariable("TAVORA71_DATABASE")))
        return nullptr;
    // A copy cut short by a killed program leaves its ".part" file: no other copy runs now.
    store::RemoveStaleParts(ctx.programFolder());
    store::RemoveStaleParts(ctx.path(maintenance::kBackupFolder));
    // An existing file that is damaged is never overwritten: name it and end in order.
    const store::PrepareOutcome prepared = store::PrepareProgramFolder(ctx.programFolder());
    if (!prepared.ok) {
        const QString& text = store::ServerOf(ctx.programFolder()) ? kCannotUseServer : kCannotUseFile;
        ctx.dialogs().message(nullptr, titles::kError, text.arg(prepared.fileName, prepared.error), Dialogs::Icon::Critical);
        return nullptr;
    }
    // Records others could read (made by an earlier version, or copied in) are the user's alone
    // from now on; said once, as the next start finds nothing to change.
    if (const QStringList tightened = store::TightenToOwner(privatePaths(ctx.programFolder())); !tightened.isEmpty()) {
        QStringList shown;
        for (const QString& path : tightened)
            shown << QDir::toNativeSeparators(path);
        ctx.dialogs().message(nullptr, titles::kAttention, kTightened + QLatin1Char('\n') + shown.join(QLatin1Char('\n')),
                              Dialogs::Icon::Information);
    }

    // Themes are looks only: without their files the program goes on in the plain look.
    if (!prepared.themeProblem.isEmpty())
        ctx.dialogs().message(nullptr, titles::kWarning, kThemeFilesMissing.arg(prepared.themeProblem),
                              Dialogs::Icon::Warning);
    // Damaged delivered tables are named once, when the window shows; the rest of the program
    // works on.
    ctx.setDataCheck([folder = ctx.programFolder()] { return startup::CheckDeliveredData(folder); });
    // The blank answer workbook, for clinics that cannot reach the publisher's site; the
    // program works without it.
    if (const store::Result r = workbook::WriteBlankWorkbookIfMissing(ctx.programFolder()); !r)
        ReportFailure(ctx.dialogs(), nullptr, texts::kBlankWorkbookNotWritten, r.error, Dialogs::Icon::Warning);
    auto window = std::make_unique<Frm1>(ctx);
    if (!window->load()) {
        ctx.dialogs().message(nullptr, titles::kError, kCannotUseFile.arg(QString(), window->loadError()),
                              Dialogs::Icon::Critical);
        return nullptr;
    }
    // The server checks its own storage; the quick check is of the examinee file in use.
    new AfterFirstPaint(ctx, *window, !store::ServerOf(ctx.programFolder()));
    return window;
}
