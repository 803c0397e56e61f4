#pragma once
// The version file the publisher signs. Its first line is the version number alone, which is all
// an older program reads; then one line per platform naming that platform's package with its size
// and SHA-256; last an Ed25519 signature over every byte above it, made with the publisher's key:
//
//   36
//   file deb-amd64 tavora71_3.6-1_amd64.deb 5242880 <SHA-256, 64 hex digits>
//   file windows setup.Tavora-71.exe 31457280 <SHA-256, 64 hex digits>
//   signature <Ed25519 signature, 128 hex digits>
//
// Nothing of a file is believed unless the whole file carries a good signature.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace maintenance {

// More than any version file needs: a longer answer is not one, and is not read further.
inline constexpr qsizetype kMaxVersionFileBytes = 8 * 1024;
// A generous multiple of a real package; a version file naming a larger one is refused.
inline constexpr qint64 kMaxPackageBytes = 512LL * 1024 * 1024;

struct UpdatePackage {
    QString platform;
    QString name;      // a plain file name, beside the version file on the server
    qint64 size = 0;
    QByteArray sha256; // 32 bytes
};

struct VersionFile {
    int number = 0;
    QList<UpdatePackage> packages;

    std::optional<UpdatePackage> packageFor(const QString& platform) const;
};

// The platform this program was built for, as version files name it: "deb-amd64" (the Debian
// architecture), "windows"; empty where no package is published.
QString UpdatePlatform();
// A name safe to use as a file name in the download folder: letters, digits, ".", "_", "-", "+",
// "~", not starting with "." and without "..".
bool IsPackageName(const QString& name);

// The file read and its signature checked against the publisher's public key (32 bytes);
// std::nullopt for anything else: too long, not in this form, unsigned, or signed otherwise.
std::optional<VersionFile> ReadVersionFile(const QByteArray& bytes, const QByteArray& publicKey);

// For the publisher's signing tool and the tests. A package's line, as ReadVersionFile reads it.
QByteArray PackageLine(const UpdatePackage& package);
// text followed by its signature line, made with a secret key of 64 bytes; empty when the key is
// not one or when the signed file would not read (a malformed text is never signed).
QByteArray SignVersionFile(QByteArray text, const QByteArray& secretKey);

} // namespace maintenance
