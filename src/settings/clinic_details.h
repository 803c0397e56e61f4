#pragma once
// The clinic's part of the report, from the one-row settings table (Theme) and the logo file
// of the program folder.
#include "store/result.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

namespace settings {

struct ClinicDetails {
    QString name;            // Name
    QString identifierLabel; // T11
    QString address;         // Adress
    QString contactLines;    // T1..T6, the filled ones, each ending in CR LF
    bool logoOn = false;     // Check1 = 1
    QImage logo;             // null when there is none or it cannot be read
};

// The logo's file in the program folder.
inline const QString kLogoFileName = QStringLiteral("tavora-71.jpg");

// The contact lines: each filled value followed by CR LF, in order.
QString ComposeContactLines(const QStringList& values);
// value: a column of the settings row by name.
ClinicDetails ClinicFromSettings(const std::function<QString(const QString&)>& value, const QString& programFolder);
// The logo, whatever picture format the file holds; null when missing or unreadable.
QImage LoadLogo(const QString& programFolder);
// A picture file read by its content, whatever its name says; null when it holds no picture.
QImage ReadPicture(const QString& path);
// Replaces the logo file with the picture as JPEG, the format its name promises. Written beside
// the file and renamed into place, so a failed write leaves the old logo whole.
store::Result StoreLogo(const QImage& picture, const QString& programFolder);
// The longest side of a stored logo, in pixels: ample for print, cheap to read at start-up.
constexpr int kLogoMaxSide = 1000;

} // namespace settings
