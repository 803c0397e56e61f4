#pragma once
// A signing key of the tests' own, and version files signed with it.
#include "maintenance/version_file.h"

#include <QByteArray>
#include <sodium.h>

struct TestSigningKey {
    QByteArray publicKey = QByteArray(crypto_sign_PUBLICKEYBYTES, '\0');
    QByteArray secretKey = QByteArray(crypto_sign_SECRETKEYBYTES, '\0');

    TestSigningKey()
    {
        if (sodium_init() >= 0)
            crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                                reinterpret_cast<unsigned char*>(secretKey.data()));
    }

    // text with a good signature line, whatever the text holds (the program's own signing
    // refuses a malformed text; the tests need such texts signed too).
    QByteArray sign(const QByteArray& text) const
    {
        unsigned char signature[crypto_sign_BYTES];
        crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(text.constData()),
                             static_cast<unsigned long long>(text.size()),
                             reinterpret_cast<const unsigned char*>(secretKey.constData()));
        return text + "signature " + QByteArray(reinterpret_cast<const char*>(signature), sizeof signature).toHex() + '\n';
    }
};

inline QByteArray Sha256Of(const QByteArray& bytes)
{
    QByteArray digest(crypto_hash_sha256_BYTES, '\0');
    crypto_hash_sha256(reinterpret_cast<unsigned char*>(digest.data()), reinterpret_cast<const unsigned char*>(bytes.constData()),
                       static_cast<unsigned long long>(bytes.size()));
    return digest;
}

// A version file for number naming one package for the given platform.
inline QByteArray VersionFileText(int number, const QString& platform, const QString& name, const QByteArray& package)
{
    maintenance::UpdatePackage p;
    p.platform = platform;
    p.name = name;
    p.size = package.size();
    p.sha256 = Sha256Of(package);
    return QByteArray::number(number) + '\n' + maintenance::PackageLine(p);
}
