#pragma once
// Downloads one file over HTTP into a destination, reporting progress, errors and completion as
// signals. Asynchronous on the event loop: no nested loops, no threads. The file arrives beside
// its destination under a temporary name and is renamed into place only when complete, so a
// failed or cancelled download never leaves a partial file (nor touches an older one).
#include <QFile>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>

#include <QNetworkReply>

namespace maintenance {

// Free bytes on the disk that holds a folder (or would, once created).
qint64 FreeBytesFor(const QString& folder);

class FileDownloader : public QObject {
    Q_OBJECT
public:
    static constexpr int kPieceSize = 1024;
    static constexpr int kDefaultStallMs = 30000;

    explicit FileDownloader(QObject* parent = nullptr);
    ~FileDownloader() override;

    // Starts the download; its end is DowloadComplete or DownloadErrors (or nothing, when
    // cancelled), then finished(). False when a download is already running.
    bool DownloadFile(const QUrl& url, const QString& destination, const QString& userName = QString(),
                      const QString& password = QString());
    // Stops the running download at once and deletes what had arrived; reports nothing.
    void Cancel();
    bool isRunning() const { return reply_ != nullptr; }

    // A request that receives nothing for this long (connecting included) fails.
    void setStallTimeout(int ms) { stallMs_ = ms; }
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
    bool openPartFile();
    void readPieces();
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
    QString lastPercent_;
    QFile part_;
    int stallMs_ = kDefaultStallMs;
};

} // namespace maintenance
