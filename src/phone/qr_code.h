#pragma once
// The QR code of the phone page's link, drawn by libqrencode's modules.
#include <QImage>
#include <QString>

namespace phone {

// Black modules of moduleSize pixels on white, with the four-module quiet zone readers need;
// a null image when the text cannot be encoded.
QImage QrCodeImage(const QString& text, int moduleSize = 6);

} // namespace phone
