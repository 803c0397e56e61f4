#pragma once
// What a test needs to watch the program the way a hostile file or a careless user would meet
// it: the files a real file dialog lists, a FIFO chosen as a file, and the time and peak memory
// a refusal costs.
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

namespace testing_support {

// The names a real (non-native) QFileDialog lists for the filter in a folder holding these
// files: its own parsing of the filter decides.
QStringList ListedByFileDialog(const QString& filter, const QStringList& files);

// A FIFO at path. A reader that blocks on it is let go after a few seconds (it then reads
// nothing), so a program that opens it blocks the test for that long, not for ever.
class Fifo {
public:
    explicit Fifo(const QString& path);
    ~Fifo();
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;
    bool isValid() const { return valid_; }

private:
    QByteArray path_;
    bool valid_ = false;
    std::atomic<bool> done_{false};
    std::thread releaser_;
};

// Time and peak memory (VmHWM) of this process from start() on.
class Cost {
public:
    void start();
    qint64 elapsedMs() const { return clock_.elapsed(); }
    // How far the peak resident memory rose above the memory in use at start().
    qint64 peakGrowthMiB() const;

private:
    QElapsedTimer clock_;
    qint64 startKiB_ = 0;
};

} // namespace testing_support
