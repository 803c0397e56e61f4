// The Word document: its identity line, the .docx package read back with QuaZip and opened by
// a real word processor, the bitmap per examinee, and what the user is told.
#include "reports/docx_writer.h"
#include "reports/identity_line.h"
#include "reports/report_texts.h"
#include "reports/word_export.h"
#include "report_samples.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <quazip.h>
#include <quazipfile.h>

using namespace reports;

namespace {

class OpeningDesktop final : public Desktop {
public:
    bool opens = true;
    QStringList opened;
    bool openUrl(const QUrl&) override { return false; }
    bool openFile(const QString& path) override
    {
        opened << path;
        return opens;
    }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void endProgram(int) override {}
};

QByteArray readPart(const QString& docx, const QString& name)
{
    QuaZip zip(docx);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(name))
        return {};
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct Paragraph {
    bool bidi = false;
    QString jc;
    QString text;
    QString embed; // relationship id of an inline picture
};

QList<Paragraph> paragraphs(const QByteArray& documentXml)
{
    const QString w = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
    const QString r = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    QList<Paragraph> out;
    QXmlStreamReader x(documentXml);
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = x.name();
        if (x.namespaceUri() == w && name == QLatin1String("p"))
            out << Paragraph{};
        else if (out.isEmpty())
            continue;
        else if (x.namespaceUri() == w && name == QLatin1String("bidi"))
            out.last().bidi = true;
        else if (x.namespaceUri() == w && name == QLatin1String("jc"))
            out.last().jc = x.attributes().value(w, QStringLiteral("val")).toString();
        else if (x.namespaceUri() == w && name == QLatin1String("t"))
            out.last().text += x.readElementText();
        else if (name == QLatin1String("blip"))
            out.last().embed = x.attributes().value(r, QStringLiteral("embed")).toString();
    }
    return x.hasError() ? QList<Paragraph>{} : out;
}

QHash<QString, QString> relationshipTargets(const QByteArray& rels)
{
    QHash<QString, QString> out;
    QXmlStreamReader x(rels);
    while (!x.atEnd())
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("Relationship"))
            out.insert(x.attributes().value(QStringLiteral("Id")).toString(),
                       x.attributes().value(QStringLiteral("Target")).toString());
    return out;
}

const Identity kExaminee{QStringLiteral("1024"), QStringLiteral("B"), QStringLiteral("مريم"), QStringLiteral("كريمي"),
                         QStringLiteral("زن"), QStringLiteral("29"), QStringLiteral("مجرد"), QStringLiteral("دانشگاهي"),
                         QStringLiteral("1403/07/21")};

} // namespace

Q_DECLARE_METATYPE(reports::Identity)

class TestWordExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void identityLine_data();
    void identityLine();
    void documentReadBack();
    void openedByAWordProcessor();
    void outcomes_data();
    void outcomes();
    void bitmapPerExaminee();
    void documentsFolder();

private:
    WordExportRequest request(const QString& code, const QImage& picture) const;

    std::unique_ptr<QTemporaryDir> program_;
    std::unique_ptr<QTemporaryDir> documents_;
    ScriptedDialogs dialogs_;
    FixedClock clock_;
    OpeningDesktop desktop_;
    std::unique_ptr<AppContext> ctx_;
};

void TestWordExport::init()
{
    program_ = std::make_unique<QTemporaryDir>();
    documents_ = std::make_unique<QTemporaryDir>();
    dialogs_.clear();
    desktop_.opens = true;
    desktop_.opened.clear();
    ctx_ = std::make_unique<AppContext>(program_->path(), dialogs_, clock_, desktop_);
}

WordExportRequest TestWordExport::request(const QString& code, const QImage& picture) const
{
    Identity id = kExaminee;
    id.code = code;
    return {code, ComposeIdentityLine(id), samples::interpretation(2), picture};
}

void TestWordExport::identityLine_data()
{
    QTest::addColumn<Identity>("identity");
    QTest::addColumn<QString>("line");
    QTest::newRow("every field")
        << kExaminee
        << QStringLiteral("كد آزمودني:  1024 -  نام: مريم -  نام خانوادگي:  كريمي -  جنس:  زن -  سن:  29 -  وضعيت تاهل:   مجرد -  تحصيلات:  دانشگاهي");
    // Every caption and separator stays, with nothing between a caption and the next separator.
    QTest::newRow("empty fields") << Identity{QStringLiteral("7"), QStringLiteral("B"), {}, {}, {}, {}, {}, {}, {}}
                                  << QStringLiteral("كد آزمودني:  7 -  نام:  -  نام خانوادگي:   -  جنس:   -  سن:   -  وضعيت تاهل:    -  تحصيلات:  ");
}

