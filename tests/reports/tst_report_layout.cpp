#include "reports/report_layout.h"
#include "report_samples.h"
#include "support/test_registry.h"

#include <QTest>

using namespace reports;

class TestReportLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void valuesAtTheirPlaces_data();
    void valuesAtTheirPlaces();
    void identityRowsReadRightToLeft();
    void logoOnlyWithTheSwitchOn_data();
    void logoOnlyWithTheSwitchOn();
    void interpretationPagination_data();
    void interpretationPagination();
    void picturesKeepTheirProportions();
};

// Control, the text it carries, and its box in the body's twips (x, y from the body's corner).
void TestReportLayout::valuesAtTheirPlaces_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    const ReportContent c = samples::content();
    const auto row = [](const char* name, const QString& text, QRect box, const char* family, double points) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << box << QString::fromLatin1(family) << points;
    };
    row("Label8", c.clinicName, {1819, 131, 8853, 555}, "B Nazanin", 15.75);
    row("Label186", c.title, {1638, 882, 9012, 435}, "B Nazanin", 12);
    row("Label188", QStringLiteral("1403/07/21"), {650, 1777, 1350, 270}, "B Nazanin", 9.75);
    row("Label169", QStringLiteral("كد آزمودني:"), {8882, 2079, 1575, 330}, "B Nazanin", 11.25);
    row("Label170", QStringLiteral("1024"), {7703, 2069, 1155, 333}, "B Nazanin", 11.25);
    row("Label184", QStringLiteral("B"), {6878, 2132, 348, 333}, "Arial", 11.25);
    row("Label172", QStringLiteral("مريم"), {5208, 2069, 1233, 333}, "B Nazanin", 11.25);
    row("Label174", QStringLiteral("كريمي"), {2438, 2069, 1647, 333}, "B Nazanin", 11.25);
    row("Label176", QStringLiteral("زن"), {1261, 2069, 510, 270}, "B Nazanin", 11.25);
    row("Label178", QStringLiteral("29"), {237, 2069, 345, 333}, "B Nazanin", 9.75);
    row("Label180", QStringLiteral("مجرد"), {8445, 2447, 744, 330}, "B Nazanin", 11.25);
    row("Label182", QStringLiteral("دانشگاهي"), {5852, 2447, 1602, 333}, "B Nazanin", 11.25);
    row("Label2", QStringLiteral("0"), {2992, 2475, 525, 333}, "B Nazanin", 11.25);
    row("Label1", QStringLiteral("تعداد سوالات بدون پاسخ:"), {3614, 2457, 2280, 330}, "B Nazanin", 11.25);
}

void TestReportLayout::valuesAtTheirPlaces()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QRect, box);
    QFETCH(QString, family);
    QFETCH(double, points);
    const QVector<ReportPage> pages = LayoutReport(samples::content());
    const ReportItem* item = pages.first().find(control);
    QVERIFY(item);
    QCOMPARE(item->text, text);
    const QRectF onPage(box.x() + layout::kBodyLeft, box.y() + layout::kTopMargin, box.width(), box.height());
    QCOMPARE(item->rect, onPage);
    QCOMPARE(item->font, (Face{family, points, true}));
}

void TestReportLayout::identityRowsReadRightToLeft()
{
    const ReportPage page = LayoutReport(samples::content()).first();
    const QList<QStringList> rows{
        {QStringLiteral("Label169"), QStringLiteral("Label170"), QStringLiteral("Label183"), QStringLiteral("Label184"),
         QStringLiteral("Label171"), QStringLiteral("Label172"), QStringLiteral("Label173"), QStringLiteral("Label174"),
         QStringLiteral("Label175"), QStringLiteral("Label176"), QStringLiteral("Label177"), QStringLiteral("Label178")},
        {QStringLiteral("Label179"), QStringLiteral("Label180"), QStringLiteral("Label181"), QStringLiteral("Label182"),
         QStringLiteral("Label1"), QStringLiteral("Label2")}};
    for (const QStringList& row : rows)
        for (int i = 1; i < row.size(); ++i)
            QVERIFY2(page.find(row[i])->rect.center().x() < page.find(row[i - 1])->rect.center().x(), qPrintable(row[i]));
}

