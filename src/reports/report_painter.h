#pragma once
// Draws laid-out report pages onto a printer or a PDF writer, one device page per report page.
#include "reports/report_layout.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace reports {

// One page onto a painter whose unit is the twip, origin at the paper's corner.
void PaintPage(QPainter& painter, const ReportPage& page);

// Every page onto the device (A4, no margins of its own; a printer must be set to full page).
// False, with the reason, when the device cannot be painted on.
bool PaintReport(const QVector<ReportPage>& pages, QPagedPaintDevice& device, QString* error = nullptr);

// The report as a PDF document; empty with the reason when it cannot be made.
QByteArray RenderReportPdf(const QVector<ReportPage>& pages, const QString& title, QString* error = nullptr);

} // namespace reports
