#include "group/group_export.h"
#include "capture/xlsx_writer.h"
#include "examinees/lookup_texts.h"
#include "kit/twips.h"
#include "group/group_members.h"
#include "group/group_results.h"
#include "reports/output_files.h"
#include "reports/report_texts.h"
#include "store/schema.h"

#include <QDir>
#include <QProgressDialog>

namespace {

const QString kFilter = QStringLiteral("Excel (*.xlsx)");
const QString kExtension = QStringLiteral(".xlsx");
const QString kNobody = QStringLiteral("جدول هيچ آزمودني را نشان نمي دهد؛ خروجي ساخته نشد.");
const QString kComputing = QStringLiteral("نتايج آزمودني ها محاسبه مي شود...");
const QString kWriting = QStringLiteral("فايل اكسل نوشته مي شود...");
const QString kNotRead = QStringLiteral("آزمودني ها خوانده نشدند؛ خروجي ساخته نشد.");
const QString kNormNotRead = QStringLiteral("جدول هنجار خوانده نشد؛ خروجي ساخته نشد.");
const QString kWrittenSuffix = QStringLiteral(" ساخته شد:");
const QString kRowCount = QStringLiteral("تعداد آزمودني ها: %1");

// The dialog is brought up to date, and a cancel looked for, this often.
constexpr int kProgressStep = 100;
// Examinees read from the file at once (a multiple of the step above).
constexpr int kReadRows = 1000;
// Shown only when the export takes longer than this.
constexpr int kProgressDelayMs = 400;

} // namespace

GroupExport::GroupExport(AppContext& ctx, QWidget* owner)
    : ctx_(ctx)
    , owner_(owner)
{
}

GroupExport::~GroupExport() = default;

GroupExport::Outcome GroupExport::fail(const QString& reason)
{
    ctx_.dialogs().message(owner_, titles::kError, reason, Dialogs::Icon::Critical);
    return Outcome::Failed;
}

GroupExport::Outcome GroupExport::run(const QStringList& codes, const QString& identifierLabel)
{
    path_.clear();
    if (codes.isEmpty()) {
        ctx_.dialogs().message(owner_, titles::kAttention, kNobody, Dialogs::Icon::Information);
        return Outcome::Cancelled;
    }
    const QString folder = documentsFolder_.isEmpty() ? reports::DocumentsFolder() : documentsFolder_;
    const QString proposed = QDir(folder).filePath(group::GroupWorkbookName(ctx_.clock().now().date()));
    QString path = ctx_.dialogs().saveFileName(owner_, texts::kCaptionGroupExcel, proposed, kFilter);
    if (path.isEmpty())
        return Outcome::Cancelled;
    if (!path.endsWith(kExtension, Qt::CaseInsensitive))
        path += kExtension;
    path_ = path;

    const int total = int(codes.size());
    QProgressDialog dialog(kComputing, texts::kCaptionCancel, 0, total, owner_);
    dialog.setWindowTitle(texts::kCaptionGroupExcel);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumWidth(twips(5400));
    dialog.setMinimumDuration(kProgressDelayMs);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    progress_ = &dialog;
    struct Forget {
        QProgressDialog*& p;
        ~Forget() { p = nullptr; }
    } forget{progress_};
    const auto failWith = [&](const QString& what, const QString& why) {
        dialog.close();
        return fail(what + QStringLiteral("\r\n") + why);
    };

    const QString shown = QDir::toNativeSeparators(path);
    // Each row goes into the archive as it is computed, beside the target; the file is renamed
    // into place only when complete.
    group::GroupSheet sheet(identifierLabel);
    workbook::XlsxWriter writer;
    const auto writeFailed = [&](const QString& why) {
        dialog.close();
        return fail(reports::texts::WriteFailedMessage(shown, why));
    };
    const auto notWritten = [&] { return writeFailed(QStringLiteral("the workbook could not be written")); };
    if (const store::Result r = writer.open(path, {sheet.layout()}); !r)
        return writeFailed(r.error);
    if (!writer.beginSheet())
        return notWritten();

    profile::NormTableCache norms(ctx_.path(store::kNormsFile),
                                  [this](const QString& table) { return ctx_.dataProblem(table); });
    const profile::NormTables tables = norms.tables();
    // Read a part at a time: a whole clinic's examinees are never held at once.
    QList<examinees::ExamineeRecord> members;
    for (int from = 0; from < total; from += kReadRows) {
        if (const store::Result r = group::ReadGroupMembers(ctx_.path(store::kExamineeFile), codes.mid(from, kReadRows), members); !r)
            return failWith(kNotRead, r.error);
        for (qsizetype i = 0; i < members.size(); ++i) {
            if (i % kProgressStep == 0) {
                dialog.setValue(from + int(i)); // lets the dialog show itself and its cancel button work
                Q_EMIT progressed(from + int(i), total);
                if (dialog.wasCanceled())
                    return Outcome::Cancelled;
            }
            const group::GroupSheet::Row row = sheet.next(group::ComputeGroupResult(members.at(i), tables));
            if (!norms.readError().isEmpty())
                return failWith(kNormNotRead, norms.readError());
            if (!writer.addRow(row.number, row.cells, row.height))
                return notWritten();
        }
    }
    dialog.setLabelText(kWriting);
    dialog.setValue(total);
    Q_EMIT progressed(total, total);
    if (dialog.wasCanceled())
        return Outcome::Cancelled;

    if (const store::Result written = writer.finish(); !written)
        return writeFailed(written.error);
    dialog.close();
    ctx_.dialogs().message(owner_, titles::kMessage,
                           texts::kCaptionGroupExcel + kWrittenSuffix + QStringLiteral("\r\n") + shown + QStringLiteral("\r\n") + kRowCount.arg(sheet.rows()),
                           Dialogs::Icon::Information);
    return Outcome::Written;
}
