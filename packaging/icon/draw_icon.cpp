// Draws the program's icon: a profile sheet (a zigzag of scores over two guide lines) on a
// teal tile. The same shapes are written as SVG and painted into PNGs of each size, so the
// scalable and the fixed-size icons never drift apart.
// Usage: tavora71-icon <output folder> <icon name>
//   writes <folder>/scalable/<name>.svg and <folder>/<n>x<n>/<name>.png.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QTextStream>

#include <cstdio>
#include <variant>
#include <vector>

namespace {

constexpr double kCanvas = 256;
const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

struct Box {
    QRectF rect;
    double radius;
    QColor fill;
};
struct Line {
    std::vector<QPointF> points;
    double width;
    QColor stroke;
};
struct Dot {
    QPointF centre;
    double radius;
    QColor fill;
};
using Shape = std::variant<Box, Line, Dot>;

std::vector<Shape> Shapes()
{
    const QColor tile(0x1f, 0x6f, 0x78);
    const QColor shadow(0x17, 0x52, 0x59);
    const QColor paper(0xfd, 0xfb, 0xf5);
    const QColor ink(0x24, 0x39, 0x4d);
    const QColor guide(0xb8, 0xc7, 0xcb);
    const QColor accent(0xe0, 0x7a, 0x5f);
    const std::vector<QPointF> profile{{84, 170}, {110, 120}, {134, 146}, {158, 88}, {180, 132}};

    std::vector<Shape> s{
        Box{{16, 16, 224, 224}, 44, tile},
        Box{{64, 44, 140, 180}, 10, shadow}, // the sheet's shadow, offset down and right
        Box{{58, 36, 140, 180}, 10, paper},
        Line{{{80, 62}, {150, 62}}, 9, ink}, // the sheet's heading
        Line{{{74, 104}, {182, 104}}, 4, accent}, // the upper guide
        Line{{{74, 150}, {182, 150}}, 4, guide},  // the middle guide
        Line{profile, 9, ink},
    };
    for (const QPointF& p : profile)
        s.push_back(Dot{p, 9, accent});
    return s;
}

QString Colour(const QColor& c) { return c.name(QColor::HexRgb); }

QString Svg(const std::vector<Shape>& shapes)
{
    QString out;
    QTextStream svg(&out);
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kCanvas << "\" height=\"" << kCanvas
        << "\" viewBox=\"0 0 " << kCanvas << ' ' << kCanvas << "\">\n";
    for (const Shape& shape : shapes) {
        if (const auto* b = std::get_if<Box>(&shape)) {
            svg << "  <rect x=\"" << b->rect.x() << "\" y=\"" << b->rect.y() << "\" width=\"" << b->rect.width()
                << "\" height=\"" << b->rect.height() << "\" rx=\"" << b->radius << "\" fill=\"" << Colour(b->fill)
                << "\"/>\n";
        } else if (const auto* l = std::get_if<Line>(&shape)) {
            svg << "  <polyline points=\"";
            for (std::size_t i = 0; i < l->points.size(); ++i)
                svg << (i ? " " : "") << l->points[i].x() << ',' << l->points[i].y();
            svg << "\" fill=\"none\" stroke=\"" << Colour(l->stroke) << "\" stroke-width=\"" << l->width
                << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
        } else if (const auto* d = std::get_if<Dot>(&shape)) {
            svg << "  <circle cx=\"" << d->centre.x() << "\" cy=\"" << d->centre.y() << "\" r=\"" << d->radius
                << "\" fill=\"" << Colour(d->fill) << "\"/>\n";
        }
    }
    svg << "</svg>\n";
    return out;
}

QImage Png(const std::vector<Shape>& shapes, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    for (const Shape& shape : shapes) {
        if (const auto* b = std::get_if<Box>(&shape)) {
            p.setPen(Qt::NoPen);
            p.setBrush(b->fill);
            p.drawRoundedRect(b->rect, b->radius, b->radius);
        } else if (const auto* l = std::get_if<Line>(&shape)) {
            p.setPen(QPen(l->stroke, l->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(l->points.data(), int(l->points.size()));
        } else if (const auto* d = std::get_if<Dot>(&shape)) {
            p.setPen(Qt::NoPen);
            p.setBrush(d->fill);
            p.drawEllipse(d->centre, d->radius, d->radius);
        }
    }
    p.end();
    return image;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output folder> <icon name>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const std::vector<Shape> shapes = Shapes();

    const QString svgPath = out.filePath(QStringLiteral("scalable/%1.svg").arg(name));
    if (!Write(svgPath, Svg(shapes).toUtf8())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
        return 1;
    }
    for (const int size : kSizes) {
        const QString pngPath = out.filePath(QStringLiteral("%1x%1/%2.png").arg(size).arg(name));
        QDir().mkpath(QFileInfo(pngPath).path());
        if (!Png(shapes, size).save(pngPath, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(pngPath));
            return 1;
        }
    }
    return 0;
}
