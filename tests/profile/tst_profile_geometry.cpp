#include "profile/profile_geometry.h"
#include "support/test_registry.h"

#include <QTest>

using namespace profile;

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
    QTest::newRow("empty at 0") << QString() << 7965.0;
    QTest::newRow("not a number at 0") << QStringLiteral("abc") << 7965.0;
    QTest::newRow("leading number") << QStringLiteral("61.5") << 4275.0;
}

void TestProfileGeometry::chartY()
{
    QFETCH(QString, t);
    QFETCH(double, y);
    QCOMPARE(ChartY(t), y);
    QCOMPARE(ComputeProfileSegments(QStringList(11, t))[0].p1().y(), y);
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
    // Ends carrying each scale: L the first end of L-F, K the second of F-K, Hs the first of
    // Hs-D, Ma the second of Sc-Ma; every other scale both segments meeting at it.
    const QList<QList<int>> endsOf{{0}, {1, 2}, {3}, {4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}, {13, 14}, {15, 16}, {17}};
    for (int scale = 0; scale < 11; ++scale) {
        QStringList t(11, QStringLiteral("0"));
        t[scale] = QStringLiteral("100");
        if (scale < 10)
            t.removeLast(); // a short row reads its missing positions as T 0
        const QList<QPointF> points = ends(ComputeProfileSegments(t));
        for (int e = 0; e < points.size(); ++e)
            QCOMPARE(points[e].y(), endsOf[scale].contains(e) ? 1965.0 : 7965.0);
        for (int e : endsOf[scale])
            QCOMPARE(points[e].x(), double(chart::kScaleX[scale]));
    }
}

void TestProfileGeometry::gridAndTable()
{
    QList<int> emphasised;
    for (const ReferenceLine& l : ReferenceLines()) {
        QCOMPARE(l.y, TToY(l.t));
        if (l.emphasised)
            emphasised << l.t;
    }
    QCOMPARE(ReferenceLines().size(), 11);
    QCOMPARE(emphasised, (QList<int>{30, 50, 70}));

    // A tick for every point from 0 to 120 on each side, pointing outward, longer every five.
    const QVector<EdgeTick> ticks = EdgeTicks();
    QCOMPARE(ticks.size(), 121);
    int longTicks = 0;
    for (const EdgeTick& tick : ticks) {
        QVERIFY(tick.left.x2() < 900 && tick.right.x2() > 8820);
        QCOMPARE(tick.left.length(), tick.right.length());
        QCOMPARE(tick.left.y1(), TToY(tick.t));
        if (tick.left.length() > 90) {
            QCOMPARE(tick.t % 5, 0);
            ++longTicks;
        }
    }
    QCOMPARE(longTicks, 25);
    const QVector<TNumber> numbers = TNumbers();
    QCOMPARE(numbers.size(), 25);
    QCOMPARE(numbers.last().text, QStringLiteral("120"));
    QCOMPARE(numbers.last().left.center().y(), 765.0);
    for (const TNumber& n : numbers) // clear of the long ticks on both sides
        QVERIFY(n.left.right() < 900 - 180 && n.right.left() > 8820 + 180);
    QCOMPARE(ColumnHeadings().last().text, QStringLiteral("T"));

    QCOMPARE(TableColumnLines(), (QVector<int>{900, 1620, 2340, 3060, 3780, 4500, 5220, 5940, 6660, 7380, 8100, 8820, 9990}));
    // Each scale's cells hold its plotted point's column; the captions end at the closing line.
    for (int column = 0; column < 11; ++column) {
        const QRect cell = TableCell(chart::TRow, column);
        QVERIFY(cell.left() < chart::kScaleX[column] && chart::kScaleX[column] < cell.left() + cell.width());
    }
    const QRect caption = TableCell(chart::PercentRow, chart::kCaptionColumn);
    QCOMPARE(caption, QRect(8820, 8910, 9990 - 8820, 9180 - 8910));
}

TAVORA_TEST(TestProfileGeometry)
#include "tst_profile_geometry.moc"
