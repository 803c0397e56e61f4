#pragma once
// What a download answers to the server's status, and the English texts it reports.
#include <QString>
#include <optional>

namespace maintenance {

namespace download_texts {
inline const QString kGettingFileInformation = QStringLiteral("Getting file information");
inline const QString kNothingToDownload = QStringLiteral("Nothing to download!");
inline const QString kAuthorizationFailed = QStringLiteral("Authorization failed!");
inline const QString kCannotConnect = QStringLiteral("Cannot establish connection.");
inline const QString kNotEnoughSpace = QStringLiteral("There is not enough free space on disk for this file.");
inline const QString kConnectionReset = QStringLiteral("The connection with the server was reset.");
// Our own: what a download is refused for, beyond the server's own answers.
inline const QString kTooLarge = QStringLiteral("فايل دريافتي بزرگ تر از حد مجاز است؛ دريافت متوقف و فايل نيمه کاره پاک شد.");
inline const QString kTooSlow = QStringLiteral("سرعت دريافت بسيار کم است؛ دريافت متوقف و فايل نيمه کاره پاک شد.");
inline const QString kTookTooLong = QStringLiteral("دريافت فايل بيش از حد طول کشيد؛ دريافت متوقف و فايل نيمه کاره پاک شد.");
inline const QString kPartialAnswer = QStringLiteral("سرور فقط بخشي از فايل را فرستاد؛ فايل نيمه کاره پاک شد.");
inline const QString kNotThePublishedFile =
    QStringLiteral("فايل دريافت شده همان فايلي نيست که ناشر امضا کرده است؛ پاک شد و نصب نمي شود.");
} // namespace download_texts

// "The file, "<url>" was not found!"
QString FileNotFoundMessage(const QString& url);
// The server's status line after the fixed introduction; "<nothing>" for an empty line.
QString ServerResponseMessage(const QString& statusLine);
// "Cannot write file to disk." and, after two CRs, the failure's number and description.
QString CannotWriteMessage(int errorNumber, const QString& description);
// "Error: <description> occurred."
QString ErrorOccurredMessage(const QString& description);

// The answer to a status: std::nullopt to read the body (200, 206), otherwise the error to
// report. status 0 means no status line came back at all.
std::optional<QString> StatusError(int status, const QString& statusLine, const QString& url);

// Received out of total, in whole percent (halves to even), as text.
QString ProgressPercentText(qint64 received, qint64 total);

} // namespace maintenance
