#include "maintenance/replace_file.h"

#include <filesystem>
#include <system_error>

namespace maintenance {

QString PartFileName(const QString& target)
{
    return target + QStringLiteral(".part");
}

QString ReplaceFile(const QString& from, const QString& to)
{
    // QFile::rename refuses an existing target; the system's rename replaces it atomically.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), error);
    if (error)
        return QStringLiteral("%1: %2").arg(to, QString::fromLocal8Bit(error.message()));
    return QString();
}

} // namespace maintenance
