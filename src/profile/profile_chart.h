#pragma once
// The profile chart: T grid, edge ticks and numbers, column headings, the table under the grid
// and the profile line. It draws in twips and scales them to its own size; controls placed on
// it (the score labels of the profile screen) are kept at their twip positions likewise.
#include "profile/profile_geometry.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <optional>

class ProfileChart : public QWidget {
    Q_OBJECT
public:
    explicit ProfileChart(QWidget* parent = nullptr);

    // The drawing's extent in twips; its natural size is this at 15 twips a pixel.
    static QSize extentTwips();
    QSize sizeHint() const override;

    // Draws the profile line of these T texts (scale order); until the first call there is none.
    void setTScores(const QStringList& tTexts);
    bool hasProfile() const { return segments_.has_value(); }
    // The segments drawn, in twips (empty before the first setTScores).
    std::optional<profile::ProfileSegments> segments() const { return segments_; }

    // Keeps a child widget at a twip rectangle of the drawing as the chart is resized.
    void place(QWidget* child, const QRect& twips);

    // The chart with its placed children rendered at any size, on the given background.
    QImage toImage(const QSize& size, const QColor& background = Qt::white);

    // Pixels of the widget per twip of the drawing, horizontally and vertically.
    QPointF scale() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void paintGrid(QPainter& p) const;
    void paintTable(QPainter& p) const;
    void paintProfile(QPainter& p) const;
    void layoutPlaced();

    std::optional<profile::ProfileSegments> segments_;
    QList<QPair<QPointer<QWidget>, QRect>> placed_;
};
