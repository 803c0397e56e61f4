#include "store/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace store {

namespace {

constexpr mode_t kGroupAndOthers = S_IRWXG | S_IRWXO;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

bool syncPath(const QString& path, int flags)
{
    const int fd = ::open(native(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    int r;
    do {
        r = ::fsync(fd);
    } while (r != 0 && errno == EINTR);
    ::close(fd);
    return r == 0;
}

} // namespace

void RestrictNewFilesToOwner()
{
    ::umask(S_IRWXG | S_IRWXO);
}

bool MakeOwnerOnly(const QString& path)
{
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0 || S_ISLNK(st.st_mode))
        return false;
    const mode_t wanted = S_ISDIR(st.st_mode) ? S_IRWXU : (S_IRUSR | S_IWUSR | (st.st_mode & S_IXUSR));
    return (st.st_mode & 07777) == wanted || ::chmod(native(path).constData(), wanted) == 0;
}

bool MakeOwnerOnly(QFileDevice& file)
{
    return file.setPermissions(kOwnerOnly);
}

bool MakeOwnerOnlyFolder(const QString& path)
{
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
        return false;
    return MakeOwnerOnly(path);
}

QStringList TightenToOwner(const QStringList& paths)
{
    QStringList changed;
    for (const QString& path : paths) {
        struct stat st;
        if (::lstat(native(path).constData(), &st) != 0 || S_ISLNK(st.st_mode) || !(st.st_mode & kGroupAndOthers))
            continue;
        if (::chmod(native(path).constData(), st.st_mode & 07777 & ~kGroupAndOthers) == 0)
            changed << path;
    }
    return changed;
}

bool SyncFile(const QString& path)
{
    return syncPath(path, O_RDONLY);
}

bool SyncFolder(const QString& folder)
{
    return syncPath(folder, O_RDONLY | O_DIRECTORY);
}

QString PartFileName(const QString& target)
{
    return target + QStringLiteral(".part");
}

int RemoveStaleParts(const QString& folder)
{
    int removed = 0;
    // A database being made under such a name may have left its journal too.
    const QFileInfoList parts = QDir(folder).entryInfoList({QStringLiteral("*.part"), QStringLiteral("*.part-journal")},
                                                           QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& part : parts)
        if (!part.isSymLink() && QFile::remove(part.absoluteFilePath()))
            ++removed;
    return removed;
}

QString ReplaceFileDurably(const QString& from, const QString& to)
{
    if (!SyncFile(from))
        return QStringLiteral("%1: %2").arg(from, QString::fromLocal8Bit(std::strerror(errno)));
    // QFile::rename refuses an existing target; the system's rename replaces it atomically.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), error);
    if (error)
        return QStringLiteral("%1: %2").arg(to, QString::fromLocal8Bit(error.message()));
    if (!SyncFolder(QFileInfo(to).absolutePath()))
        return QStringLiteral("%1: %2").arg(QFileInfo(to).absolutePath(), QString::fromLocal8Bit(std::strerror(errno)));
    return QString();
}

} // namespace store
