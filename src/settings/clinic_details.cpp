#include "settings/clinic_details.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace settings {

QString ComposeContactLines(const QStringList& values)
{
    QString lines;
    for (const QString& value : values)
        if (!value.isEmpty())
            lines += value + QStringLiteral("\r\n");
    return lines;
}

QImage LoadLogo(const QString& programFolder)
{
    const QString path = QDir(programFolder).filePath(kLogoFileName);
    if (!QFileInfo::exists(path))
        return {}; // no reader at all: it would load the picture plugins at every start
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // the logo file keeps its name whatever it holds
    return reader.read();
}

ClinicDetails ClinicFromSettings(const std::function<QString(const QString&)>& value, const QString& programFolder)
{
    ClinicDetails c;
    c.name = value(QStringLiteral("Name"));
    c.identifierLabel = value(QStringLiteral("T11"));
    c.address = value(QStringLiteral("Adress"));
    QStringList contact;
    for (int i = 1; i <= 6; ++i)
        contact << value(QStringLiteral("T%1").arg(i));
    c.contactLines = ComposeContactLines(contact);
    c.logoOn = value(QStringLiteral("Check1")).trimmed() == QLatin1String("1");
    if (c.logoOn)
        c.logo = LoadLogo(programFolder);
    return c;
}

} // namespace settings
