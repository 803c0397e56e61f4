#include "maintenance/download_status.h"

#include <cmath>

namespace maintenance {

namespace {
const QString kFileNotFoundA = QStringLiteral("The file, ");
const QString kFileNotFoundB = QStringLiteral(" was not found!");
const QString kNothing = QStringLiteral("<nothing>");
const QString kServerResponse = QStringLiteral("The server returned the following response:");
const QString kCannotWrite = QStringLiteral("Cannot write file to disk.");
const QString kErrorNumber = QStringLiteral("Error ");
const QString kErrorColon = QStringLiteral(": ");
const QString kErrorPrefix = QStringLiteral("Error: ");
const QString kOccurred = QStringLiteral(" occurred.");
const QString kTwoCR = QStringLiteral("\r\r");
} // namespace

QString FileNotFoundMessage(const QString& url)
{
    return kFileNotFoundA + QLatin1Char('"') + url + QLatin1Char('"') + kFileNotFoundB;
}

QString ServerResponseMessage(const QString& statusLine)
{
    QString line = statusLine.left(statusLine.indexOf(QLatin1Char('\r')));
    if (line.isEmpty())
        line = kNothing;
    return kServerResponse + kTwoCR + line;
}

QString CannotWriteMessage(int errorNumber, const QString& description)
{
    return kCannotWrite + kTwoCR + kErrorNumber + QString::number(errorNumber) + kErrorColon + description;
}

QString ErrorOccurredMessage(const QString& description)
{
    return kErrorPrefix + description + kOccurred;
}

std::optional<QString> StatusError(int status, const QString& statusLine, const QString& url)
{
    switch (status) {
    case 200:
    case 206:
        return std::nullopt;
    case 204:
        return download_texts::kNothingToDownload;
    case 401:
        return download_texts::kAuthorizationFailed;
    case 404:
        return FileNotFoundMessage(url);
    case 0:
        return download_texts::kCannotConnect;
    default:
        return ServerResponseMessage(statusLine);
    }
}

QString ProgressPercentText(qint64 received, qint64 total)
{
    if (total <= 0)
        return QStringLiteral("0");
    // The default rounding mode rounds halves to even.
    return QString::number(static_cast<qint64>(std::nearbyint(static_cast<double>(received) / total * 100.0)));
}

} // namespace maintenance
