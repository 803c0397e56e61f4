#pragma once
// The report's preview window: not modal, the pages one under the other, with printing and
// saving as PDF. With no printer installed the preview and the PDF still work and printing
// says there is none.
//
// The pages are painted here directly, by the same painter as paper and PDF: a recorded
// preview (QPicture) would lay Persian text out again left to right.
#include "kit/app_context.h"
#include "reports/report_layout.h"

#include <QDialog>
#include <QImage>
#include <QVector>

class QAction;
class QLabel;
class QScrollArea;

namespace reports {

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // documentsFolder: where the PDF is offered (the examinee code names it).
    ReportPreview(AppContext& ctx, const ReportContent& content, QString documentsFolder, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const QVector<ReportPage>& pages() const { return pages_; }
    int pageCount() const { return int(pages_.size()); }
    // The page as shown, at the current zoom.
    QImage pageImage(int index) const;
    // Screen pixels per twip.
    double zoom() const { return zoom_; }
    void setZoom(double pixelsPerTwip);

    QAction* printAction = nullptr;
    QAction* savePdfAction = nullptr;

    // Asks for the printer (window-modal) and prints every page.
    void print();
    // Asks for the file (suggesting <code>.pdf in the Documents folder) and writes it.
    void saveAsPdf();

private:
    void render();
    void fitWidth();
    void showPage(int delta);

    AppContext& ctx_;
    QString code_;
    QString title_;
    QString documentsFolder_;
    QVector<ReportPage> pages_;
    QScrollArea* scroll_ = nullptr;
    QVector<QLabel*> pageLabels_;
    double zoom_ = 96.0 / 1440;
    int currentPage_ = 0;
};

// Lays the report out and shows it in a new preview window, which deletes itself when closed.
ReportPreview* ShowReportPreview(AppContext& ctx, const ReportContent& content, const QString& documentsFolder);

} // namespace reports
