#include "app/startup.h"
#include "app/main_window.h"
#include "kit/texts.h"
#include "capture/blank_workbook.h"
#include "capture/capture_texts.h"
#include "profile/delivered_check.h"
#include "store/data_files.h"

namespace {

const QString kDamagedData = QStringLiteral("اين جدولهاي برنامه آسيب ديده اند؛ آنچه به آنها نياز دارد کار نمي کند:");
const QString kFolderNotWritable = QStringLiteral("در پوشه برنامه نمي توان نوشت و برنامه بسته مي شود:\n%1");
const QString kThemeFilesMissing = QStringLiteral("فايلهاي تم برنامه ساخته نشد؛ برنامه با ظاهر ساده کار مي کند.\n%1");
const QString kCannotUseFile = QStringLiteral("فايل %1 قابل استفاده نيست و برنامه بسته مي شود.\n%2");

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
    // An existing file that is damaged is never overwritten: name it and end in order.
    const store::PrepareOutcome prepared = store::PrepareProgramFolder(ctx.programFolder());
    if (!prepared.ok) {
        ctx.dialogs().message(nullptr, titles::kError, kCannotUseFile.arg(prepared.fileName, prepared.error),
                              Dialogs::Icon::Critical);
        return nullptr;
    }
    // Themes are looks only: without their files the program goes on in the plain look.
    if (!prepared.themeProblem.isEmpty())
        ctx.dialogs().message(nullptr, titles::kWarning, kThemeFilesMissing.arg(prepared.themeProblem),
                              Dialogs::Icon::Warning);
    // Damaged delivered tables are named once; the rest of the program works on.
    ctx.setDataProblems(profile::CheckDeliveredData(ctx.programFolder()));
    if (const QStringList problems = ctx.dataProblems(); !problems.isEmpty())
        ctx.dialogs().message(nullptr, titles::kError, kDamagedData + QLatin1Char('\n') + problems.join(QLatin1Char('\n')),
                              Dialogs::Icon::Critical);
    // The blank answer workbook, for clinics that cannot reach the publisher's site; the
    // program works without it.
    if (const store::Result r = workbook::WriteBlankWorkbookIfMissing(ctx.programFolder()); !r)
        ctx.dialogs().message(nullptr, titles::kError, texts::kBlankWorkbookNotWritten + QLatin1Char('\n') + r.error,
                              Dialogs::Icon::Warning);
    auto window = std::make_unique<Frm1>(ctx);
    if (!window->load()) {
        ctx.dialogs().message(nullptr, titles::kError, kCannotUseFile.arg(QString(), window->loadError()),
                              Dialogs::Icon::Critical);
        return nullptr;
    }
    return window;
}
