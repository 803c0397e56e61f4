#include "profile/profile_chart.h"
#include "kit/twips.h"
#include "profile/profile_screen_texts.h"
#include "profile/ranking.h"

#include <QPainter>
#include <QResizeEvent>

using namespace profile;
using namespace profile::chart;

namespace {

// Pens and fonts are given in twips too, so a larger picture keeps the proportions.
constexpr double kHairline = 15;      // one pixel at the natural size
constexpr double kProfileWidth = 45;  // three pixels
constexpr int kNumberFont = 165;
constexpr int kHeadingFont = 195;
constexpr int kTableFont = 180;

const QColor kInk(0, 0, 0);
const QColor kMinorLine(110, 90, 80);

QFont fontOf(const QFont& base, int pixelTwips, bool bold = false)
{
    QFont f = base;
    f.setPixelSize(pixelTwips);
    f.setBold(bold);
    return f;
}

// Latin texts read left to right, Persian captions right to left, wherever the widget sits.
void drawLatin(QPainter& p, const QRectF& box, Qt::Alignment align, const QString& text)
{
    p.drawText(box, int(align | Qt::AlignAbsolute | Qt::AlignVCenter) | Qt::TextForceLeftToRight | Qt::TextDontClip, text);
}

void drawPersian(QPainter& p, const QRectF& box, const QString& text)
{
    p.drawText(box, int(Qt::AlignCenter) | Qt::TextForceRightToLeft | Qt::TextDontClip, text);
}

bool isLatin(const QString& text)
{
    for (const QChar c : text)
        if (c.script() == QChar::Script_Arabic)
            return false;
    return true;
}

} // namespace

ProfileChart::ProfileChart(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ProfileChart"));
    // Positions are absolute twips: never mirrored by the right-to-left interface.
    setLayoutDirection(Qt::LeftToRight);
    resize(sizeHint());
}

QSize ProfileChart::extentTwips()
{
    return {kExtentWidth, kExtentHeight};
}

QSize ProfileChart::sizeHint() const
{
    return twipsSize(kExtentWidth, kExtentHeight);
}

QPointF ProfileChart::scale() const
{
    return {double(width()) / kExtentWidth, double(height()) / kExtentHeight};
}

void ProfileChart::setTScores(const QStringList& tTexts)
{
    segments_ = ComputeProfileSegments(tTexts);
    update();
}

void ProfileChart::place(QWidget* child, const QRect& twips)
{
    if (!child)
        return;
    if (child->parentWidget() != this)
        child->setParent(this);
    placed_.append({child, twips});
    layoutPlaced();
}

void ProfileChart::layoutPlaced()
{
    const QPointF s = scale();
    for (const auto& [child, twips] : std::as_const(placed_)) {
        if (!child)
            continue;
        const QRectF r(twips.x() * s.x(), twips.y() * s.y(), twips.width() * s.x(), twips.height() * s.y());
        child->setGeometry(r.toRect());
    }
}

void ProfileChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPlaced();
}

QImage ProfileChart::toImage(const QSize& size, const QColor& background)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    if (width() <= 0 || height() <= 0 || size.isEmpty())
        return image;
    // Rendered at the widget's own size through a scaled painter: children come along.
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(double(size.width()) / width(), double(size.height()) / height());
    render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

void ProfileChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPointF s = scale();
    p.scale(s.x(), s.y());
    paintGrid(p);
    paintTable(p);
    paintProfile(p);
}

void ProfileChart::paintGrid(QPainter& p) const
{
    p.setRenderHint(QPainter::Antialiasing, false);
    const double top = TToY(kTopT);

    // Reference lines: the customary cut-offs (30, 50, 70) solid and darker, the rest dotted.
    for (const ReferenceLine& line : ReferenceLines()) {
        p.setPen(line.emphasised ? QPen(kInk, kHairline, Qt::SolidLine, Qt::FlatCap)
                                 : QPen(kMinorLine, kHairline, Qt::DotLine, Qt::FlatCap));
        p.drawLine(QLineF(kPlotLeft, line.y, kPlotRight, line.y));
    }

    p.setPen(QPen(kInk, kHairline, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kPlotLeft, top, kPlotRight - kPlotLeft, kZeroY - top));
    p.drawLine(QLineF(kSeparatorX, kZeroY, kSeparatorX, kSeparatorTop));
    for (const EdgeTick& tick : EdgeTicks()) {
        p.drawLine(tick.left);
        p.drawLine(tick.right);
    }

    p.setPen(kInk);
    p.setFont(fontOf(font(), kNumberFont));
    for (const TNumber& n : TNumbers()) {
        drawLatin(p, n.left, Qt::AlignRight, n.text);
        drawLatin(p, n.right, Qt::AlignLeft, n.text);
    }
    p.setFont(fontOf(font(), kHeadingFont, true));
    const QVector<Heading> headings = ColumnHeadings();
    for (int i = 0; i < headings.size(); ++i)
        drawLatin(p, headings[i].box, i < kScaleCount ? Qt::AlignHCenter : Qt::AlignLeft, headings[i].text);
}

void ProfileChart::paintTable(QPainter& p) const
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kInk, kHairline, Qt::SolidLine, Qt::FlatCap));
    // The caption column has no caption in the names row: its box starts under that row,
    // which leaves the right-hand "0" free.
    const double bottom = kRowLines.back();
    p.drawLine(QLineF(kPlotLeft, kTableTop, kPlotRight, kTableTop));
    for (const int y : kRowLines)
        p.drawLine(QLineF(kPlotLeft, y, kTableRight, y));
    for (const int x : TableColumnLines())
        p.drawLine(QLineF(x, x == kTableRight ? kRowLines.front() : kTableTop, x, bottom));

    p.setFont(fontOf(font(), kTableFont, true));
    for (int i = 0; i < kScaleCount; ++i)
        drawLatin(p, TableCell(NamesRow, i), Qt::AlignHCenter, scaleName(i));
    p.setFont(fontOf(font(), kTableFont));
    const std::pair<TableRow, QString> captions[] = {
        {RawRow, screen_texts::kCaptionRawRow},
        {TRow, screen_texts::kCaptionTRow},
        {PercentRow, screen_texts::kCaptionPercentRow},
    };
    for (const auto& [row, caption] : captions) {
        const QRect cell = TableCell(row, kCaptionColumn);
        if (isLatin(caption))
            drawLatin(p, cell, Qt::AlignHCenter, caption);
        else
            drawPersian(p, cell, caption);
    }
}

void ProfileChart::paintProfile(QPainter& p) const
{
    if (!segments_)
        return;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kInk, kProfileWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QLineF& segment : *segments_) {
        if (!segment.isNull())
            p.drawLine(segment);
    }
}
