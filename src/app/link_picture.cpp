#include "app/link_picture.h"

#include <QResource>
#include <QLinearGradient>
#include <QPainter>
#include <cstring>

QImage DrawLinkPicture(const QSize& size)
{
    QImage pm(size, QImage::Format_ARGB32_Premultiplied);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(pm.rect()).adjusted(1, 1, -1, -1);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0x2f, 0x5d, 0x8a));
    g.setColorAt(1, QColor(0x17, 0x33, 0x52));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(frame, 14, 14);

    const QRectF plot = frame.adjusted(frame.width() * 0.08, frame.height() * 0.14, -frame.width() * 0.08,
                                       -frame.height() * 0.14);
    auto yOf = [&](double t) { return plot.bottom() - (t - 20) / 100.0 * plot.height(); };
    for (int t = 30; t <= 110; t += 10) {
        const bool reference = t == 50 || t == 70;
        p.setPen(QPen(QColor(255, 255, 255, reference ? 150 : 55), reference ? 1.6 : 1.0,
                      reference ? Qt::DashLine : Qt::SolidLine));
        p.drawLine(QPointF(plot.left(), yOf(t)), QPointF(plot.right(), yOf(t)));
    }
    const double profile[11] = {52, 61, 47, 58, 72, 63, 66, 55, 69, 60, 48};
    const double step = plot.width() / 11.0;
    auto point = [&](int i) { return QPointF(plot.left() + step * (i + 0.5), yOf(profile[i])); };
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.2));
    const double separator = plot.left() + step * 3;
    p.drawLine(QPointF(separator, plot.top()), QPointF(separator, plot.bottom()));
    p.setPen(QPen(QColor(0xf4, 0xc4, 0x5a), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int i = 0; i < 10; ++i)
        if (i != 2) // validity and clinical scales are not joined
            p.drawLine(point(i), point(i + 1));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf7, 0xfb));
    for (int i = 0; i < 11; ++i)
        p.drawEllipse(point(i), 4.5, 4.5);
    return pm;
}


QByteArray LinkPictureData(const QImage& picture)
{
    QByteArray data;
    const qint32 size[2] = {picture.width(), picture.height()};
    data.append(reinterpret_cast<const char*>(size), sizeof size);
    for (int y = 0; y < picture.height(); ++y)
        data.append(reinterpret_cast<const char*>(picture.constScanLine(y)), picture.width() * 4);
    return data;
}

QImage BuiltLinkPicture(const QSize& size)
{
    // Stored uncompressed: the rows are read where the program's image holds them, with no
    // inflating and no copy before the window's own.
    const QResource stored(QStringLiteral(":/app/link-picture.argb"));
    if (!stored.isValid() || stored.compressionAlgorithm() != QResource::Compression::NoCompression)
        return {};
    const qint64 bytes = stored.size();
    qint32 header[2] = {0, 0};
    if (bytes < qint64(sizeof header))
        return {};
    std::memcpy(header, stored.data(), sizeof header);
    if (QSize(header[0], header[1]) != size || bytes != qint64(sizeof header) + qint64(size.width()) * size.height() * 4)
        return {};
    const uchar* rows = stored.data() + sizeof header;
    const QImage picture(rows, size.width(), size.height(), qsizetype(size.width()) * 4, QImage::Format_ARGB32_Premultiplied);
    // Pixels are read as whole words: rows the resource did not align are copied once.
    return reinterpret_cast<quintptr>(rows) % alignof(quint32) == 0 ? picture : picture.copy();
}
