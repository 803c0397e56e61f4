#pragma once
// What a test needs to watch the program the way a hostile file or a careless user would meet
// it: the files a real file dialog lists, a FIFO chosen as a file, and the peak memory a refusal
// costs.
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

namespace testing_support {

// The names a real (non-native) QFileDialog lists for the filter in a folder holding these
// files: its own parsing of the filter decides.
QStringList ListedByFileDialog(const QString& filter, const QStringList& files);

// A FIFO at path. A reader that opens it would wait for a writer for ever: the FIFO notices it,
// notes that a reader came, and lets it go at once (it then reads nothing).
class Fifo {
public:
    explicit Fifo(const QString& path);
    ~Fifo();
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;
    bool isValid() const { return valid_; }
    // Whether anything opened it to read and waited there.
    bool readerCame() const { return readerCame_; }

private:
    QByteArray path_;
    bool valid_ = false;
    std::atomic<bool> done_{false};
    std::atomic<bool> readerCame_{false};
    std::thread releaser_;
};

// The peak memory (VmHWM) of this process from start() on.
class Cost {
public:
    void start();
    // How far the peak resident memory rose above the memory in use at start().
    qint64 peakGrowthMiB() const;

private:
    qint64 startKiB_ = 0;
};

} // namespace testing_support
