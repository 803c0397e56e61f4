#include "kit/chosen_file.h"

#include <QFileInfo>

bool IsRegularFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    // Empty when the path, or a link on the way, leads nowhere.
    const QString target = QFileInfo(path).canonicalFilePath();
    // isFile() is true only for S_ISREG: FIFOs, sockets and devices are not files here.
    return !target.isEmpty() && QFileInfo(target).isFile();
}
