#include "app/startup.h"
#include "app/frm1.h"
#include "kit/texts.h"
#include "capture/blank_workbook.h"
#include "capture/capture_texts.h"
#include "store/data_files.h"

namespace {

const QString kCannotUseFile = QStringLiteral("فايل %1 قابل استفاده نيست و برنامه بسته مي شود.\n%2");

} // namespace

std::unique_ptr<Frm1> StartProgram(AppContext& ctx, SingleInstanceGuard& guard)
{
    if (!guard.tryAcquire()) {
        ctx.dialogs().message(nullptr, titles::kWarnnig, texts::kProgramRunning, Dialogs::Icon::Information);
        return nullptr;
    }
    // An existing file that is damaged is never overwritten: name it and end in order.
    const store::PrepareOutcome prepared = store::PrepareProgramFolder(ctx.programFolder());
    if (!prepared.ok) {
        ctx.dialogs().message(nullptr, titles::kError, kCannotUseFile.arg(prepared.fileName, prepared.error),
                              Dialogs::Icon::Critical);
        return nullptr;
    }
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
