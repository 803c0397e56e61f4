#pragma once
// The report's preview window: not modal, with printing and saving as PDF. With no printer
// installed the preview and the PDF still work and printing says there is none.
#include "app/app_context.h"
#include "reports/report_layout.h"

#include <QDialog>
#include <memory>

class QAction;
class QPrinter;
class QPrintPreviewWidget;

namespace reports {

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // documentsFolder: where the PDF is offered (the examinee code names it).
    ReportPreview(AppContext& ctx, const ReportContent& content, QString documentsFolder, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const QVector<ReportPage>& pages() const { return pages_; }
    QPrintPreviewWidget* preview() const { return preview_; }

    QAction* printAction = nullptr;
    QAction* savePdfAction = nullptr;

    void print();
    // Asks for the file (suggesting <code>.pdf in the Documents folder) and writes it.
    void saveAsPdf();

private:
    void paintRequested(QPrinter* printer);
    void reportPaintFailure();

    AppContext& ctx_;
    QString code_;
    QString documentsFolder_;
    QVector<ReportPage> pages_;
    std::unique_ptr<QPrinter> printer_;
    QPrintPreviewWidget* preview_ = nullptr;
    QString paintError_;
};

// Lays the report out and shows it in a new preview window, which deletes itself when closed.
ReportPreview* ShowReportPreview(AppContext& ctx, const ReportContent& content, const QString& documentsFolder);

} // namespace reports
