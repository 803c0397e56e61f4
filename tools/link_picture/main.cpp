// Draws the main window's link picture when the program is built (src/app/link_picture.h).
// Usage: tavora71-link-picture <file>
#include "app/link_picture.h"
#include "kit/twips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    // The size of Picture1 in the main window.
    const QByteArray data = LinkPictureData(DrawLinkPicture(twipsSize(6600, 3900)));
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
