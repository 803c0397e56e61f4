#pragma once
// Fetches the published version file and checks its signature. Asynchronous; a file that cannot
// be fetched within the time limit (no connection, refused, an error answer) is reported as not
// fetched, and one that is not a version file signed with the publisher's key as unreadable. No
// more than a version file's few kilobytes is ever held.
#include "maintenance/version_file.h"

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

struct VersionCheckResult {
    enum class Outcome { NotFetched, Unreadable, Read };
    Outcome outcome = Outcome::NotFetched;
    VersionFile file; // when Read
};

// What a check means for this program: a package to download when the file is newer and names
// one for this platform.
struct UpdateOffer {
    bool newer = false;
    std::optional<UpdatePackage> package;
};
UpdateOffer OfferFor(const VersionCheckResult& result, int ownVersion, const QString& platform);

class VersionCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 10000;

    explicit VersionCheck(QObject* parent = nullptr);
    ~VersionCheck() override;

    // publicKey: the publisher's (32 bytes). False when a check is already running.
    bool start(const QUrl& versionFile, const QByteArray& publicKey, int timeoutMs = kTimeoutMs);
    bool isRunning() const { return reply_ != nullptr; }
    const VersionCheckResult& result() const { return result_; }

Q_SIGNALS:
    // The check has ended; result() says how.
    void finished();

private:
    void readBody();
    void onFinished();
    void end(VersionCheckResult::Outcome outcome);

    QNetworkAccessManager nam_;
    QPointer<QNetworkReply> reply_;
    QTimer limit_;
    QByteArray publicKey_;
    QByteArray body_;
    VersionCheckResult result_;
};

} // namespace maintenance
