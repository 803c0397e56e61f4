#include "kit/single_instance.h"

#include <QDir>

SingleInstanceGuard::SingleInstanceGuard(const QString& programFolder)
    : folder_(programFolder)
    , lock_(std::make_unique<QLockFile>(QDir(programFolder).filePath(QStringLiteral(".tavora71.lock"))))
{
    lock_->setStaleLockTime(0); // a lock left by a dead process is recognised by its pid
}

bool SingleInstanceGuard::tryAcquire()
{
    return lock_->isLocked() || lock_->tryLock(0);
}

bool SingleInstanceGuard::isHeld() const
{
    return lock_->isLocked();
}

bool SingleInstanceGuard::heldByAnother() const
{
    return lock_->error() == QLockFile::LockFailedError;
}
