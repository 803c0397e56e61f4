#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

// Refuses a second running copy in the same program folder. The lock is held for as long
// as the guard lives and is released by the system if the program dies.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& programFolder);
    bool tryAcquire(); // false when another copy runs in this folder, or none can be told
    bool isHeld() const;
    // After a refusal: true when another copy holds the lock, false when the lock file could
    // not be written at all (the folder is missing or cannot be written).
    bool heldByAnother() const;
    const QString& programFolder() const { return folder_; }

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
};
