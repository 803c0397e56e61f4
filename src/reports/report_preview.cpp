#include "reports/report_preview.h"
#include "reports/output_files.h"
#include "reports/report_painter.h"
#include "reports/report_texts.h"

#include <QAction>
#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace reports {

ReportPreview::ReportPreview(AppContext& ctx, const ReportContent& content, QString documentsFolder, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
    , code_(content.identity.code)
    , documentsFolder_(std::move(documentsFolder))
    , pages_(LayoutReport(content))
    , printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("DR1"));
    setWindowTitle(texts::kPreviewTitle);
    setModal(false);
    printer_->setFullPage(true); // the report places everything itself, from the paper's corner
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setDocName(content.title);

    auto* bar = new QToolBar(this);
    printAction = bar->addAction(texts::kActionPrint, this, &ReportPreview::print);
    printAction->setObjectName(QStringLiteral("printAction"));
    savePdfAction = bar->addAction(texts::kActionSavePdf, this, &ReportPreview::saveAsPdf);
    savePdfAction->setObjectName(QStringLiteral("savePdfAction"));
    bar->addSeparator();

    preview_ = new QPrintPreviewWidget(printer_.get(), this);
    preview_->setObjectName(QStringLiteral("preview"));
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paintRequested);
    bar->addAction(texts::kActionZoomIn, preview_, [this] { preview_->zoomIn(); });
    bar->addAction(texts::kActionZoomOut, preview_, [this] { preview_->zoomOut(); });
    bar->addAction(texts::kActionFitWidth, preview_, &QPrintPreviewWidget::fitToWidth);
    bar->addAction(texts::kActionFitPage, preview_, &QPrintPreviewWidget::fitInView);
    bar->addSeparator();
    bar->addAction(texts::kActionPreviousPage, preview_,
                   [this] { preview_->setCurrentPage(preview_->currentPage() - 1); });
    bar->addAction(texts::kActionNextPage, preview_,
                   [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(preview_);
    resize(860, 960);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::paintRequested(QPrinter* printer)
{
    QString error;
    if (!PaintReport(pages_, *printer, &error)) {
        // Told after the preview has finished painting, not from inside it.
        paintError_ = error;
        QTimer::singleShot(0, this, &ReportPreview::reportPaintFailure);
    }
}

void ReportPreview::reportPaintFailure()
{
    if (paintError_.isEmpty())
        return;
    ctx_.dialogs().message(this, titles::kError, texts::kReportFailed + paintError_, Dialogs::Icon::Critical);
    paintError_.clear();
}

void ReportPreview::print()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ctx_.dialogs().message(this, titles::kAttention, texts::kNoPrinter, Dialogs::Icon::Warning);
        return;
    }
    // Window-modal, so nothing waits in a loop of its own.
    auto* dialog = new QPrintDialog(printer_.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, preview_, &QPrintPreviewWidget::print);
    dialog->open();
}

void ReportPreview::saveAsPdf()
{
    QString path = ctx_.dialogs().saveFileName(this, texts::kSavePdfTitle, ReportPdfPath(documentsFolder_, code_),
                                               texts::kPdfFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QString error;
    const QByteArray pdf = RenderReportPdf(pages_, printer_->docName(), &error);
    if (pdf.isEmpty()) {
        ctx_.dialogs().message(this, titles::kError, texts::kReportFailed + error, Dialogs::Icon::Critical);
        return;
    }
    const WriteOutcome written = WriteFileReplacing(path, pdf);
    if (!written) {
        ctx_.dialogs().message(this, titles::kError, texts::WriteFailedMessage(written.path, written.error),
                               Dialogs::Icon::Critical);
        return;
    }
    ctx_.dialogs().message(this, titles::kMessage, texts::kPdfSaved + QStringLiteral("\r\n") + written.path,
                           Dialogs::Icon::Information);
}

ReportPreview* ShowReportPreview(AppContext& ctx, const ReportContent& content, const QString& documentsFolder)
{
    auto* preview = new ReportPreview(ctx, content, documentsFolder);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->show();
    return preview;
}

} // namespace reports
