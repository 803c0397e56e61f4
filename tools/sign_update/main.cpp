// The publisher's tool for updates: makes the signing key pair, writes a package's line of the
// version file, and signs the version file. The secret key stays in a file of its own, given on
// the command line; it never belongs in the repository.
#include "maintenance/version_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <sodium.h>

using namespace maintenance;

namespace {

QTextStream out(stdout);
QTextStream err(stderr);

int usage()
{
    err << "usage:\n"
           "  tavora71-sign-update keygen <secret-key-file>\n"
           "      a new key pair: the secret key into the file (owner-only, never replacing one),\n"
           "      the public key on standard output, as hex for src/kit/publisher.h\n"
           "  tavora71-sign-update package <platform> <package-file>\n"
           "      the version file's line for a package (platform as deb-amd64, windows)\n"
           "  tavora71-sign-update sign <secret-key-file> <version-file>\n"
           "      signs the version file in place (an old signature is replaced) and prints the\n"
           "      public key that checks it\n";
    return 2;
}

int fail(const QString& message)
{
    err << message << '\n';
    return 1;
}

QByteArray publicKeyOf(const QByteArray& secretKey)
{
    unsigned char key[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_ed25519_sk_to_pk(key, reinterpret_cast<const unsigned char*>(secretKey.constData()));
    return QByteArray(reinterpret_cast<const char*>(key), sizeof key);
}

int keygen(const QString& path)
{
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(publicKey, secretKey);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        sodium_memzero(secretKey, sizeof secretKey);
        return fail(QStringLiteral("%1: %2 (an existing key is never replaced)").arg(path, file.errorString()));
    }
    QByteArray hex = QByteArray(reinterpret_cast<const char*>(secretKey), sizeof secretKey).toHex() + '\n';
    sodium_memzero(secretKey, sizeof secretKey);
    const bool written = file.write(hex) == hex.size() && file.flush();
    sodium_memzero(hex.data(), static_cast<size_t>(hex.size()));
    if (!written)
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    out << QByteArray(reinterpret_cast<const char*>(publicKey), sizeof publicKey).toHex() << '\n';
    return 0;
}

int package(const QString& platform, const QString& path)
{
    UpdatePackage p;
    p.platform = platform;
    p.name = QFileInfo(path).fileName();
    if (!IsPackageName(p.name))
        return fail(QStringLiteral("%1: not usable as a package name (letters, digits, . _ - + ~)").arg(p.name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    while (!file.atEnd()) {
        const QByteArray piece = file.read(1 << 20);
        if (piece.isEmpty() && file.error() != QFileDevice::NoError)
            return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
        crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(piece.constData()),
                                  static_cast<unsigned long long>(piece.size()));
        p.size += piece.size();
    }
    p.sha256 = QByteArray(crypto_hash_sha256_BYTES, '\0');
    crypto_hash_sha256_final(&state, reinterpret_cast<unsigned char*>(p.sha256.data()));
    if (p.size <= 0 || p.size > kMaxPackageBytes)
        return fail(QStringLiteral("%1: %2 bytes, outside what the program accepts").arg(path).arg(p.size));
    out << PackageLine(p);
    return 0;
}

int sign(const QString& keyPath, const QString& path)
{
    QFile keyFile(keyPath);
    if (!keyFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(keyPath, keyFile.errorString()));
    QByteArray hex = keyFile.readAll().trimmed();
    QByteArray secretKey = QByteArray::fromHex(hex);
    sodium_memzero(hex.data(), static_cast<size_t>(hex.size()));
    if (secretKey.size() != crypto_sign_SECRETKEYBYTES)
        return fail(QStringLiteral("%1: not a secret key made by keygen").arg(keyPath));

    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1: %2").arg(path, in.errorString()));
    QByteArray text = in.read(kMaxVersionFileBytes + 1);
    in.close();
    // An old signature, and whatever follows it, is replaced.
    const qsizetype old = text.startsWith("signature") ? 0 : text.lastIndexOf("\nsignature");
    if (old >= 0)
        text.truncate(old == 0 ? 0 : old + 1);
    const QByteArray signedText = SignVersionFile(text, secretKey);
    const QByteArray publicKey = publicKeyOf(secretKey);
    sodium_memzero(secretKey.data(), static_cast<size_t>(secretKey.size()));
    if (signedText.isEmpty())
        return fail(QStringLiteral("%1: not a version file: the version number alone on the first line, then lines "
                                   "\"file <platform> <name> <size> <sha256>\" (at most %2 bytes)")
                        .arg(path)
                        .arg(kMaxVersionFileBytes));
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly) || save.write(signedText) != signedText.size() || !save.commit())
        return fail(QStringLiteral("%1: %2").arg(path, save.errorString()));
    out << publicKey.toHex() << '\n';
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (sodium_init() < 0)
        return fail(QStringLiteral("libsodium cannot start"));
    if (args.size() == 2 && args[0] == QLatin1String("keygen"))
        return keygen(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("package"))
        return package(args[1], args[2]);
    if (args.size() == 3 && args[0] == QLatin1String("sign"))
        return sign(args[1], args[2]);
    return usage();
}
