#include "profile/profile_geometry.h"
#include "support/test_registry.h"

#include <QTest>

using namespace profile;
using namespace Qt::Literals::StringLiterals;

namespace {

// The twelve end points of the nine segments as (x, y) pairs, in segment order.
QList<QPointF> ends(const ProfileSegments& s)
{
    QList<QPointF> points;
    for (const QLineF& line : s)
        points << line.p1() << line.p2();
    return points;
}

} // namespace

class TestProfileGeometry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chartY_data();
    void chartY();
    void allFiftyDrawsTwoHorizontalPieces();
    void eachScaleMovesOnlyItsOwnEnds();
    void gridAndTable();
};

void TestProfileGeometry::chartY_data()
{
    QTest::addColumn<QString>("t");
    QTest::addColumn<double>("y");
    QTest::newRow("0 at the bottom edge") << QStringLiteral("0") << 7965.0;
    QTest::newRow("120 on the top edge") << QStringLiteral("120") << 765.0;
    QTest::newRow("125 above the grid") << QStringLiteral("125") << 465.0;
    QTest::newRow("negative at 0") << QStringLiteral("-7") << 7965.0;
    QTest::newRow("empty: no point") << QString() << -1.0;
    QTest::newRow("not a number: no point") << QStringLiteral("abc") << -1.0;
    QTest::newRow("leading number") << QStringLiteral("61.5") << 4275.0;
}

void TestProfileGeometry::chartY()
{
    QFETCH(QString, t);
    QFETCH(double, y);
    const QLineF first = ComputeProfileSegments(QStringList(11, t))[0];
    if (y < 0) { // a scale without a T score is no point at T 0: nothing is drawn to it
        QVERIFY(first.isNull());
        return;
    }
    QCOMPARE(ChartY(t), y);
    QCOMPARE(first.p1().y(), y);
}

void TestProfileGeometry::allFiftyDrawsTwoHorizontalPieces()
{
    const ProfileSegments s = ComputeProfileSegments(QStringList(11, QStringLiteral("50")));
    for (const QPointF& p : ends(s))
        QCOMPARE(p.y(), 4965.0);
    // One piece over L to K, one over Hs to Ma, nothing between K and Hs.
    QCOMPARE(s[0].x1(), 1245.0);
    QCOMPARE(s[1].x2(), 2700.0);
    QCOMPARE(s[2].x1(), 3375.0);
    QCOMPARE(s[8].x2(), 8460.0);
    for (int k = 0; k + 1 < int(s.size()); ++k)
        QCOMPARE(s[k].p2() == s[k + 1].p1(), k != 1);
}

void TestProfileGeometry::eachScaleMovesOnlyItsOwnEnds()
{
    // The design's scale columns, L to Ma.
    const QList<double> columnX{1245, 1980, 2700, 3375, 4140, 4875, 5580, 6300, 7020, 7740, 8460};
    // Ends carrying each scale: L the first end of L-F, K the second of F-K, Hs the first of
    // Hs-D, Ma the second of Sc-Ma; every other scale both segments meeting at it.
    const QList<QList<int>> endsOf{{0}, {1, 2}, {3}, {4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}, {13, 14}, {15, 16}, {17}};
    for (int scale = 0; scale < 11; ++scale) {
        QStringList t(11, QStringLiteral("0"));
        t[scale] = QStringLiteral("100");
        const QList<QPointF> points = ends(ComputeProfileSegments(t));
        for (int e = 0; e < points.size(); ++e)
            QCOMPARE(points[e].y(), endsOf[scale].contains(e) ? 1965.0 : 7965.0);
        for (int e : endsOf[scale])
            QCOMPARE(points[e].x(), columnX[scale]);
    }
}

