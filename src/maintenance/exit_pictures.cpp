#include "maintenance/exit_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace maintenance {

QPixmap DrawExitPicture(ExitPicture which, bool highlighted, const QSize& size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    const bool confirm = which == ExitPicture::Confirm;
    // Confirm in green, cancel in a brick red; the highlighted picture is lighter and ringed.
    const QColor base = confirm ? QColor(0x2e, 0x8b, 0x57) : QColor(0xb0, 0x3a, 0x2e);
    const QColor top = highlighted ? base.lighter(150) : base.lighter(115);
    const QColor bottom = highlighted ? base : base.darker(125);

    const QRectF frame = QRectF(pm.rect()).adjusted(2, 2, -2, -2);
    const qreal radius = frame.height() * 0.28;
    QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.setPen(QPen(highlighted ? QColor(0xff, 0xd8, 0x6b) : base.darker(160), highlighted ? 2.5 : 1.2));
    p.drawRoundedRect(frame, radius, radius);

    // A soft shine on the upper half.
    QRectF shine = frame.adjusted(4, 3, -4, -frame.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, highlighted ? 70 : 45));
    p.drawRoundedRect(shine, radius * 0.7, radius * 0.7);

    // The sign: a tick or a cross, centred.
    const qreal s = frame.height() * 0.46;
    const QPointF c = frame.center();
    QPainterPath sign;
    if (confirm) {
        sign.moveTo(c + QPointF(-s * 0.55, 0));
        sign.lineTo(c + QPointF(-s * 0.15, s * 0.42));
        sign.lineTo(c + QPointF(s * 0.6, -s * 0.45));
    } else {
        sign.moveTo(c + QPointF(-s * 0.42, -s * 0.42));
        sign.lineTo(c + QPointF(s * 0.42, s * 0.42));
        sign.moveTo(c + QPointF(s * 0.42, -s * 0.42));
        sign.lineTo(c + QPointF(-s * 0.42, s * 0.42));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 60), frame.height() * 0.13 + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(sign.translated(1, 1.5));
    p.setPen(QPen(Qt::white, frame.height() * 0.13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(sign);
    return pm;
}

} // namespace maintenance
