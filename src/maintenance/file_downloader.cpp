#include "maintenance/file_downloader.h"
#include "maintenance/download_status.h"
#include "maintenance/replace_file.h"

#include <QAuthenticator>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>
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
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { fail(download_texts::kTookTooLong); });
    connect(&rate_, &QTimer::timeout, this, &FileDownloader::checkRate);
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
    sizeCap_ = 0;
    room_ = 0;
    receivedAtLastCheck_ = 0;
    lastPercent_.clear();
    url_ = url;
    destination_ = destination;
    userName_ = userName;
    password_ = password;
    Q_EMIT DownloadEvents(download_texts::kGettingFileInformation);
    if (sodium_init() < 0) { // the file could not be checked
        Q_EMIT DownloadErrors(ErrorOccurredMessage(QStringLiteral("the cryptography library cannot start")));
        Q_EMIT finished(false);
        return true;
    }
    crypto_hash_sha256_init(&hash_);

    QNetworkRequest request(url);
    request.setRawHeader("Range", "bytes=0-");
    // Bytes as stored: a compressed answer would not match its Content-Length.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(limits_.stallMs);
    reply_ = nam_.get(request);
    // Read as it comes: what waits in memory stays small whatever the server sends.
    reply_->setReadBufferSize(kReadBufferBytes);
    deadline_.start(limits_.deadlineMs);
    rate_.start(limits_.rateWindowMs);
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
    if (const std::optional<QString> error = partialAnswerError()) {
        fail(*error);
        return false;
    }
    if (total_ == 0) { // an empty installer is no download
        fail(download_texts::kNothingToDownload);
        return false;
    }
    if (total_ > 0 && ((expected_.size >= 0 && total_ != expected_.size) || total_ > limits_.maxBytes)) {
        fail(expected_.size >= 0 ? download_texts::kNotThePublishedFile : download_texts::kTooLarge);
        return false;
    }
    // The file may take what the disk has beyond the reserve, never more than the cap.
    const QString folder = QFileInfo(destination_).absolutePath();
    const qint64 free = freeBytes ? freeBytes(folder) : std::numeric_limits<qint64>::max();
    const qint64 room = free - std::min(free, limits_.freeSpaceReserve);
    if ((total_ > 0 && room < total_) || room <= 0) {
        fail(download_texts::kNotEnoughSpace);
        return false;
    }
    room_ = room;
    sizeCap_ = expected_.size >= 0 ? std::min(expected_.size, limits_.maxBytes) : limits_.maxBytes;
    return openPartFile();
}

std::optional<QString> FileDownloader::partialAnswerError() const
{
    // Only a range that starts at the first byte and ends at the last one is the whole file.
    if (reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 206)
        return std::nullopt;
    static const QRegularExpression wholeRange(QStringLiteral("^bytes\\s+0-(\\d{1,18})/(\\d{1,18})$"));
    const QRegularExpressionMatch m =
        wholeRange.match(QString::fromLatin1(reply_->rawHeader("Content-Range")).trimmed());
    if (!m.hasMatch())
        return download_texts::kPartialAnswer;
    const qint64 last = m.captured(1).toLongLong();
    const qint64 complete = m.captured(2).toLongLong();
    if (last + 1 != complete || (total_ >= 0 && total_ != complete))
        return download_texts::kPartialAnswer;
    return std::nullopt;
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
        if (received_ + piece.size() > sizeCap_) {
            fail(expected_.size >= 0 ? download_texts::kNotThePublishedFile : download_texts::kTooLarge);
            return;
        }
        if (received_ + piece.size() > room_) {
            fail(download_texts::kNotEnoughSpace);
            return;
        }
        if (part_.write(piece) != piece.size()) {
            fail(CannotWriteMessage(part_.error(), part_.errorString()));
            return;
        }
        crypto_hash_sha256_update(&hash_, reinterpret_cast<const unsigned char*>(piece.constData()),
                                  static_cast<unsigned long long>(piece.size()));
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

void FileDownloader::checkRate()
{
    // Headers that take a whole window, or a body that brings less than the minimum in one,
    // would keep the transfer alive for ever: a dripping server is refused.
    if (!reply_)
        return;
    if (!decided_ || received_ - receivedAtLastCheck_ < limits_.minBytesPerWindow) {
        fail(download_texts::kTooSlow);
        return;
    }
    receivedAtLastCheck_ = received_;
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

bool FileDownloader::isThePublishedFile()
{
    if (expected_.size >= 0 && received_ != expected_.size)
        return false;
    if (expected_.sha256.isEmpty())
        return true;
    QByteArray digest(crypto_hash_sha256_BYTES, '\0');
    crypto_hash_sha256_final(&hash_, reinterpret_cast<unsigned char*>(digest.data()));
    return digest == expected_.sha256;
}

void FileDownloader::complete()
{
    if (!isThePublishedFile()) {
        fail(download_texts::kNotThePublishedFile);
        return;
    }
    part_.close();
    if (part_.error() != QFileDevice::NoError) {
        fail(CannotWriteMessage(part_.error(), part_.errorString()));
        return;
    }
    // Flushed before and after the rename, so a power cut keeps the whole file or none.
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
    deadline_.stop();
    rate_.stop();
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
