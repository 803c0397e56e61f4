#pragma once
// Fetches the published version number. Asynchronous; a file that cannot be fetched within the
// time limit (no connection, refused, an error answer) is reported as not fetched.
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <QNetworkReply>

namespace maintenance {

// The operating system's connected state: false only when it says there is no network at all.
// Where it cannot tell, the fetch itself decides.
bool IsOnline();

class VersionCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 10000;

    explicit VersionCheck(QObject* parent = nullptr);
    ~VersionCheck() override;

    // False when a check is already running.
    bool start(const QUrl& versionFile, int timeoutMs = kTimeoutMs);
    bool isRunning() const { return reply_ != nullptr; }

Q_SIGNALS:
    // fetched false: the file could not be fetched; published is then 0.
    void finished(bool fetched, double published);

private:
    void onFinished();
    void end(bool fetched, double published);

    QNetworkAccessManager nam_;
    QPointer<QNetworkReply> reply_;
    QTimer limit_;
};

} // namespace maintenance
