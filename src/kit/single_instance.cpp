#include "kit/single_instance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kLockName = QStringLiteral(".tavora71.lock");
}

SingleInstanceGuard::SingleInstanceGuard(const QString& programFolder)
    : folder_(programFolder)
{
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    if (fd_ >= 0)
        ::close(fd_); // the lock goes with the descriptor; the empty file stays for the next start
}

bool SingleInstanceGuard::tryAcquire()
{
    if (fd_ >= 0)
        return true;
    heldByAnother_ = false;
    // An advisory lock on an open file: the system drops it when the program ends in any way,
    // so a crash never leaves a lock to be judged stale, and nothing is written at start-up.
    const QByteArray path = QFile::encodeName(QDir(folder_).filePath(kLockName));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        heldByAnother_ = errno == EWOULDBLOCK;
        ::close(fd);
        return false;
    }
    // Like everything in the program folder, the user's only (a file left by an earlier version
    // may be readable by others).
    (void)::fchmod(fd, 0600);
    fd_ = fd;
    return true;
}
