#include "kit/code_files.h"

#include <QDir>

QString CodeFileStem(const QString& code)
{
    QString stem = code.trimmed();
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : stem)
        if (forbidden.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    if (stem.isEmpty() || stem == QLatin1String(".") || stem == QLatin1String(".."))
        return QStringLiteral("report");
    return stem;
}

QString ProfileBitmapPath(const QString& programFolder, const QString& code)
{
    return QDir(programFolder).filePath(CodeFileStem(code) + QStringLiteral(".bmp"));
}
