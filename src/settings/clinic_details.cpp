#include "settings/clinic_details.h"
#include "store/private_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

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

QImage ReadPicture(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true); // a photo taken upright shows upright
    return reader.read();
}

store::Result StoreLogo(const QImage& picture, const QString& programFolder)
{
    const QString path = QDir(programFolder).filePath(kLogoFileName);
    if (picture.isNull())
        return store::Result::failure(QStringLiteral("%1: no picture to store").arg(path));
    QImage fitted = picture;
    if (std::max(picture.width(), picture.height()) > kLogoMaxSide)
        fitted = picture.scaled(kLogoMaxSide, kLogoMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // JPEG has no transparency: a transparent logo is laid on white, as on the printed page.
    QImage flat(fitted.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, fitted);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !store::MakeOwnerOnly(file))
        return store::Result::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    QImageWriter writer(&file, "jpg");
    writer.setQuality(92);
    if (!writer.write(flat)) {
        file.cancelWriting();
        return store::Result::failure(QStringLiteral("%1: %2").arg(path, writer.errorString()));
    }
    if (!file.commit())
        return store::Result::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return store::Result::success();
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
