#include "maintenance/file_downloader.h"
#include "maintenance/download_status.h"
#include "maintenance/replace_file.h"

#include <QAuthenticator>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStorageInfo>
#include <limits>

namespace maintenance {

qint64 FreeBytesFor(const QString& folder)
{
    // The folder may not exist yet: ask about the nearest one that does.
    QDir dir(QFileInfo(folder).absoluteFilePath());
    while (!dir.exists() && !dir.isRoot())
        dir.setPath(QFileInfo(dir.path()).absolutePath());
    const QStorageInfo storage(dir.path());
    return storage.isValid() ? storage.bytesAvailable() : std::numeric_limits<qint64>::max();
}

FileDownloader::FileDownloader(QObject* parent)
    : QObject(parent)
{
    connect(&nam_, &QNetworkAccessManager::authenticationRequired, this,
            [this](QNetworkReply*, QAuthenticator* authenticator) {
                // Tried once; wrong credentials then end as the server's 401.
                if (authenticationTried_ || userName_.isEmpty())
                    return;
                authenticationTried_ = true;
                authenticator->setUser(userName_);
                authenticator->setPassword(password_);
            });
}

FileDownloader::~FileDownloader()
{
    stop();
}

bool FileDownloader::DownloadFile(const QUrl& url, const QString& destination, const QString& userName,
                                  const QString& password)
{
    if (isRunning())
        return false;
    decided_ = false;
    authenticationTried_ = false;
    received_ = 0;
    total_ = -1;
    lastPercent_.clear();
    url_ = url;
    destination_ = destination;
    userName_ = userName;
    password_ = password;
    Q_EMIT DownloadEvents(download_texts::kGettingFileInformation);

    QNetworkRequest request(url);
    request.setRawHeader("Range", "bytes=0-");
    // Bytes as stored: a compressed answer would not match its Content-Length.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(stallMs_);
    reply_ = nam_.get(request);
    connect(reply_, &QNetworkReply::readyRead, this, [this] {
        if (decided_ || decideOnHeaders())
            readPieces();
    });
    connect(reply_, &QNetworkReply::finished, this, &FileDownloader::onFinished);
    return true;
}

void FileDownloader::Cancel()
{
    if (!isRunning())
        return;
    stop();
    Q_EMIT finished(false);
}

bool FileDownloader::decideOnHeaders()
{
    decided_ = true;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const bool http2 = reply_->attribute(QNetworkRequest::Http2WasUsedAttribute).toBool();
    QString statusLine;
    if (status != 0) {
        statusLine = (http2 ? QStringLiteral("HTTP/2 ") : QStringLiteral("HTTP/1.1 ")) + QString::number(status);
        if (!reason.isEmpty())
            statusLine += QLatin1Char(' ') + reason;
    }
    if (const std::optional<QString> error = StatusError(status, statusLine, url_.toString())) {
        fail(*error);
        return false;
    }
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    total_ = length.isValid() ? length.toLongLong() : -1;
    if (total_ == 0) { // an empty installer is no download
        fail(download_texts::kNothingToDownload);
        return false;
    }
    const QString folder = QFileInfo(destination_).absolutePath();
    if (total_ > 0 && freeBytes && freeBytes(folder) < total_) {
        fail(download_texts::kNotEnoughSpace);
        return false;
    }
    return openPartFile();
}

bool FileDownloader::openPartFile()
{
    const QFileInfo target(destination_);
    if (target.isDir()) {
        fail(CannotWriteMessage(QFileDevice::OpenError, QStringLiteral("%1 is a folder").arg(destination_)));
        return false;
    }
    if (!QDir().mkpath(target.absolutePath())) {
        fail(CannotWriteMessage(QFileDevice::OpenError,
                                QStringLiteral("the folder %1 cannot be created").arg(target.absolutePath())));
        return false;
    }
    part_.setFileName(PartFileName(destination_));
    if (!part_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(CannotWriteMessage(part_.error(), part_.errorString()));
        return false;
    }
    return true;
}

void FileDownloader::readPieces()
{
    while (reply_ && reply_->bytesAvailable() > 0) {
        const QByteArray piece = reply_->read(kPieceSize);
        if (part_.write(piece) != piece.size()) {
            fail(CannotWriteMessage(part_.error(), part_.errorString()));
            return;
        }
        received_ += piece.size();
    }
    if (total_ > 0) {
        const QString percent = ProgressPercentText(received_, total_);
        if (percent != lastPercent_) {
            lastPercent_ = percent;
            Q_EMIT DownloadProgress(percent);
        }
    }
}

void FileDownloader::onFinished()
{
    if (!reply_)
        return;
    if (!decided_) {
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 0) {
            // No answer at all; an address the client cannot even ask is an error of its own.
            const QNetworkReply::NetworkError e = reply_->error();
            const bool unusable = e == QNetworkReply::ProtocolUnknownError
                                  || e == QNetworkReply::ProtocolInvalidOperationError;
            fail(unusable ? ErrorOccurredMessage(reply_->errorString()) : download_texts::kCannotConnect);
            return;
        }
        if (!decideOnHeaders())
            return;
    }
    readPieces();
    if (!reply_)
        return;
    if (reply_->error() != QNetworkReply::NoError || (total_ >= 0 && received_ != total_))
        fail(download_texts::kConnectionReset);
    else if (received_ == 0)
        fail(download_texts::kNothingToDownload);
    else
        complete();
}

void FileDownloader::complete()
{
    part_.close();
    if (part_.error() != QFileDevice::NoError) {
        fail(CannotWriteMessage(part_.error(), part_.errorString()));
        return;
    }
    if (const QString error = ReplaceFile(part_.fileName(), destination_); !error.isEmpty()) {
        fail(CannotWriteMessage(QFileDevice::RenameError, error));
        return;
    }
    stop();
    Q_EMIT DowloadComplete();
    Q_EMIT finished(true);
}

void FileDownloader::fail(const QString& message)
{
    // Everything is settled before the report: its box may run an event loop of its own.
    stop();
    Q_EMIT DownloadErrors(message);
    Q_EMIT finished(false);
}

void FileDownloader::stop()
{
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        // Deleting the reply abandons its request. No abort(): inside the reply's own signals an
        // error of its own may still be on its way, and a second one only complains.
        reply->deleteLater();
    }
    if (part_.isOpen())
        part_.close();
    if (!part_.fileName().isEmpty() && part_.exists())
        part_.remove();
    part_.setFileName(QString());
}

} // namespace maintenance
