#pragma once
// Printing and Word output of the profile screen.
//
// The print button switches the screen to its plain look (white background, no button panel,
// no interpretation panel, no title); half a second later (Timer1) the screen is photographed,
// the report is filled from the screen's profile result and shown in its preview window, and the
// look restored. The Word button composes the identity line and switches to the plain look with
// the title kept; half a second later (Timer2) the screen is photographed, the look restored, and
// the picture and the document written.
//
// The photograph renders the screen itself, never screen pixels, so it holds no window frame
// and nothing lying on top. The frame is therefore left alone: taking it off and giving it back
// would re-create the native window, hiding and showing it again, and the screen would take
// that for a return from another window and run its activation step once more.
//
// The look comes back in every case, also when the photograph or the report fails, and when
// the screen is closed while waiting for the tick; failures are told in a box titled "خطا".
#include "kit/app_context.h"
#include "reports/report_preview.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class FrmNemudar;

class ProfileExport : public QObject {
    Q_OBJECT
public:
    // Connects the form's print and Word buttons; the form must outlive this (it is its parent).
    ProfileExport(AppContext& ctx, FrmNemudar& form);
    ~ProfileExport() override;

    // Where the report's PDF is offered and the Word document written; empty (the default):
    // the user's Documents folder, the home folder when there is none.
    void setDocumentsFolder(const QString& folder) { documentsFolder_ = folder; }
    QString documentsFolder() const;

    // How the screen is photographed; CaptureFormImage unless replaced. A null picture is a
    // failed photograph.
    using Capture = std::function<QImage(QWidget&)>;
    void setCapture(Capture capture) { capture_ = std::move(capture); }

    // Command3 and its tick; FillReport fills the report from the photograph and shows it.
    void printClicked();
    void printTick();
    void FillReport();
    // Cmdword and its tick.
    void wordClicked();
    void ExportToWord();
    // Frame colours, button panel, title and Word button back; the interpretation panel stays
    // closed; the normal pointer.
    void RestoreProfileLook();

    // Whether the screen is in a plain look now.
    bool isPlain() const { return plain_; }
    // The last preview shown, while it is open.
    reports::ReportPreview* preview() const { return preview_; }

    QTimer* Timer1 = nullptr;   // print: one-shot 500 ms
    QTimer* Timer2 = nullptr;   // Word: one-shot 500 ms

    // The last photographs taken for Word and for the report, and the identity line of the last
    // Word output.
    const QImage& wordPicture() const { return wordPicture_; }
    const QImage& reportPicture() const { return reportPicture_; }
    const QString& identityLine() const { return identityLine_; }

Q_SIGNALS:
    // After a tick has run to its end, whatever came of it.
    void finished();

private:
    void plainLook(const QColor& colour, bool keepTitle);
    QImage photograph();
    void cancel();

    AppContext& ctx_;
    FrmNemudar& form_;
    QString documentsFolder_;
    Capture capture_;
    QPointer<reports::ReportPreview> preview_;
    bool plain_ = false;
    bool waitCursor_ = false;
    QImage wordPicture_;
    QImage reportPicture_;
    QString identityLine_;
};
