#include "reports/report_painter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

namespace reports {

namespace {

constexpr double kPenTwips = 15; // one screen pixel

void paintText(QPainter& p, const ReportItem& item)
{
    if (item.text.isEmpty())
        return;
    QFont font = ReportFont(item.font);
    p.setFont(font);
    QTextOption option(item.alignment | Qt::AlignAbsolute | (item.wrap ? Qt::AlignTop : Qt::AlignVCenter));
    option.setTextDirection(item.direction);
    option.setWrapMode(item.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    // A footer label with more lines than its box holds (six contact lines) is drawn smaller
    // rather than losing its last line.
    for (int i = 0; i < 3 && item.wrap && item.name != QLatin1String("Label3"); ++i) {
        const double needed = p.boundingRect(item.rect, item.text, option).height();
        if (needed <= item.rect.height())
            break;
        font.setPixelSize(qMax(1, int(font.pixelSize() * item.rect.height() / needed)));
        p.setFont(font);
    }
    p.save();
    // A label keeps its text within its width; the faces are taller than some of the boxes, so
    // ascenders and descenders may leave them. Interpretation lines were broken to fit already.
    if (item.name != QLatin1String("Label3"))
        p.setClipRect(item.rect.adjusted(0, -item.rect.height(), 0, item.rect.height()));
    p.drawText(item.rect, item.text, option);
    p.restore();
}

} // namespace

void PaintPage(QPainter& p, const ReportPage& page)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::LosslessImageRendering); // the chart's thin lines stay sharp in a PDF
    p.setPen(QPen(Qt::black, kPenTwips));
    p.setBrush(Qt::NoBrush);
    for (const ReportItem& item : page.items) {
        switch (item.kind) {
        case ReportItem::Kind::Text:
            paintText(p, item);
            break;
        case ReportItem::Kind::Picture:
            p.drawImage(item.rect, item.picture);
            break;
        case ReportItem::Kind::Frame:
            p.drawRect(item.rect);
            break;
        case ReportItem::Kind::Rule:
            p.drawLine(item.rect.topLeft(), item.rect.topRight());
            break;
        }
    }
}

bool PaintReport(const QVector<ReportPage>& pages, QPagedPaintDevice& device, QString* error)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = QStringLiteral("the page device cannot be painted on");
        return false;
    }
    const double scale = device.logicalDpiX() / 1440.0;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            if (error)
                *error = QStringLiteral("no further page");
            painter.end();
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        PaintPage(painter, pages.at(i));
        painter.restore();
    }
    return painter.end();
}

QByteArray RenderReportPdf(const QVector<ReportPage>& pages, const QString& title, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1440);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tavora-II-71"));
        if (!PaintReport(pages, writer, error))
            return {};
    }
    return bytes;
}

} // namespace reports
