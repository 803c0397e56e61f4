#include "kit/shipped_fonts.h"

#include <QDir>
#include <QFileInfo>
#include <fontconfig/fontconfig.h>

namespace fonts {

const QStringList& ShippedFaceFiles()
{
    static const QStringList files = {
        // the interface: Persian, Latin
        QStringLiteral("NotoSansArabic-Regular.ttf"), QStringLiteral("NotoSansArabic-Bold.ttf"),
        QStringLiteral("DejaVuSans.ttf"), QStringLiteral("DejaVuSans-Bold.ttf"),
        // the report's "B Nazanin" and "B Titr", and the face both fall back to
        QStringLiteral("nazli.ttf"), QStringLiteral("nazlib.ttf"), QStringLiteral("titr.ttf"),
        QStringLiteral("NotoNaskhArabic-Regular.ttf"), QStringLiteral("NotoNaskhArabic-Bold.ttf"),
        // the report's Latin faces ("Calibri", "Arial") and the Latin letters of the title face
        QStringLiteral("NotoSans-Regular.ttf"), QStringLiteral("NotoSans-Bold.ttf"),
        QStringLiteral("LiberationSans-Regular.ttf"), QStringLiteral("LiberationSans-Bold.ttf"),
        QStringLiteral("NotoSerif-Bold.ttf"),
    };
    return files;
}

QStringList ShippedFontFolders(const QString& executableFolder)
{
    // Installed: <prefix>/lib/tavora71/tavora71 and <prefix>/share/tavora71/fonts.
    QStringList folders{QDir::cleanPath(executableFolder + QStringLiteral("/../../share/tavora71/fonts"))};
#ifdef TAVORA71_BUILD_FONTS
    folders << QStringLiteral(TAVORA71_BUILD_FONTS);
#endif
    return folders;
}

QString FindShippedFonts(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList& faces = ShippedFaceFiles();
        if (std::all_of(faces.begin(), faces.end(), [&](const QString& f) { return QFileInfo(dir.filePath(f)).isFile(); }))
            return dir.absolutePath();
    }
    return {};
}

QByteArray ShippedFontConfig(const QString& folder)
{
    // The rules are the system's (Debian 12) that touch these faces, in its order; the rest of it
    // names faces the program never draws. (The system's FarsiWeb rule tests a foundry that its
    // own scan rules assign; here the two faces are named.) A machine's local.conf and the user's own settings
    // come in where the system takes them.
    QByteArray xml = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>)";
    xml += folder.toHtmlEscaped().toUtf8();
    xml += R"(</dir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <config><rescan><int>0</int></rescan></config>
  <match target="pattern"><edit name="hintstyle" mode="append"><const>hintslight</const></edit></match>
  <match target="pattern"><edit name="antialias" mode="append"><bool>true</bool></edit></match>
  <match target="pattern"><edit name="lcdfilter" mode="append"><const>lcddefault</const></edit></match>
  <match target="font">
    <test name="family"><string>DejaVu Sans</string></test>
    <test compare="less" name="pixelsize"><double>7.5</double></test>
    <edit name="hinting"><bool>false</bool></edit>
  </match>
  <include ignore_missing="yes" prefix="xdg">fontconfig/conf.d</include>
  <include ignore_missing="yes" prefix="xdg">fontconfig/fonts.conf</include>
  <include ignore_missing="yes">/etc/fonts/local.conf</include>
  <match target="font">
    <test name="family"><string>Nazli</string></test>
    <edit name="autohint"><bool>false</bool></edit>
    <edit name="hinting"><bool>false</bool></edit>
    <edit name="embeddedbitmap"><bool>false</bool></edit>
  </match>
  <match target="font">
    <test name="family"><string>Titr</string></test>
    <edit name="autohint"><bool>false</bool></edit>
    <edit name="hinting"><bool>false</bool></edit>
    <edit name="embeddedbitmap"><bool>false</bool></edit>
  </match>
  <match target="font">
    <test name="slant"><const>roman</const></test>
    <test target="pattern" name="slant" compare="not_eq"><const>roman</const></test>
    <edit name="matrix" mode="assign">
      <times><name>matrix</name><matrix><double>1</double><double>0.2</double><double>0</double><double>1</double></matrix></times>
    </edit>
    <edit name="slant" mode="assign"><const>oblique</const></edit>
    <edit name="embeddedbitmap" mode="assign"><bool>false</bool></edit>
  </match>
  <match target="font">
    <test name="weight" compare="less_eq"><const>medium</const></test>
    <test target="pattern" name="weight" compare="more_eq"><const>bold</const></test>
    <edit name="embolden" mode="assign"><bool>true</bool></edit>
    <edit name="weight" mode="assign"><const>bold</const></edit>
  </match>
</fontconfig>
)";
    return xml;
}

bool UseShippedFonts()
{
    const QString folder = FindShippedFonts(ShippedFontFolders(QFileInfo(QStringLiteral("/proc/self/exe")).absolutePath()));
    if (folder.isEmpty())
        return false;
    FcConfig* config = FcConfigCreate();
    if (!config)
        return false;
    const QByteArray xml = ShippedFontConfig(folder);
    const bool made = FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.constData()), FcFalse)
                      && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    FcConfigDestroy(config); // the current configuration holds its own reference
    return made;
}

} // namespace fonts