void TestWordExport::identityLine()
{
    QFETCH(Identity, identity);
    QFETCH(QString, line);
    QCOMPARE(ComposeIdentityLine(identity), line);
}

void TestWordExport::documentReadBack()
{
    const QString path = QDir(documents_->path()).filePath(texts::kWordFileName);
    const QString line = ComposeIdentityLine(kExaminee);
    const QImage picture = samples::solid(679, 664, Qt::white);
    QVERIFY(WriteWordDocument(path, {WordDocumentText(line, samples::interpretation(2)), picture, QStringLiteral("1024.bmp")}));

    const QList<Paragraph> p = paragraphs(readPart(path, QStringLiteral("word/document.xml")));
    // empty, picture, empty, identity line, empty, the saved text line by line, the final mark
    QCOMPARE(p.size(), 8);
    for (const Paragraph& each : p) {
        QVERIFY(each.bidi);
        QCOMPARE(each.jc, QStringLiteral("both"));
    }
    const QStringList texts{QString(), QString(), QString(), line, QString(), QStringLiteral("بند 1: "), QStringLiteral("بند 2: "), QString()};
    for (int i = 0; i < p.size(); ++i) {
        QVERIFY2(texts[i].isEmpty() ? p[i].text.isEmpty() : p[i].text.startsWith(texts[i]), qPrintable(QString::number(i)));
        QCOMPARE(p[i].embed.isEmpty(), i != 1);
    }

    const QString target = relationshipTargets(readPart(path, QStringLiteral("word/_rels/document.xml.rels"))).value(p[1].embed);
    QVERIFY(!target.isEmpty());
    const QImage inside = QImage::fromData(readPart(path, QStringLiteral("word/") + target));
    QCOMPARE(inside.size(), picture.size());
    QVERIFY(readPart(path, QStringLiteral("[Content_Types].xml")).contains("Extension=\"png\""));
    QVERIFY(relationshipTargets(readPart(path, QStringLiteral("_rels/.rels"))).values().contains(QStringLiteral("word/document.xml")));
}

// LibreOffice Writer, when installed, opens the document and finds the text and the picture.
void TestWordExport::openedByAWordProcessor()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("LibreOffice Writer or poppler-utils is not installed");
    TAVORA_SKIP_WITHOUT_PERSIAN_FONTS();
    const QString path = QDir(documents_->path()).filePath(texts::kWordFileName);
    const QString line = ComposeIdentityLine(kExaminee);
    QVERIFY(WriteWordDocument(path, {WordDocumentText(line, samples::interpretation(2)),
                                     samples::solid(679, 664, QColor(20, 120, 40)), QStringLiteral("1024.bmp"),
                                     QStringLiteral("جدول نرم: نرم همراه برنامه (موقت) — کد بررسي پاسخ ها: 1a2b3c4d")}));
    QProcess convert;
    convert.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + documents_->filePath(QStringLiteral("lo")),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                            QStringLiteral("--outdir"), documents_->path(), path});
    QVERIFY(convert.waitForFinished(120000));
    const QString pdf = documents_->filePath(QStringLiteral("tavora71IR.pdf"));
    QVERIFY2(QFile::exists(pdf), convert.readAllStandardError().constData());

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    // Justified lines come back with blanks inside words: compare without blanks or direction marks.
    static const QRegularExpression dropped(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\s]"));
    const QString read = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).remove(dropped);
    for (const QString& word : {QStringLiteral("1024"), QStringLiteral("29"), QStringLiteral("متوسط"), QStringLiteral("دانشگاهي"),
                                QStringLiteral("1a2b3c4d")})
        QVERIFY2(read.contains(word), qPrintable(read));
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QVERIFY(images.waitForFinished(30000));
    QVERIFY(QString::fromUtf8(images.readAllStandardOutput()).contains(QStringLiteral(" 679   664")));
}

void TestWordExport::outcomes_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<bool>("documentBlocked");
    QTest::addColumn<bool>("bitmapBlocked");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("written");
    QTest::newRow("written and opened") << true << false << false << true << QStringList{titles::kMessage} << true;
    QTest::newRow("no application opens it") << true << false << false << false
                                             << QStringList{titles::kAttention, titles::kMessage} << true;
    QTest::newRow("document cannot be written") << true << true << false << true << QStringList{titles::kError} << false;
    // The document carries its own copy of the picture: it is written, the bitmap's failure told after.
    QTest::newRow("bitmap cannot be written") << true << false << true << true
                                              << QStringList{titles::kMessage, titles::kError} << true;
    QTest::newRow("no picture") << false << false << false << true << QStringList{titles::kError} << false;
}

