#pragma once
#include <QString>

// Refuses a second running copy in the same program folder. The lock is held for as long
// as the guard lives and is released by the system if the program dies.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& programFolder);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    bool tryAcquire(); // false when another copy runs in this folder, or none can be told
    bool isHeld() const { return fd_ >= 0; }
    // After a refusal: true when another copy holds the lock, false when the lock file could
    // not be written at all (the folder is missing or cannot be written).
    bool heldByAnother() const { return heldByAnother_; }
    const QString& programFolder() const { return folder_; }

private:
    QString folder_;
    int fd_ = -1;
    bool heldByAnother_ = false;
};
