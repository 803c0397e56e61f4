#include "maintenance/version_check.h"
#include "maintenance/update_version.h"

#include <QNetworkInformation>
#include <QNetworkReply>
#include <QStringDecoder>

namespace maintenance {

namespace {
constexpr qint64 kMaxVersionFileBytes = 4096;
}

bool IsOnline()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return true;
    QNetworkInformation* info = QNetworkInformation::instance();
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

VersionCheck::VersionCheck(QObject* parent)
    : QObject(parent)
{
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, [this] { end(false, 0); });
}

VersionCheck::~VersionCheck()
{
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
}

bool VersionCheck::start(const QUrl& versionFile, int timeoutMs)
{
    if (isRunning())
        return false;
    QNetworkRequest request(versionFile);
    request.setTransferTimeout(timeoutMs);
    reply_ = nam_.get(request);
    connect(reply_, &QNetworkReply::finished, this, &VersionCheck::onFinished);
    limit_.start(timeoutMs);
    return true;
}

void VersionCheck::onFinished()
{
    if (!reply_)
        return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply_->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        end(false, 0);
        return;
    }
    // Decoding as UTF-8 drops a byte-order mark a text editor may have put first.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(reply_->read(kMaxVersionFileBytes));
    end(true, PublishedVersionNumber(text));
}

void VersionCheck::end(bool fetched, double published)
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
    Q_EMIT finished(fetched, published);
}

} // namespace maintenance
