#include "kit/single_instance.h"

#include <QDir>
#include <QFile>

namespace {
const QString kLockName = QStringLiteral(".tavora71.lock");
}

SingleInstanceGuard::SingleInstanceGuard(const QString& programFolder)
    : folder_(programFolder)
    , lock_(std::make_unique<QLockFile>(QDir(programFolder).filePath(kLockName)))
{
    lock_->setStaleLockTime(0); // a lock left by a dead process is recognised by its pid
}

bool SingleInstanceGuard::tryAcquire()
{
    if (lock_->isLocked())
        return true;
    if (!lock_->tryLock(0))
        return false;
    // Like everything in the program folder, the user's only.
    QFile::setPermissions(QDir(folder_).filePath(kLockName), QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

bool SingleInstanceGuard::isHeld() const
{
    return lock_->isLocked();
}

bool SingleInstanceGuard::heldByAnother() const
{
    return lock_->error() == QLockFile::LockFailedError;
}
