#pragma once
// Downloads one file over HTTP into a destination, reporting progress, errors and completion as
// signals. Asynchronous on the event loop: no nested loops, no threads. The file arrives beside
// its destination under a temporary name and is renamed into place only when complete (and, when
// its size and SHA-256 are known beforehand, only when it is that file), so a failed, refused or
// cancelled download never leaves a partial file (nor touches an older one). Whatever the server
// does, a download ends: its size is capped, and it must keep a minimum rate and end in time.
#include <QFile>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>
#include <sodium.h>

#include <QNetworkReply>

namespace maintenance {

// Free bytes on the disk that holds a folder (or would, once created).
qint64 FreeBytesFor(const QString& folder);

struct DownloadLimits {
    qint64 maxBytes = 512LL * 1024 * 1024;       // a generous multiple of a real installer
    qint64 freeSpaceReserve = 64LL * 1024 * 1024; // what the file must leave free on its disk
    int deadlineMs = 60 * 60 * 1000;              // the whole transfer, connecting included
    int rateWindowMs = 60000;                     // every window must bring at least ...
    qint64 minBytesPerWindow = 60 * 1024;         // ... this much (1 KB/s)
    int stallMs = 30000;                          // nothing at all received for this long
};

// The file the download must turn out to be (from the signed version file).
struct ExpectedFile {
    qint64 size = -1;  // -1: not known
    QByteArray sha256; // empty: not known
};

class FileDownloader : public QObject {
    Q_OBJECT
public:
    static constexpr int kPieceSize = 1024;
    // What may wait in memory between the network and the file.
    static constexpr qint64 kReadBufferBytes = 256 * 1024;

    explicit FileDownloader(QObject* parent = nullptr);
    ~FileDownloader() override;

    // Starts the download; its end is DowloadComplete or DownloadErrors (or nothing, when
    // cancelled), then finished(). False when a download is already running.
    bool DownloadFile(const QUrl& url, const QString& destination, const QString& userName = QString(),
                      const QString& password = QString());
    // Stops the running download at once and deletes what had arrived; reports nothing.
    void Cancel();
    bool isRunning() const { return reply_ != nullptr; }

    void setLimits(const DownloadLimits& limits) { limits_ = limits; }
    const DownloadLimits& limits() const { return limits_; }
    // A request that receives nothing for this long (connecting included) fails.
    void setStallTimeout(int ms) { limits_.stallMs = ms; }
    // Applies to the downloads that follow; a file that turns out otherwise is refused.
    void setExpected(const ExpectedFile& expected) { expected_ = expected; }
    // The free-space test, replaceable in tests.
    std::function<qint64(const QString& folder)> freeBytes = FreeBytesFor;

Q_SIGNALS:
    void DownloadErrors(const QString& message);
    void DownloadEvents(const QString& message);
    void DowloadComplete();
    void DownloadProgress(const QString& percent);
    void finished(bool success);

private:
    bool decideOnHeaders();
    std::optional<QString> partialAnswerError() const;
    bool openPartFile();
    void readPieces();
    void checkRate();
    bool isThePublishedFile();
    void onFinished();
    void complete();
    void fail(const QString& message);
    void stop(); // abandons the request and the partial file

    QNetworkAccessManager nam_;
    QPointer<QNetworkReply> reply_;
    QUrl url_;
    QString destination_;
    QString userName_;
    QString password_;
    bool authenticationTried_ = false;
    bool decided_ = false;
    qint64 received_ = 0;
    qint64 total_ = -1; // -1: the server did not say
    qint64 sizeCap_ = 0; // the most the file may be: the expected size, or the limit
    qint64 room_ = 0;    // the most the disk takes, keeping its reserve
    qint64 receivedAtLastCheck_ = 0;
    QString lastPercent_;
    QFile part_;
    crypto_hash_sha256_state hash_{};
    DownloadLimits limits_;
    ExpectedFile expected_;
    QTimer deadline_;
    QTimer rate_;
};

} // namespace maintenance
