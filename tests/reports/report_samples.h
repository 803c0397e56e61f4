#pragma once
// Report contents shared by the report tests: one examinee, a clinic, pictures of known sizes.
#include "reports/report_content.h"

#include <QColor>
#include <QImage>
#include <QStringList>

namespace samples {

inline QImage solid(int w, int h, const QColor& colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// An interpretation of the given number of lines, each ending in CR LF; numbered so that
// every line is told apart.
inline QString interpretation(int lines)
{
    QString text;
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("بند %1: نمره اين مقياس در دامنه متوسط است و نشانه اي از مشكل جدي ديده نمي شود.\r\n").arg(i);
    return text;
}

inline reports::ReportContent content(int lines = 3)
{
    reports::ReportContent c;
    c.clinicName = QStringLiteral("كلينيك مشاوره آرامش");
    c.logo = solid(300, 200, QColor(30, 90, 160));
    c.logoOn = true;
    c.identifierLabel = QStringLiteral("كد آزمودني");
    c.title = QStringLiteral("Tavora-2-71  Profile For Validity and Clinical Scales T Scores for Iran");
    c.identity = {QStringLiteral("1024"), QStringLiteral("B"), QStringLiteral("مريم"), QStringLiteral("كريمي"),
                  QStringLiteral("زن"), QStringLiteral("29"), QStringLiteral("مجرد"), QStringLiteral("دانشگاهي"),
                  QStringLiteral("1403/07/21")};
    c.unanswered = QStringLiteral("0");
    c.profile = solid(679, 664, QColor(250, 250, 250));
    c.interpretation = interpretation(lines);
    c.address = QStringLiteral("تهران، خيابان وليعصر، پلاك 12");
    c.contactLines = QStringLiteral("021-88776655\r\ninfo@aramesh.example\r\n");
    return c;
}

} // namespace samples
