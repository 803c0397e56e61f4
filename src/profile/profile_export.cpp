#include "profile/profile_export.h"
#include "profile/profile_screen.h"
#include "reports/capture.h"
#include "reports/identity_line.h"
#include "reports/output_files.h"
#include "reports/report_preview.h"
#include "reports/report_texts.h"
#include "reports/word_export.h"
#include "settings/clinic_details.h"

#include <QApplication>
#include <QGuiApplication>
#include <exception>

namespace {

constexpr int kTickMs = 500;

const QString kClinicNotRead = QStringLiteral("مشخصات مركز از فايل تنظيمات خوانده نشد؛ گزارش بدون آن ساخته شد:");

reports::Identity reportIdentity(const examinees::ExamineeRecord& e)
{
    return {e.code, e.group, e.givenName, e.familyName, e.sex, e.age, e.maritalStatus, e.education, e.date};
}

QTimer* makeTickTimer(QObject* parent, const QString& name)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setSingleShot(true);
    timer->setInterval(kTickMs);
    return timer;
}

void setFill(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
}

// Brings the look back when a tick ends, however it ends.
class LookBack {
public:
    explicit LookBack(ProfileExport& e) : e_(e) {}
    ~LookBack() { e_.RestoreProfileLook(); }
    LookBack(const LookBack&) = delete;
    LookBack& operator=(const LookBack&) = delete;

private:
    ProfileExport& e_;
};

} // namespace

ProfileExport::ProfileExport(AppContext& ctx, FrmNemudar& form)
    : QObject(&form)
    , ctx_(ctx)
    , form_(form)
    , capture_(&CaptureFormImage)
{
    setObjectName(QStringLiteral("profileExport"));
    Timer1 = makeTickTimer(this, QStringLiteral("Timer1"));
    Timer2 = makeTickTimer(this, QStringLiteral("Timer2"));

    connect(form.Command3, &QPushButton::clicked, this, &ProfileExport::printClicked);
    connect(form.Cmdword, &QPushButton::clicked, this, &ProfileExport::wordClicked);
    connect(Timer1, &QTimer::timeout, this, &ProfileExport::printTick);
    connect(Timer2, &QTimer::timeout, this, &ProfileExport::ExportToWord);
    connect(&form, &FrmNemudar::closed, this, &ProfileExport::cancel);
}

ProfileExport::~ProfileExport()
{
    if (waitCursor_)
        QGuiApplication::restoreOverrideCursor();
}

QString ProfileExport::documentsFolder() const
{
    return documentsFolder_.isEmpty() ? reports::DocumentsFolder() : documentsFolder_;
}

void ProfileExport::plainLook(const QColor& colour, bool keepTitle)
{
    plain_ = true;
    setFill(&form_, colour);
    setFill(form_.Shape3, colour);
    form_.Frame2->hide();
    form_.FramTaf->hide();
    form_.Label6->setVisible(keepTitle);
    form_.provenanceLine->hide(); // the report and the document print it as text
}

void ProfileExport::printClicked()
{
    plainLook(QApplication::palette().color(QPalette::Base), false);
    Timer1->start();
}

void ProfileExport::printTick()
{
    Timer1->stop();
    LookBack lookBack(*this);
    if (!waitCursor_) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor_ = true;
    }
    reportPicture_ = photograph();
    if (reportPicture_.isNull()) {
        RestoreProfileLook(); // before the box, so the user never sees the stripped screen under it
        ctx_.dialogs().message(&form_, titles::kError, reports::texts::kCaptureFailed, Dialogs::Icon::Critical);
    } else {
        try {
            FillReport();
        } catch (const std::exception& e) {
            RestoreProfileLook();
            ctx_.dialogs().message(&form_, titles::kError, reports::texts::kReportFailed + QString::fromLocal8Bit(e.what()),
                                   Dialogs::Icon::Critical);
        }
    }
    Q_EMIT finished();
}

void ProfileExport::FillReport()
{
    // The settings are read now, so the clinic details changed since the screen opened are
    // printed. A failed read leaves them empty: the report is still made, and the user told.
    store::View& settings = form_.settingsSource();
    const store::Result read = settings.refresh();
    const settings::ClinicDetails clinic =
        settings::ClinicFromSettings([&settings](const QString& column) { return settings.value(column); },
                                     ctx_.programFolder());

    reports::ReportContent c;
    c.logoOn = clinic.logoOn;
    c.logo = clinic.logo;
    c.profile = reportPicture_;
    const profile::ProfileResult& result = form_.result();
    c.identity = reportIdentity(result.examinee);
    c.unanswered = result.unansweredText();
    c.interpretation = form_.FramTaf->savedInterpretation();
    c.clinicName = clinic.name;
    c.title = form_.Label6->text();
    c.address = clinic.address;
    c.contactLines = clinic.contactLines;
    c.identifierLabel = clinic.identifierLabel;
    c.provenance = result.provenance;

    delete preview_; // one preview per screen: a new report replaces the last one
    preview_ = reports::ShowReportPreview(ctx_, c, documentsFolder());
    RestoreProfileLook();
    if (!read)
        ReportFailure(ctx_.dialogs(), &form_, kClinicNotRead, read.error);
}

void ProfileExport::wordClicked()
{
    identityLine_ = reports::ComposeIdentityLine(reportIdentity(form_.result().examinee));
    plainLook(QApplication::palette().color(QPalette::HighlightedText), true);
    Timer2->start();
}

void ProfileExport::ExportToWord()
{
    Timer2->stop();
    {
        LookBack lookBack(*this);
        wordPicture_ = photograph();
    }
    const reports::WordExportRequest request{form_.result().examinee.code, identityLine_,
                                             form_.FramTaf->savedInterpretation(), wordPicture_,
                                             form_.result().provenance};
    try {
        (void)reports::ExportToWord(ctx_, &form_, request, documentsFolder()); // it tells the user itself
    } catch (const std::exception& e) {
        ctx_.dialogs().message(&form_, titles::kError, reports::texts::kReportFailed + QString::fromLocal8Bit(e.what()),
                               Dialogs::Icon::Critical);
    }
    Q_EMIT finished();
}

QImage ProfileExport::photograph()
{
    return capture_ ? capture_(form_) : QImage();
}

void ProfileExport::RestoreProfileLook()
{
    plain_ = false;
    setFill(&form_, FrmNemudar::backColor());
    setFill(form_.Shape3, FrmNemudar::shapeColor());
    form_.Frame2->show();
    form_.Label6->show();
    form_.provenanceLine->show();
    form_.Cmdword->show();
    if (waitCursor_) {
        QGuiApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
}

void ProfileExport::cancel()
{
    Timer1->stop();
    Timer2->stop();
    if (plain_)
        RestoreProfileLook();
}
