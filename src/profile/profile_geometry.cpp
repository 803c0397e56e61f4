#include "profile/profile_geometry.h"
#include "profile/ranking.h"
#include "scoring/leading_number.h"

namespace profile {

using namespace chart;

double ChartT(const QString& tText)
{
    const double t = LeadingNumberOrZero(tText);
    return t < 0 ? 0.0 : t;
}

double TToY(double t)
{
    return kZeroY - kTwipsPerPoint * t;
}

double ChartY(const QString& tText)
{
    return TToY(ChartT(tText));
}

ProfileSegments ComputeProfileSegments(const QStringList& tTexts)
{
    std::array<QPointF, kScaleCount> points;
    std::array<bool, kScaleCount> known{};
    for (int i = 0; i < kScaleCount; ++i) {
        const QString t = i < tTexts.size() ? tTexts.at(i) : QString();
        known[i] = LeadingNumber(t).has_value();
        points[i] = QPointF(kScaleX[i], ChartY(t));
    }
    ProfileSegments segments;
    int s = 0;
    for (int i = 0; i + 1 < kScaleCount; ++i) {
        if (i == kValidityCount - 1) // K to Hs: the two groups stay apart
            continue;
        // A scale without a T score is no point at T 0: its segments are left out.
        segments[s++] = known[i] && known[i + 1] ? QLineF(points[i], points[i + 1]) : QLineF();
    }
    return segments;
}

QVector<ReferenceLine> ReferenceLines()
{
    QVector<ReferenceLine> lines;
    for (int t = 10; t <= 110; t += 10)
        lines.append({t, TToY(t), t == 30 || t == 50 || t == 70});
    return lines;
}

QVector<EdgeTick> EdgeTicks()
{
    QVector<EdgeTick> ticks;
    for (int t = 0; t <= kTopT; ++t) {
        const double y = TToY(t);
        const int length = t % 5 == 0 ? kLongTick : kShortTick;
        ticks.append({t, y, QLineF(kPlotLeft, y, kPlotLeft - length, y), QLineF(kPlotRight, y, kPlotRight + length, y)});
    }
    return ticks;
}

QVector<TNumber> TNumbers()
{
    constexpr double width = 330;
    QVector<TNumber> numbers;
    for (int t = 0; t <= kTopT; t += 5) {
        const double top = TToY(t) - kNumberHeight / 2.0;
        numbers.append({QString::number(t), QRectF(kLeftNumbersRight - width, top, width, kNumberHeight),
                        QRectF(kRightNumbersLeft, top, width, kNumberHeight)});
    }
    return numbers;
}

QVector<Heading> ColumnHeadings()
{
    QVector<Heading> headings;
    for (int i = 0; i < kScaleCount; ++i)
        headings.append({scaleName(i), QRectF(kScaleX[i] - kColumnWidth / 2.0, kHeadingTop, kColumnWidth, kHeadingHeight)});
    headings.append({QStringLiteral("T"), QRectF(kRightNumbersLeft, kHeadingTop, 330, kHeadingHeight)});
    return headings;
}

QVector<int> TableColumnLines()
{
    QVector<int> xs;
    for (int x = kPlotLeft; x <= kPlotRight; x += kColumnWidth)
        xs << x;
    xs << kTableRight;
    return xs;
}

QRect TableCell(TableRow row, int column)
{
    const int left = kPlotLeft + column * kColumnWidth;
    const int right = column >= kCaptionColumn ? kTableRight : left + kColumnWidth;
    return QRect(left, kRowTops[row], right - left, kRowLines[row] - kRowTops[row]);
}

} // namespace profile
