#include "maintenance/version_check.h"
#include "maintenance/update_version.h"

#include <QNetworkInformation>
#include <QNetworkReply>

namespace maintenance {

bool IsOnline()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return true;
    QNetworkInformation* info = QNetworkInformation::instance();
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

UpdateOffer OfferFor(const VersionCheckResult& result, int ownVersion, const QString& platform)
{
    UpdateOffer offer;
    if (result.outcome != VersionCheckResult::Outcome::Read)
        return offer;
    offer.newer = IsNewerVersion(result.file.number, ownVersion);
    if (offer.newer)
        offer.package = result.file.packageFor(platform);
    return offer;
}

VersionCheck::VersionCheck(QObject* parent)
    : QObject(parent)
{
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, [this] { end(VersionCheckResult::Outcome::NotFetched); });
}

VersionCheck::~VersionCheck()
{
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
}

bool VersionCheck::start(const QUrl& versionFile, const QByteArray& publicKey, int timeoutMs)
{
    if (isRunning())
        return false;
    publicKey_ = publicKey;
    body_.clear();
    result_ = VersionCheckResult();
    QNetworkRequest request(versionFile);
    request.setTransferTimeout(timeoutMs);
    reply_ = nam_.get(request);
    // Held as it arrives, a few kilobytes at most: an endless answer is cut off, not buffered.
    reply_->setReadBufferSize(kMaxVersionFileBytes + 1);
    connect(reply_, &QNetworkReply::readyRead, this, &VersionCheck::readBody);
    connect(reply_, &QNetworkReply::finished, this, &VersionCheck::onFinished);
    limit_.start(timeoutMs);
    return true;
}

void VersionCheck::readBody()
{
    if (!reply_)
        return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299) { // an error answer: its body, however long, is no version file
        end(VersionCheckResult::Outcome::NotFetched);
        return;
    }
    body_ += reply_->read(kMaxVersionFileBytes + 1 - body_.size());
    if (body_.size() > kMaxVersionFileBytes) {
        end(VersionCheckResult::Outcome::Unreadable);
    }
}

void VersionCheck::onFinished()
{
    if (!reply_)
        return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply_->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        end(VersionCheckResult::Outcome::NotFetched);
        return;
    }
    readBody();
    if (!reply_)
        return;
    std::optional<VersionFile> file = ReadVersionFile(body_, publicKey_);
    if (!file) {
        end(VersionCheckResult::Outcome::Unreadable);
        return;
    }
    result_.file = std::move(*file);
    end(VersionCheckResult::Outcome::Read);
}

void VersionCheck::end(VersionCheckResult::Outcome outcome)
{
    limit_.stop();
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        // A reply that failed already has ended its transfer; aborting it again only complains.
        if (reply->error() == QNetworkReply::NoError)
            reply->abort();
        else
            reply->close();
        reply->deleteLater();
    }
    body_.clear();
    result_.outcome = outcome;
    Q_EMIT finished();
}

} // namespace maintenance
