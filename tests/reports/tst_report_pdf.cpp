// The report as a real PDF, read back with poppler-utils: pdftotext for the words and their
// places, pdfimages for the pictures.
#include "reports/report_painter.h"
#include "report_samples.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace reports;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Text folded for comparing with what a reader gets from the PDF: compatibility forms folded
// (NFKC), the Persian and Arabic forms of yeh and kaf taken as one (the faces' glyphs map to
// either), direction marks, blanks and colons (which bidi reordering moves about) dropped.
QString fold(QString text)
{
    static const QRegularExpression dropped(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\s:]"));
    return text.normalized(QString::NormalizationForm_KC)
        .replace(QChar(0x06CC), QChar(0x064A))
        .replace(QChar(0x06A9), QChar(0x0643))
        .remove(dropped);
}

QString pageText(const QString& pdf, int page)
{
    const QString n = QString::number(page);
    return fold(run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")}));
}

// Words of the first page with their boxes, in twips.
QList<QPair<QString, QRectF>> words(const QString& pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                                           QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<QPair<QString, QRectF>> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto tw = [&](int i) { return m.captured(i).toDouble() * 20; }; // points to twips
        out << qMakePair(m.captured(5), QRectF(QPointF(tw(1), tw(2)), QPointF(tw(3), tw(4))));
    }
    return out;
}

int imageCount(const QString& pdf)
{
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'),
                                                                                                   Qt::SkipEmptyParts);
    return int(lines.size()) - 2; // two heading lines
}

} // namespace

class TestReportPdf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void identityValuesAtTheirPlaces_data();
    void identityValuesAtTheirPlaces();
    void textsOfTheFirstPage();
    void footerOnEveryPageOfATwoPageReport();
    void everyContactLineInsideTheFooter();
    void logoOnlyWithTheSwitchOn();
    void provenanceLineAboveTheFooterOfEveryPage();

private:
    QString write(const ReportContent& c);
    QTemporaryDir dir_;
    int count_ = 0;
    QString sample_;
};

void TestReportPdf::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("poppler-utils is not installed");
    TAVORA_SKIP_WITHOUT_PERSIAN_FONTS(); // the text read back is Persian
    sample_ = write(samples::content());
    QVERIFY(!sample_.isEmpty());
}

QString TestReportPdf::write(const ReportContent& c)
{
    QString error;
    const QByteArray pdf = RenderReportPdf(LayoutReport(c), c.title, &error);
    if (pdf.isEmpty()) {
        qWarning() << error;
        return {};
    }
    const QString path = dir_.filePath(QStringLiteral("report%1.pdf").arg(++count_));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(pdf) != pdf.size())
        return {};
    return path;
}

// The words of Latin script come back whole, with their boxes: each lies in its label's box,
// at the side the label is aligned to.
void TestReportPdf::identityValuesAtTheirPlaces_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("control");
    QTest::newRow("code") << QStringLiteral("1024") << QStringLiteral("Label170");
    QTest::newRow("group") << QStringLiteral("B") << QStringLiteral("Label184");
    QTest::newRow("age") << QStringLiteral("29") << QStringLiteral("Label178");
    QTest::newRow("test date") << QStringLiteral("1403/07/21") << QStringLiteral("Label188");
    QTest::newRow("unanswered 0") << QStringLiteral("0") << QStringLiteral("Label2");
    QTest::newRow("title") << QStringLiteral("Tavora-2-71") << QStringLiteral("Label186");
}

void TestReportPdf::identityValuesAtTheirPlaces()
{
    QFETCH(QString, word);
    QFETCH(QString, control);
    const auto pages = LayoutReport(samples::content()); // the item lives in them
    const ReportItem* item = pages.first().find(control);
    QVERIFY(item);
    const QRectF box = item->rect.adjusted(-20, -item->rect.height(), 20, item->rect.height());
    bool found = false;
    for (const auto& [text, rect] : words(sample_)) {
        if (text != word || !box.contains(rect.center()))
            continue;
        found = true;
        if (item->alignment == Qt::AlignRight)
            QVERIFY2(item->rect.right() - rect.right() < 60, "right-aligned value hugs the right edge");
    }
    QVERIFY2(found, qPrintable(word + QStringLiteral(" not in ") + control));
}

