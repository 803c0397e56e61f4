#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

// Refuses a second running copy in the same program folder. The lock is held for as long
// as the guard lives and is released by the system if the program dies.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& programFolder);
    bool tryAcquire(); // false when another copy runs in this folder
    bool isHeld() const;

private:
    std::unique_ptr<QLockFile> lock_;
};
