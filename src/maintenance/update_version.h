#pragma once
// The version comparison, the update addresses and the installer's file name.
#include <QString>
#include <QUrl>
#include <optional>

namespace maintenance {

// The version file, and beside it the packages it names. Older programs read only the number the
// version file begins with and fetch "setup.Tavora-71.exe" from the same folder.
inline const QString kVersionFilePath = QStringLiteral("/Soft/Tavora71/LastVersion.txt");
inline const QString kUpdateFolderPath = QStringLiteral("/Soft/Tavora71/");

// Major 3, minor 5 gives 35: the digits of both, one after the other.
int OwnVersionNumber(int major, int minor);
// The number the version file's text begins with (blanks skipped); 0 when it begins otherwise.
double PublishedVersionNumber(const QString& text);
bool IsNewerVersion(double published, int own);

// A path on the update server, kept below any folder the server address names
// (a clinic's mirror may live in a sub-folder).
QUrl UpdateAddress(const QUrl& server, const QString& path);
// A package named by the version file, in its folder on the server.
QUrl PackageAddress(const QUrl& server, const QString& name);
// The update server named by the environment variable, when it is a usable http or https
// address; std::nullopt for an empty or unusable value.
std::optional<QUrl> UpdateServerOverride(const QString& value);

// The file-name part of a web address: the text after its last "/" when it has a "." after
// its first character; empty otherwise, and for anything but an http or https address.
QString GetFileName(const QString& url);

} // namespace maintenance
