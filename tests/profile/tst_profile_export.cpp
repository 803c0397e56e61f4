// Print and Word from the profile screen: the plain look photographed, the look back in every
// case, and what the report and the document carry from the screen.
#include "profile/profile_screen.h"
#include "profile/profile_export.h"
#include "profile/profile_screen_texts.h"
#include "reports/capture.h"
#include "reports/report_texts.h"
#include "settings/clinic_details.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <quazip.h>
#include <quazipfile.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCode = u"1024"_s;
const QString kSaved = u"بند اول: نمره های باليني در دامنه طبيعي است.\r\nبند دوم: اعتبار پاسخ ها پذيرفتني است.\r\n"_s;

QByteArray readPart(const QString& docx, const QString& name)
{
    QuaZip zip(docx);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(name))
        return {};
    QuaZipFile file(&zip);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One examinee (given name left empty) with a saved interpretation, a clinic, the profile screen
// shown and drawn, its files going to a folder of the test.
struct Fixture {
    TestEnv env;
    QTemporaryDir documents;
    examinees::ExamineeRecord examinee;
    std::unique_ptr<FrmNemudar> screen;
    ProfileExport* exporter = nullptr; // the screen's child
    bool seeded = false;

    explicit Fixture(bool logoOn = true)
    {
        const QHash<QString, QString> identity = {{u"LName"_s, u"كريمي"_s}, {u"Jens"_s, u"زن"_s}, {u"Sen"_s, u"29"_s},
                                                  {u"Taahol"_s, u"مجرد"_s}, {u"Tahsil"_s, u"دانشگاهي"_s},
                                                  {u"TT1"_s, kSaved}};
        QImage logo(60, 40, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        seeded = testing_support::addExaminee(env.folder(), kCode, QStringList(71, u"2"_s), identity)
                 && testing_support::execSql(env.path(store::kSettingsFile),
                                             {u"UPDATE Theme SET Name = 'كلينيك آرامش', Check1 = %1"_s.arg(logoOn ? 1 : 0)})
                 && logo.save(env.path(settings::kLogoFileName), "JPG");

        examinee = {.code = kCode, .givenName = {}, .familyName = u"كريمي"_s, .sex = u"زن"_s, .age = u"29"_s,
                    .maritalStatus = u"مجرد"_s, .education = u"دانشگاهي"_s, .group = u"B"_s, .date = u"1403/07/21"_s, .time = {},
                    .interpretation = {}, .responses = QStringList(71, u"2"_s)};
        screen = std::make_unique<FrmNemudar>(env.ctx, examinee);
        exporter = new ProfileExport(env.ctx, *screen);
        exporter->setDocumentsFolder(documents.path());
    }

    ~Fixture()
    {
        if (screen && exporter->preview())
            delete exporter->preview();
    }

    bool open()
    {
        if (!seeded)
            return false;
        QSignalSpy ready(screen.get(), &FrmNemudar::profileReady);
        screen->show();
        screen->activateWindow();
        return ready.wait(3000);
    }

    QStringList titles() const
    {
        QStringList out;
        for (const auto& m : env.dialogs.messages())
            out << m.title;
        return out;
    }
};

// What the screen looked like when it was photographed.
struct Seen {
    bool taken = false;
    bool buttons = true;
    bool interpretation = true;
    bool title = true;
    QColor band;       // inside the decoration band, beside the buttons
    QColor background; // the window's own background, bottom corner
};

} // namespace

class TestProfileExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lookBackInEveryCase_data();
    void lookBackInEveryCase();
    void reportFromTheScreen_data();
    void reportFromTheScreen();
    void wordDocumentFromTheScreen();
};

void TestProfileExport::lookBackInEveryCase_data()
{
    QTest::addColumn<bool>("word");
    QTest::addColumn<bool>("photographFails");
    QTest::addColumn<bool>("documentsUnwritable");
    QTest::addColumn<bool>("closedBeforeTick");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("made"); // the preview shown, or the document written

    QTest::newRow("print") << false << false << false << false << QStringList{} << true;
    QTest::newRow("print, photograph fails") << false << true << false << false << QStringList{titles::kError} << false;
    QTest::newRow("print, screen closed while waiting") << false << false << false << true << QStringList{} << false;
    QTest::newRow("Word") << true << false << false << false << QStringList{titles::kMessage} << true;
    QTest::newRow("Word, Documents unwritable") << true << false << true << false << QStringList{titles::kError} << false;
}

