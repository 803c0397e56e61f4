#include "maintenance/version_file.h"

#include <QRegularExpression>
#include <QSet>
#include <QSysInfo>
#include <sodium.h>

namespace maintenance {

namespace {

const QByteArray kFileKeyword = "file";
const QByteArray kSignatureKeyword = "signature";
const QByteArray kByteOrderMark = "\xef\xbb\xbf";

bool allDigits(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool isHex(const QByteArray& text, qsizetype length)
{
    if (text.size() != length)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

QList<QByteArray> fields(const QByteArray& line)
{
    return line.simplified().split(' ');
}

std::optional<UpdatePackage> readPackage(const QList<QByteArray>& f)
{
    static const QRegularExpression platformPattern(QStringLiteral("^[a-z0-9][a-z0-9-]{0,31}$"));
    if (f.size() != 5 || !allDigits(f[3]) || f[3].size() > 12 || !isHex(f[4], 64))
        return std::nullopt;
    UpdatePackage p;
    p.platform = QString::fromLatin1(f[1]);
    p.name = QString::fromLatin1(f[2]);
    p.size = f[3].toLongLong();
    p.sha256 = QByteArray::fromHex(f[4]);
    if (!platformPattern.match(p.platform).hasMatch() || !IsPackageName(p.name) || p.size <= 0
        || p.size > kMaxPackageBytes)
        return std::nullopt;
    return p;
}

} // namespace

std::optional<UpdatePackage> VersionFile::packageFor(const QString& platform) const
{
    for (const UpdatePackage& p : packages)
        if (!platform.isEmpty() && p.platform == platform)
            return p;
    return std::nullopt;
}

QString UpdatePlatform()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("windows");
#elif defined(Q_OS_LINUX)
    // Debian's names for the architectures Qt calls otherwise.
    const QString arch = QSysInfo::buildCpuArchitecture();
    const QString debian = arch == QLatin1String("x86_64") ? QStringLiteral("amd64")
                           : arch == QLatin1String("arm") ? QStringLiteral("armhf")
                           : arch == QLatin1String("power64") ? QStringLiteral("ppc64el")
                                                               : arch;
    return QStringLiteral("deb-") + debian;
#else
    return QString();
#endif
}

bool IsPackageName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_+~-][A-Za-z0-9._+~-]{0,127}$"));
    return pattern.match(name).hasMatch() && !name.contains(QLatin1String(".."));
}

std::optional<VersionFile> ReadVersionFile(const QByteArray& bytes, const QByteArray& publicKey)
{
    if (bytes.size() > kMaxVersionFileBytes || publicKey.size() != crypto_sign_PUBLICKEYBYTES || sodium_init() < 0)
        return std::nullopt;
    VersionFile file;
    QSet<QString> platforms;
    QByteArray signature;
    qsizetype signedLength = -1;
    bool first = true;
    qsizetype start = bytes.startsWith(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArray line = bytes.mid(start, end - start).trimmed();
        const qsizetype lineStart = start;
        start = end + 1;
        if (line.isEmpty())
            continue;
        if (signedLength >= 0) // nothing but blank lines after the signature
            return std::nullopt;
        if (first) {
            // A version number of at most nine digits, alone on its line.
            if (!allDigits(line) || line.size() > 9)
                return std::nullopt;
            file.number = line.toInt();
            first = false;
            continue;
        }
        const QList<QByteArray> f = fields(line);
        if (f.first() == kFileKeyword) {
            const std::optional<UpdatePackage> p = readPackage(f);
            if (!p || platforms.contains(p->platform))
                return std::nullopt;
            platforms.insert(p->platform);
            file.packages << *p;
        } else if (f.first() == kSignatureKeyword) {
            if (f.size() != 2 || !isHex(f[1], 2 * crypto_sign_BYTES))
                return std::nullopt;
            signature = QByteArray::fromHex(f[1]);
            signedLength = lineStart;
        }
        // Other lines are left to later programs; they are signed like the rest.
    }
    if (first || signedLength < 0)
        return std::nullopt;
    if (crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                    reinterpret_cast<const unsigned char*>(bytes.constData()),
                                    static_cast<unsigned long long>(signedLength),
                                    reinterpret_cast<const unsigned char*>(publicKey.constData()))
        != 0)
        return std::nullopt;
    return file;
}

QByteArray PackageLine(const UpdatePackage& package)
{
    return kFileKeyword + ' ' + package.platform.toLatin1() + ' ' + package.name.toLatin1() + ' '
           + QByteArray::number(package.size) + ' ' + package.sha256.toHex() + '\n';
}

QByteArray SignVersionFile(QByteArray text, const QByteArray& secretKey)
{
    if (secretKey.size() != crypto_sign_SECRETKEYBYTES || sodium_init() < 0)
        return QByteArray();
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += '\n';
    unsigned char signature[crypto_sign_BYTES];
    const auto* key = reinterpret_cast<const unsigned char*>(secretKey.constData());
    if (crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(text.constData()),
                             static_cast<unsigned long long>(text.size()), key)
        != 0)
        return QByteArray();
    const QByteArray signedText =
        text + kSignatureKeyword + ' ' + QByteArray(reinterpret_cast<const char*>(signature), crypto_sign_BYTES).toHex() + '\n';
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_ed25519_sk_to_pk(publicKey, key);
    if (!ReadVersionFile(signedText, QByteArray(reinterpret_cast<const char*>(publicKey), sizeof publicKey)))
        return QByteArray();
    return signedText;
}

} // namespace maintenance
