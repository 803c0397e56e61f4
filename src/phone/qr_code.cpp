#include "phone/qr_code.h"

#include <QPainter>
#include <qrencode.h>

#include <memory>

namespace phone {

QImage QrCodeImage(const QString& text, int moduleSize)
{
    const QByteArray bytes = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(bytes.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code || moduleSize < 1)
        return {};
    constexpr int kQuiet = 4;
    const int width = code->width;
    const int side = (width + 2 * kQuiet) * moduleSize;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < width; ++x)
            if (code->data[y * width + x] & 1)
                p.fillRect((x + kQuiet) * moduleSize, (y + kQuiet) * moduleSize, moduleSize, moduleSize, Qt::black);
    return image;
}

} // namespace phone
