#pragma once
// Geometry of the profile chart and of the score table under it, in twips (1/1440 inch) in the
// chart's own coordinates, y growing downward. Plain numbers in, plain positions out: the chart
// widget only scales and draws what this computes.
#include <QLineF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace profile::chart {

// T axis: T 0 at y 7965, T 120 (the top edge of the grid) at y 765, 60 twips a point.
inline constexpr double kZeroY = 7965;
inline constexpr double kTwipsPerPoint = 60;
inline constexpr int kTopT = 120;

// The plot between its two side edges; validity scales left of the separator, clinical right.
inline constexpr int kPlotLeft = 900;
inline constexpr int kPlotRight = 8820;
inline constexpr int kSeparatorX = 3060;
inline constexpr int kSeparatorTop = 675; // a little above the grid
// x of the plotted point of each scale, in scale order L F K Hs D Hy Pd Pa Pt Sc Ma.
inline constexpr std::array<int, 11> kScaleX{1245, 1980, 2700, 3375, 4140, 4875, 5580, 6300, 7020, 7740, 8460};

// Edge ticks point outward from the side edges, one every T point.
inline constexpr int kShortTick = 90;
inline constexpr int kLongTick = 180; // every five points
// The T numbers: the left ones end just before the long ticks (their left edge near x 495),
// the right ones start at x 9090.
inline constexpr int kLeftNumbersRight = 675;
inline constexpr int kRightNumbersLeft = 9090;
inline constexpr int kNumberHeight = 240;

// Column headings above the plot, "T" at the right end over the right-hand numbers.
inline constexpr int kHeadingTop = 405;
inline constexpr int kHeadingHeight = 255;

// The score table: four rows under the plot, eleven scale columns and a caption column.
inline constexpr int kTableTop = 7965; // the grid's bottom edge closes the table at the top
inline constexpr int kColumnWidth = 720;
inline constexpr int kTableRight = 9990;
inline constexpr std::array<int, 4> kRowTops{8010, 8280, 8595, 8910};
inline constexpr std::array<int, 4> kRowLines{8235, 8550, 8865, 9180};
enum TableRow { NamesRow = 0, RawRow = 1, TRow = 2, PercentRow = 3 };
inline constexpr int kCaptionColumn = 11;

// The whole drawing, table included; T 125 still fits above the headings' top.
inline constexpr int kExtentWidth = 10185;
inline constexpr int kExtentHeight = 9270;

} // namespace profile::chart

namespace profile {

// The T score where the chart draws it: the leading number of the text, an empty or
// non-numeric text as 0, anything below 0 as 0. There is no upper limit: a T above 120 is
// drawn above the grid.
double ChartT(const QString& tText);
// y of a T score, not clamped either way.
double TToY(double t);
// y of a T text as the chart draws it.
double ChartY(const QString& tText);

// The nine segments of the profile line from the eleven T texts in scale order:
// L-F, F-K, then Hs-D, D-Hy, Hy-Pd, Pd-Pa, Pa-Pt, Pt-Sc, Sc-Ma. K and Hs are not joined.
// Missing positions read as empty texts (T 0).
inline constexpr int kSegmentCount = 9;
using ProfileSegments = std::array<QLineF, kSegmentCount>;
// A segment one of whose scales has no T score (no number) is a null line, drawn as nothing.
ProfileSegments ComputeProfileSegments(const QStringList& tTexts);

// Horizontal reference lines every 10 T from 10 to 110; T 30, 50 and 70 are emphasised.
struct ReferenceLine {
    int t;
    double y;
    bool emphasised;
};
QVector<ReferenceLine> ReferenceLines();

// One tick per T point from 0 to 120 on each side edge; long ones every five points.
// The x values are the tick's two ends, from the edge outward.
struct EdgeTick {
    int t;
    double y;
    QLineF left;
    QLineF right;
};
QVector<EdgeTick> EdgeTicks();

// "0", "5", ... "120" on both sides, each box vertically centred on its T line.
struct TNumber {
    QString text;
    QRectF left;  // right-aligned against the left ticks
    QRectF right; // left-aligned after the right ticks
};
QVector<TNumber> TNumbers();

// Heading boxes above the plot: the eleven scale names centred on their columns, then "T".
struct Heading {
    QString text;
    QRectF box;
};
QVector<Heading> ColumnHeadings();

// x of the table's vertical lines: 900, 1620, ... 8820, then the closing line at 9990.
QVector<int> TableColumnLines();
// The box of one table cell's text: column 0..10 a scale, 11 the row caption column.
QRect TableCell(chart::TableRow row, int column);

} // namespace profile