void TestReportLayout::logoOnlyWithTheSwitchOn_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("withLogo");
    QTest::addColumn<bool>("printed");
    QTest::newRow("switch on") << true << true << true;
    QTest::newRow("switch off") << false << true << false;
    QTest::newRow("switch on, no logo chosen") << true << false << false;
}

void TestReportLayout::logoOnlyWithTheSwitchOn()
{
    QFETCH(bool, on);
    QFETCH(bool, withLogo);
    QFETCH(bool, printed);
    ReportContent c = samples::content();
    c.logoOn = on;
    if (!withLogo)
        c.logo = QImage();
    const ReportPage page = LayoutReport(c).first();
    const ReportItem* logo = page.find(QStringLiteral("Image4"));
    QCOMPARE(logo != nullptr, printed);
    if (logo)
        QVERIFY(QRectF(layout::kBodyLeft + 114, layout::kTopMargin + 18, 1515, 1395).contains(logo->rect));
    // Everything else is unchanged.
    QCOMPARE(page.items.size(), LayoutReport(samples::content()).first().items.size() - (printed ? 0 : 1));
}

void TestReportLayout::interpretationPagination_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pages");
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("a few lines") << samples::interpretation(3) << 1;
    QTest::newRow("long: continues on a second page") << samples::interpretation(30) << 2;
    QTest::newRow("one unbroken word wider than the label")
        << QString(400, QChar(0x0645)) + QStringLiteral("\r\n") << 1;
}

void TestReportLayout::interpretationPagination()
{
    QFETCH(QString, text);
    QFETCH(int, pages);
    ReportContent c = samples::content();
    c.interpretation = text;
    const QVector<ReportPage> laid = LayoutReport(c);
    QCOMPARE(laid.size(), pages);

    QStringList printed;
    for (int p = 0; p < laid.size(); ++p) {
        const ReportPage& page = laid[p];
        // The footer on every page.
        QVERIFY(page.find(QStringLiteral("Line1")) && page.find(QStringLiteral("Line2")));
        QCOMPARE(page.find(QStringLiteral("Label5"))->text, c.address);
        QCOMPARE(page.find(QStringLiteral("Label10"))->text, QStringLiteral("021-88776655\ninfo@aramesh.example"));
        QCOMPARE(page.find(QStringLiteral("Label5"))->rect.top(), layout::kFooterTop + 103.0);
        // The detail section only on the first.
        QCOMPARE(page.find(QStringLiteral("Image2")) != nullptr, p == 0);
        const QVector<const ReportItem*> lines = page.all(QStringLiteral("Label3"));
        double y = p == 0 ? layout::kTopMargin + layout::kTextTop : layout::kTopMargin;
        for (const ReportItem* line : lines) {
            QCOMPARE(line->rect.top(), y); // one under the other, from the label's top
            QVERIFY(line->rect.bottom() <= layout::kFooterTop);
            QCOMPARE(line->rect.width(), double(layout::kTextWidth));
            y = line->rect.bottom();
            printed << line->text;
        }
    }
    // Every character of the text is printed, in order; only line ends and wrapping blanks go.
    QString expected = text;
    expected.remove(QStringLiteral("\r\n")).remove(QLatin1Char(' '));
    QCOMPARE(printed.join(QString()).remove(QLatin1Char(' ')), expected);
    if (text.contains(QStringLiteral("بند 30")))
        QVERIFY(laid.last().all(QStringLiteral("Label3")).last()->text.startsWith(QStringLiteral("بند 30")));
}

void TestReportLayout::picturesKeepTheirProportions()
{
    const QRectF frame(882, 2898, 8955, 6615);
    const QRectF wide = FitPicture(QSizeF(2000, 500), frame);
    QCOMPARE(wide.width(), frame.width());
    QCOMPARE(wide.height(), frame.width() / 4);
    QCOMPARE(wide.center(), frame.center());
    const QRectF tall = FitPicture(QSizeF(679, 664), frame);
    QCOMPARE(tall.height(), frame.height());
    QVERIFY(qAbs(tall.width() / tall.height() - 679.0 / 664.0) < 1e-9);
    QVERIFY(FitPicture(QSizeF(), frame).isEmpty());
}

TAVORA_TEST(TestReportLayout)
#include "tst_report_layout.moc"
