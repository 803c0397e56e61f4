#pragma once
// The whole-file copy of the backup and the restore: in pieces of 4,048 bytes, a slice of pieces
// at a time on the event loop (the window stays responsive and can show the progress), into a
// temporary file beside the target that replaces the target only when complete. The temporary
// file is the user's only; it is flushed to the disk before and after the rename, on a thread of
// its own, as the disk may take longer than a frame.
#include <QByteArrayView>
#include <QFile>
#include <QObject>
#include <memory>
#include <thread>

namespace maintenance {

// Changes the bytes on their way from source to target (seals or opens a backup).
class CopyTransform {
public:
    virtual ~CopyTransform() = default;
    // Appends to out what the piece gives; false, with error set, when the bytes are refused.
    virtual bool feed(QByteArrayView piece, QByteArray& out, QString& error) = 0;
    // After the last piece: appends what is left; false, with error set, when refused.
    virtual bool finish(QByteArray& out, QString& error) = 0;
};

class FileCopier : public QObject {
    Q_OBJECT
public:
    static constexpr int kPieceSize = 4048;

    explicit FileCopier(QObject* parent = nullptr);
    // Waits for the flush and rename when they are under way.
    ~FileCopier() override;

    // Starts copying; the outcome arrives as finished(). False when a copy is already running.
    // With a transform, the target receives what it makes of the source's bytes.
    bool start(const QString& source, const QString& target, std::unique_ptr<CopyTransform> transform = {});
    bool isRunning() const { return running_; }
    // How long one slice of pieces may take before the event loop gets its turn.
    void setSliceMs(int ms) { sliceMs_ = ms; }

Q_SIGNALS:
    void progress(qint64 copied, qint64 total);
    // error: a description of what failed, empty on success.
    void finished(const QString& error);

private:
    void copySlice();
    bool writeOut(const QByteArray& bytes);
    void replaceTarget();
    void end(const QString& error);

    QFile source_;
    QFile part_;
    QString target_;
    std::unique_ptr<CopyTransform> transform_;
    std::thread replacing_; // the flush and rename of a complete copy
    qint64 copied_ = 0;
    qint64 total_ = 0;
    bool running_ = false;
    // Well under a frame: a piece written after the slice's time is checked may still take a while.
    int sliceMs_ = 8;
};

} // namespace maintenance