void TestProfileGeometry::gridAndTable()
{
    // Reference lines every 10 T from 10 to 110 (y = 7965 - 60 T); 30, 50 and 70 stand out.
    QList<QPair<int, double>> lines;
    QList<int> emphasised;
    for (const ReferenceLine& l : ReferenceLines()) {
        lines.append({l.t, l.y});
        if (l.emphasised)
            emphasised << l.t;
    }
    QCOMPARE(lines, (QList<QPair<int, double>>{{10, 7365}, {20, 6765}, {30, 6165}, {40, 5565}, {50, 4965}, {60, 4365},
                                               {70, 3765}, {80, 3165}, {90, 2565}, {100, 1965}, {110, 1365}}));
    QCOMPARE(emphasised, (QList<int>{30, 50, 70}));

    // A tick for every point from 0 to 120 on each side, pointing outward from the edges at
    // x 900 and 8820, about 90 twips long and longer every five points.
    const QVector<EdgeTick> ticks = EdgeTicks();
    QCOMPARE(ticks.size(), 121);
    for (int t = 0; t <= 120; ++t) {
        const EdgeTick& tick = ticks.at(t);
        QCOMPARE(tick.t, t);
        QCOMPARE(tick.left.y1(), 7965.0 - 60.0 * t);
        QCOMPARE(tick.left.x1(), 900.0);
        QCOMPARE(tick.right.x1(), 8820.0);
        QCOMPARE(tick.left.length(), tick.right.length());
        QVERIFY(tick.left.x2() < 900 && tick.right.x2() > 8820);
        if (t % 5 == 0)
            QVERIFY(tick.left.length() > 90);
        else
            QCOMPARE(tick.left.length(), 90.0);
    }

    // "0" to "120" every five points, centred on their lines: left ones near x 495, right
    // ones from x 9090, clear of the long ticks.
    const QVector<TNumber> numbers = TNumbers();
    QCOMPARE(numbers.size(), 25);
    QCOMPARE(numbers.first().text, QStringLiteral("0"));
    QCOMPARE(numbers.first().left.center().y(), 7965.0);
    QCOMPARE(numbers.last().text, QStringLiteral("120"));
    QCOMPARE(numbers.last().left.center().y(), 765.0);
    for (const TNumber& n : numbers) {
        QVERIFY(n.left.left() < 495 && n.left.right() > 495 && n.left.right() < 900 - 180);
        QCOMPARE(n.right.left(), 9090.0);
    }

    // The scale names over their columns at y 405, "T" at the right end.
    QStringList headingTexts;
    for (const Heading& h : ColumnHeadings()) {
        headingTexts << h.text;
        QCOMPARE(h.box.top(), 405.0);
    }
    QCOMPARE(headingTexts, (QStringList{u"L"_s, u"F"_s, u"K"_s, u"Hs"_s, u"D"_s, u"Hy"_s, u"Pd"_s, u"Pa"_s, u"Pt"_s,
                                        u"Sc"_s, u"Ma"_s, u"T"_s}));
    QCOMPARE(ColumnHeadings().at(3).box.center().x(), 3375.0);

    // The table: column lines every 720 from 900, closing at 9990; rows from y 8010, 8280,
    // 8595 and 8910 down to their lines at 8235, 8550, 8865 and 9180.
    QCOMPARE(TableColumnLines(), (QVector<int>{900, 1620, 2340, 3060, 3780, 4500, 5220, 5940, 6660, 7380, 8100, 8820, 9990}));
    const QList<QPair<int, int>> rows{{8010, 8235}, {8280, 8550}, {8595, 8865}, {8910, 9180}};
    const QList<int> columnX{1245, 1980, 2700, 3375, 4140, 4875, 5580, 6300, 7020, 7740, 8460};
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 11; ++column) {
            const QRect cell = TableCell(chart::TableRow(row), column);
            QCOMPARE(cell.top(), rows[row].first);
            QCOMPARE(cell.top() + cell.height(), rows[row].second);
            QCOMPARE(cell.left(), 900 + 720 * column);
            QVERIFY(cell.left() < columnX[column] && columnX[column] < cell.left() + cell.width());
        }
    }
    // The captions end at the closing line.
    QCOMPARE(TableCell(chart::PercentRow, chart::kCaptionColumn), QRect(8820, 8910, 9990 - 8820, 9180 - 8910));
}

TAVORA_TEST(TestProfileGeometry)
#include "tst_profile_geometry.moc"