void TestReportPdf::textsOfTheFirstPage()
{
    ReportContent c = samples::content();
    c.interpretation = QStringLiteral("نخستين سطر: نيمرخ معتبر و قابل تفسير است.\r\n") + samples::interpretation(2);
    const QString text = pageText(write(c), 1);
    for (const QString& expected :
         {c.clinicName, c.title.simplified(), QStringLiteral("مريم"), QStringLiteral("كريمي"), QStringLiteral("مجرد"),
          QStringLiteral("دانشگاهي"), QStringLiteral("كد آزمودني:"), QStringLiteral("نخستين سطر: نيمرخ معتبر و قابل تفسير است.")})
        QVERIFY2(text.contains(fold(expected)), qPrintable(expected + QStringLiteral(" missing from\n") + text));
}

void TestReportPdf::footerOnEveryPageOfATwoPageReport()
{
    const QString pdf = write(samples::content(30));
    QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
    for (int page = 1; page <= 2; ++page) {
        const QString text = pageText(pdf, page);
        QVERIFY2(text.contains(fold(QStringLiteral("خيابان وليعصر"))), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("021-88776655")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("info@aramesh")), qPrintable(text));
    }
    QVERIFY(pageText(pdf, 2).contains(fold(QStringLiteral("بند 30"))));
}

// Six contact lines, the most the settings hold, all lie inside the footer's box.
void TestReportPdf::everyContactLineInsideTheFooter()
{
    ReportContent c = samples::content();
    c.contactLines.clear();
    for (int i = 1; i <= 6; ++i)
        c.contactLines += QStringLiteral("line%1-021-8877665%1\r\n").arg(i);
    const QRectF box = LayoutReport(c).first().find(QStringLiteral("Label10"))->rect;
    QStringList inside;
    for (const auto& [text, rect] : words(write(c)))
        if (text.startsWith(QLatin1String("line")) && box.contains(rect))
            inside << text.left(5);
    QCOMPARE(inside, (QStringList{QStringLiteral("line1"), QStringLiteral("line2"), QStringLiteral("line3"),
                                  QStringLiteral("line4"), QStringLiteral("line5"), QStringLiteral("line6")}));
}

void TestReportPdf::logoOnlyWithTheSwitchOn()
{
    ReportContent off = samples::content();
    off.logoOn = false;
    QCOMPARE(imageCount(sample_), 2); // logo and profile picture
    QCOMPARE(imageCount(write(off)), 1);
}

// The line naming the norms and the answers' check code: on every page, between the last line of
// text and the footer, touching neither.
void TestReportPdf::provenanceLineAboveTheFooterOfEveryPage()
{
    ReportContent c = samples::content(30);
    c.provenance = QStringLiteral("جدول نرم: نرم همراه برنامه (موقت) — نسخه 3.5 — کد بررسي پاسخ ها: 1a2b3c4d");
    const QVector<ReportPage> pages = LayoutReport(c);
    QCOMPARE(pages.size(), 2);
    for (const ReportPage& page : pages) {
        const ReportItem* line = page.find(QStringLiteral("Provenance"));
        QVERIFY(line);
        QVERIFY(line->rect.bottom() <= layout::kFooterTop);
        for (const ReportItem& item : page.items)
            if (&item != line && item.kind == ReportItem::Kind::Text)
                QVERIFY2(!item.rect.intersects(line->rect), qPrintable(item.name));
    }
    const QString pdf = write(c);
    QVERIFY(pageText(pdf, 2).contains(QStringLiteral("1a2b3c4d")));
    QVERIFY(pageText(pdf, 2).contains(fold(QStringLiteral("نرم همراه برنامه"))));
    const QRectF box = pages.first().find(QStringLiteral("Provenance"))->rect.adjusted(0, -40, 0, 40);
    bool found = false;
    for (const auto& [text, rect] : words(pdf))
        found = found || (text.contains(QLatin1String("1a2b3c4d")) && box.contains(rect));
    QVERIFY(found);
}

TAVORA_TEST(TestReportPdf)
#include "tst_report_pdf.moc"
