// The preview window (printing, saving as PDF) and the capture of a form.
#include "reports/capture.h"
#include "reports/report_preview.h"
#include "reports/report_texts.h"
#include "report_samples.h"
#include "support/probes.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QLabel>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace reports;

class TestReportPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void nonModalWithEveryPage();
    void printingWithoutAPrinter();
    void saveAsPdf_data();
    void saveAsPdf();
    void captureRendersTheFormItself();

private:
    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<QTemporaryDir> documents_;
    QPointer<ReportPreview> preview_;
};

void TestReportPreview::init()
{
    env_ = std::make_unique<TestEnv>(false);
    documents_ = std::make_unique<QTemporaryDir>();
    ReportContent content = samples::content(30);
    content.profile = samples::solid(679, 664, QColor(40, 160, 90));
    preview_ = ShowReportPreview(env_->ctx, content, documents_->path());
}

void TestReportPreview::cleanup()
{
    delete preview_;
    env_.reset();
}

void TestReportPreview::nonModalWithEveryPage()
{
    QVERIFY(preview_->isVisible());
    QVERIFY(!preview_->isModal());
    QCOMPARE(preview_->windowModality(), Qt::NonModal);
    QCOMPARE(preview_->pageCount(), 2);
    // The pages shown are the report's: the profile picture in its frame on the first.
    const QImage first = preview_->pageImage(0);
    const QRectF picture = preview_->pages().first().find(QStringLiteral("Image2"))->rect;
    const QPointF centre = picture.center() * preview_->zoom() * first.devicePixelRatio();
    QCOMPARE(first.pixelColor(centre.toPoint()), QColor(40, 160, 90));
    QVERIFY(preview_->findChild<QLabel*>(QStringLiteral("page2")));
    // It deletes itself when closed.
    preview_->close();
    QTRY_VERIFY(preview_.isNull());
}

void TestReportPreview::printingWithoutAPrinter()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here");
    preview_->printAction->trigger();
    const auto last = env_->dialogs.lastMessage();
    QVERIFY(last);
    QCOMPARE(last->title, titles::kAttention);
    QCOMPARE(last->text, texts::kNoPrinter);
}

void TestReportPreview::saveAsPdf_data()
{
    QTest::addColumn<QString>("answer"); // relative to the Documents folder; empty: cancelled
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("title");
    QTest::newRow("suggested name") << QStringLiteral("1024.pdf") << QStringLiteral("1024.pdf") << titles::kMessage;
    QTest::newRow("typed without .pdf") << QStringLiteral("report") << QStringLiteral("report.pdf") << titles::kMessage;
    QTest::newRow("cancelled") << QString() << QString() << QString();
    QTest::newRow("folder missing") << QStringLiteral("gone/1024.pdf") << QString() << titles::kError;
}

void TestReportPreview::saveAsPdf()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(QString, title);
    QDir docs(documents_->path());
    if (!answer.isEmpty())
        env_->dialogs.fileAnswers.enqueue(docs.filePath(answer));
    preview_->savePdfAction->trigger();

    // Offered as the examinee code in the Documents folder.
    QCOMPARE(env_->dialogs.shown.first().kind, ScriptedDialogs::Kind::SaveFile);
    QCOMPARE(env_->dialogs.shown.first().text, docs.filePath(QStringLiteral("1024.pdf")));
    QCOMPARE(testing_support::ListedByFileDialog(env_->dialogs.shown.first().filter,
                                                 {QStringLiteral("a.pdf"), QStringLiteral("a.txt")}),
             QStringList{QStringLiteral("a.pdf")});
    const auto message = env_->dialogs.lastMessage();
    QCOMPARE(message ? message->title : QString(), title);
    if (!written.isEmpty()) {
        QFile pdf(docs.filePath(written));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(message->text.contains(QDir::toNativeSeparators(pdf.fileName())));
    } else if (title == titles::kError) {
        QVERIFY(message->text.contains(QDir::toNativeSeparators(docs.filePath(answer))));
    }
    QCOMPARE(docs.entryList({QStringLiteral("*.pdf")}).size(), written.isEmpty() ? 0 : 1);
}

// The picture comes from the widget, not from the screen: a window lying on top of it is not
// in it, and a hidden panel is not either.
void TestReportPreview::captureRendersTheFormItself()
{
    QWidget form;
    form.setFixedSize(200, 150);
    form.setAutoFillBackground(true);
    QPalette p = form.palette();
    p.setColor(QPalette::Window, Qt::white);
    form.setPalette(p);
    auto* panel = new QWidget(&form);
    panel->setGeometry(0, 0, 100, 150);
    panel->setAutoFillBackground(true);
    p.setColor(QPalette::Window, Qt::blue);
    panel->setPalette(p);
    form.show();
    QWidget cover;
    cover.setGeometry(form.geometry());
    p.setColor(QPalette::Window, Qt::red);
    cover.setPalette(p);
    cover.setAutoFillBackground(true);
    cover.show();
    cover.raise();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));

    QImage image = CaptureFormImage(form);
    QCOMPARE(image.size() / image.devicePixelRatio(), QSize(200, 150));
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(image.width() - 10, 10), QColor(Qt::white));
    panel->hide();
    image = CaptureFormImage(form);
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::white));
}

TAVORA_TEST(TestReportPreview)
#include "tst_report_preview.moc"