void TestWordExport::outcomes()
{
    QFETCH(bool, picture);
    QFETCH(bool, documentBlocked);
    QFETCH(bool, bitmapBlocked);
    QFETCH(bool, opens);
    QFETCH(QStringList, titles);
    QFETCH(bool, written);
    desktop_.opens = opens;
    const QString docx = WordDocumentPath(documents_->path());
    if (documentBlocked)
        QVERIFY(QDir().mkpath(docx)); // a folder where the document would go
    const QString bitmap = ProfileBitmapPath(program_->path(), QStringLiteral("1024"));
    if (bitmapBlocked)
        QVERIFY(QDir().mkpath(bitmap));
    const WordExportOutcome out =
        ExportToWord(*ctx_, nullptr, request(QStringLiteral("1024"), picture ? samples::solid(40, 30, Qt::red) : QImage()),
                     documents_->path());

    QCOMPARE(out.ok, written);
    QCOMPARE(QFileInfo(docx).isFile(), written);
    QStringList shown;
    for (const auto& m : dialogs_.messages())
        shown << m.title;
    QCOMPARE(shown, titles);
    const auto last = dialogs_.lastMessage();
    if (bitmapBlocked)
        QVERIFY(last->text.contains(QDir::toNativeSeparators(bitmap)));
    if (written) {
        const auto done = dialogs_.messages().at(titles.indexOf(titles::kMessage));
        QCOMPARE(done.text, texts::WordCreatedMessage());
        QCOMPARE(done.icon, Dialogs::Icon::Information);
        QCOMPARE(desktop_.opened, QStringList{docx});
        if (!opens)
            QVERIFY(dialogs_.messages().first().text.contains(QDir::toNativeSeparators(docx)));
    } else {
        QVERIFY(desktop_.opened.isEmpty());
        if (documentBlocked)
            QVERIFY(last->text.contains(QDir::toNativeSeparators(docx)));
    }
}

void TestWordExport::bitmapPerExaminee()
{
    QVERIFY(ExportToWord(*ctx_, nullptr, request(QStringLiteral("1024"), samples::solid(40, 30, Qt::red)), documents_->path()).ok);
    QVERIFY(ExportToWord(*ctx_, nullptr, request(QStringLiteral("1025"), samples::solid(40, 30, Qt::blue)), documents_->path()).ok);
    // The same examinee again: its bitmap is replaced.
    QVERIFY(ExportToWord(*ctx_, nullptr, request(QStringLiteral("1024"), samples::solid(50, 20, Qt::green)), documents_->path()).ok);

    QDir program(program_->path());
    QCOMPARE(program.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name),
             (QStringList{QStringLiteral("1024.bmp"), QStringLiteral("1025.bmp")}));
    const QImage again(program.filePath(QStringLiteral("1024.bmp")), "BMP");
    QCOMPARE(again.size(), QSize(50, 20));
    QCOMPARE(again.pixelColor(0, 0), QColor(Qt::green));
    QCOMPARE(QImage(program.filePath(QStringLiteral("1025.bmp")), "BMP").pixelColor(0, 0), QColor(Qt::blue));
    // One document, the last export's.
    const QString docx = WordDocumentPath(documents_->path());
    QVERIFY(QString::fromUtf8(readPart(docx, QStringLiteral("word/document.xml"))).contains(QStringLiteral("1024 -  ")));
}

void TestWordExport::documentsFolder()
{
    QTemporaryDir home;
    QCOMPARE(DocumentsFolder(documents_->path(), home.path()), documents_->path());
    QCOMPARE(DocumentsFolder(home.filePath(QStringLiteral("Documents")), home.path()), home.path());
    // A code never leads out of the folder.
    QCOMPARE(QFileInfo(ProfileBitmapPath(program_->path(), QStringLiteral("../x/y"))).absolutePath(), program_->path());
    QCOMPARE(QFileInfo(ReportPdfPath(home.path(), QStringLiteral(" 1024 "))).fileName(), QStringLiteral("1024.pdf"));
}

TAVORA_TEST(TestWordExport)
#include "tst_word_export.moc"
