#include "reports/report_preview.h"
#include "reports/output_files.h"
#include "reports/report_painter.h"
#include "reports/report_texts.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace reports {

namespace {

constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.02;
constexpr double kMaxZoom = 0.4;
constexpr int kPageGap = 16;

} // namespace

ReportPreview::ReportPreview(AppContext& ctx, const ReportContent& content, QString documentsFolder, QWidget* parent)
    : QDialog(parent)
    , ctx_(ctx)
    , code_(content.identity.code)
    , title_(content.title)
    , documentsFolder_(std::move(documentsFolder))
    , pages_(LayoutReport(content))
{
    setObjectName(QStringLiteral("DR1"));
    setWindowTitle(texts::kPreviewTitle);
    setModal(false);

    auto* bar = new QToolBar(this);
    printAction = bar->addAction(texts::kActionPrint, this, &ReportPreview::print);
    printAction->setObjectName(QStringLiteral("printAction"));
    savePdfAction = bar->addAction(texts::kActionSavePdf, this, &ReportPreview::saveAsPdf);
    savePdfAction->setObjectName(QStringLiteral("savePdfAction"));
    bar->addSeparator();
    bar->addAction(texts::kActionZoomIn, this, [this] { setZoom(zoom_ * kZoomStep); });
    bar->addAction(texts::kActionZoomOut, this, [this] { setZoom(zoom_ / kZoomStep); });
    bar->addAction(texts::kActionFitWidth, this, &ReportPreview::fitWidth);
    bar->addSeparator();
    bar->addAction(texts::kActionPreviousPage, this, [this] { showPage(-1); });
    bar->addAction(texts::kActionNextPage, this, [this] { showPage(+1); });

    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("pages"));
    auto* pagesLayout = new QVBoxLayout(column);
    pagesLayout->setSpacing(kPageGap);
    pagesLayout->setContentsMargins(kPageGap, kPageGap, kPageGap, kPageGap);
    for (int i = 0; i < pageCount(); ++i) {
        auto* label = new QLabel(column);
        label->setObjectName(QStringLiteral("page%1").arg(i + 1));
        label->setFrameShape(QFrame::Box);
        pagesLayout->addWidget(label, 0, Qt::AlignHCenter);
        pageLabels_ << label;
    }
    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(column);
    scroll_->setWidgetResizable(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_);
    resize(880, 960);
    render();
}

ReportPreview::~ReportPreview() = default;

QImage ReportPreview::pageImage(int index) const
{
    if (index < 0 || index >= pageCount())
        return {};
    const double ratio = devicePixelRatioF();
    QImage image(QSize(qRound(layout::kPageWidth * zoom_ * ratio), qRound(layout::kPageHeight * zoom_ * ratio)),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(zoom_, zoom_);
    PaintPage(painter, pages_.at(index));
    return image;
}

void ReportPreview::setZoom(double pixelsPerTwip)
{
    zoom_ = qBound(kMinZoom, pixelsPerTwip, kMaxZoom);
    render();
}

void ReportPreview::render()
{
    for (int i = 0; i < pageCount(); ++i)
        pageLabels_[i]->setPixmap(QPixmap::fromImage(pageImage(i)));
}

void ReportPreview::fitWidth()
{
    const int room = scroll_->viewport()->width() - 2 * kPageGap - 4;
    setZoom(double(room) / layout::kPageWidth);
}

void ReportPreview::showPage(int delta)
{
    currentPage_ = qBound(0, currentPage_ + delta, pageCount() - 1);
    scroll_->verticalScrollBar()->setValue(pageLabels_.at(currentPage_)->y() - kPageGap);
}

void ReportPreview::print()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ctx_.dialogs().message(this, titles::kAttention, texts::kNoPrinter, Dialogs::Icon::Warning);
        return;
    }
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setFullPage(true); // the report places everything itself, from the paper's corner
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setDocName(title_);
    // Window-modal, so nothing waits in a loop of its own.
    auto* dialog = new QPrintDialog(printer.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, printer] {
        QString error;
        if (!PaintReport(pages_, *printer, &error))
            ctx_.dialogs().message(this, titles::kError, texts::kReportFailed + error, Dialogs::Icon::Critical);
    });
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
    const QByteArray pdf = RenderReportPdf(pages_, title_, &error);
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