void TestProfileExport::lookBackInEveryCase()
{
    QFETCH(bool, word);
    QFETCH(bool, photographFails);
    QFETCH(bool, documentsUnwritable);
    QFETCH(bool, closedBeforeTick);
    QFETCH(QStringList, titles);
    QFETCH(bool, made);

    Fixture f;
    QVERIFY(f.open());
    FrmNemudar& s = *f.screen;
    ProfileExport& e = *f.exporter;
    Seen seen;
    e.setCapture([&](QWidget& form) {
        const QImage picture = CaptureFormImage(form);
        seen = {true, s.Frame2->isVisible(), s.FramTaf->isVisible(), s.Label6->isVisible(),
                picture.pixelColor(s.Shape3->geometry().left() + 3, s.Shape3->geometry().center().y()),
                picture.pixelColor(2, picture.height() - 2)};
        return photographFails ? QImage() : picture;
    });
    QFile blocker(f.documents.filePath(u"file"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    if (documentsUnwritable)
        e.setDocumentsFolder(blocker.fileName() + u"/Documents"_s); // under a file: no folder can be made
    s.CmdTaf->click(); // the interpretation panel open: it stays closed afterwards

    QSignalSpy finished(&e, &ProfileExport::finished);
    (word ? s.Cmdword : s.Command3)->click();
    QVERIFY(e.isPlain());
    QVERIFY(!s.Frame2->isVisible() && !s.FramTaf->isVisible());
    if (closedBeforeTick) {
        s.close();
        QVERIFY(!finished.wait(800));
        QVERIFY(!seen.taken);
    } else {
        QVERIFY(finished.wait(2000));
        QVERIFY(seen.taken);
        // Photographed plain: white, no panels; the Word picture keeps the title.
        const QColor plain = QApplication::palette().color(word ? QPalette::HighlightedText : QPalette::Base);
        QVERIFY(!seen.buttons && !seen.interpretation);
        QCOMPARE(seen.title, word);
        QCOMPARE(seen.band, plain);
        QCOMPARE(seen.background, plain);
    }

    QVERIFY(!e.isPlain());
    QCOMPARE(s.palette().color(QPalette::Window), FrmNemudar::backColor());
    QCOMPARE(s.Shape3->palette().color(QPalette::Window), FrmNemudar::shapeColor());
    if (!closedBeforeTick) {
        QVERIFY(s.Frame2->isVisible() && s.Label6->isVisible() && s.Cmdword->isVisible());
        QVERIFY(!s.FramTaf->isVisible());
    }
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(f.titles(), titles);
    if (word) {
        QCOMPARE(QFileInfo::exists(f.documents.filePath(reports::texts::kWordFileName)), made);
        if (documentsUnwritable)
            QVERIFY(f.env.dialogs.lastMessage()->text.contains(QDir::toNativeSeparators(e.documentsFolder())));
    } else {
        QCOMPARE(bool(e.preview()), made);
        if (photographFails)
            QCOMPARE(f.env.dialogs.lastMessage()->text, reports::texts::kCaptureFailed);
    }
}

void TestProfileExport::reportFromTheScreen_data()
{
    QTest::addColumn<bool>("logoOn");
    QTest::newRow("logo switched on") << true;
    QTest::newRow("logo switched off") << false;
}

// The report carries the handed-over examinee, the clinic as stored now, and the saved text,
// not the text being edited.
void TestProfileExport::reportFromTheScreen()
{
    QFETCH(bool, logoOn);
    Fixture f(logoOn);
    QVERIFY(f.open());
    FrmNemudar& s = *f.screen;
    s.CmdTaf->click();
    s.FramTaf->Txttaf1->setPlainText(u"متن ذخيره نشده"_s);
    QSignalSpy finished(f.exporter, &ProfileExport::finished);
    s.Command3->click();
    QVERIFY(finished.wait(2000));
    QVERIFY(f.env.dialogs.messages().isEmpty());

    const reports::ReportPreview* preview = f.exporter->preview();
    QVERIFY(preview && preview->isVisible() && !preview->isModal());
    const reports::ReportPage& page = preview->pages().first();
    const auto text = [&page](const QString& name) {
        const reports::ReportItem* item = page.find(name);
        return item ? item->text : u"<none>"_s;
    };
    QCOMPARE(page.all(u"Label3"_s).first()->text, kSaved.section(u"\r\n"_s, 0, 0));
    QCOMPARE(text(u"Label170"_s), kCode);
    QCOMPARE(text(u"Label172"_s), QString());
    QCOMPARE(text(u"Label184"_s), u"B"_s);
    QCOMPARE(text(u"Label188"_s), u"1403/07/21"_s);
    QCOMPARE(text(u"Label2"_s), u"0"_s);
    QCOMPARE(text(u"Label8"_s), u"كلينيك آرامش"_s);
    QCOMPARE(text(u"Label186"_s), profile::screen_texts::kChartTitle);
    QCOMPARE(bool(page.find(u"Image4"_s)), logoOn);
    // The photograph is the screen at its size.
    QCOMPARE(f.exporter->reportPicture().size(), s.size());
}

// The document from the screen: the identity line (a caption with nothing after it for the
// empty given name), the saved text, and the picture written as <code>.bmp.
void TestProfileExport::wordDocumentFromTheScreen()
{
    Fixture f;
    QVERIFY(f.open());
    FrmNemudar& s = *f.screen;
    QSignalSpy finished(f.exporter, &ProfileExport::finished);
    s.Cmdword->click();
    QVERIFY(finished.wait(2000));

    const QString line = f.exporter->identityLine();
    QCOMPARE(line, u"كد آزمودني:  1024 -  نام:  -  نام خانوادگي:  كريمي -  جنس:  زن -  سن:  29 -  وضعيت تاهل:   مجرد -  تحصيلات:  دانشگاهي"_s);
    const QString docx = f.documents.filePath(reports::texts::kWordFileName);
    const QString xml = QString::fromUtf8(readPart(docx, u"word/document.xml"_s));
    QVERIFY(xml.contains(line.toHtmlEscaped()));
    QVERIFY(xml.indexOf(kSaved.section(u"\r\n"_s, 1, 1)) > xml.indexOf(line));
    QCOMPARE(f.env.desktop.openedFiles, QStringList{docx});
    const QImage bitmap(f.env.path(kCode + u".bmp"_s), "BMP");
    QCOMPARE(bitmap.size(), s.size());
    QCOMPARE(f.exporter->wordPicture().size(), s.size());
}

TAVORA_TEST(TestProfileExport)
#include "tst_profile_export.moc"
