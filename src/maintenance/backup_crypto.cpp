#include "maintenance/backup_crypto.h"
#include "store/private_files.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

#include <sodium.h>

namespace maintenance {

namespace {

using Stream = crypto_secretstream_xchacha20poly1305_state;
constexpr QByteArrayView kMark("Tavora71-backup");
constexpr char kVersion = 1;
constexpr int kAlgorithmAt = 16;
constexpr int kPassesAt = 17;
constexpr int kMemoryAt = 21;
constexpr int kSaltAt = 25;
constexpr int kStreamHeaderAt = 41;
constexpr int kAdditionalSize = kStreamHeaderAt; // what the first piece authenticates besides itself
constexpr int kSealedPiece = kSealedPieceSize + int(crypto_secretstream_xchacha20poly1305_ABYTES);
static_assert(kStreamHeaderAt + int(crypto_secretstream_xchacha20poly1305_HEADERBYTES) == kSealedHeaderSize);
static_assert(kSaltAt + int(crypto_pwhash_SALTBYTES) == kStreamHeaderAt);
static_assert(crypto_secretstream_xchacha20poly1305_KEYBYTES == 32);

// What a restore accepts from a file: a hostile header must not make it spend minutes or gigabytes.
constexpr quint32 kMaxPasses = 4;
constexpr quint32 kMaxMemoryKiB = 256 * 1024;

const QString kRefused = QStringLiteral("the passphrase is wrong, or the backup file was changed");
const QString kIncomplete = QStringLiteral("the backup file is incomplete");
const QString kNotSealed = QStringLiteral("the file is not a backup sealed by this program");

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

QByteArray passphraseBytes(const QString& passphrase)
{
    return passphrase.normalized(QString::NormalizationForm_C).toUtf8();
}

// A key that is wiped when it goes.
struct Key {
    unsigned char bytes[crypto_secretstream_xchacha20poly1305_KEYBYTES];
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { sodium_memzero(bytes, sizeof bytes); }
};

bool deriveKey(Key& key, const QString& passphrase, const unsigned char* salt, KeyLimits limits)
{
    QByteArray secret = passphraseBytes(passphrase);
    const int r = crypto_pwhash(key.bytes, sizeof key.bytes, secret.constData(), quint64(secret.size()), salt,
                                limits.passes, size_t(limits.memoryKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(secret.data(), size_t(secret.size()));
    return r == 0;
}

const unsigned char* bytesOf(const QByteArray& a, qsizetype at = 0)
{
    return reinterpret_cast<const unsigned char*>(a.constData()) + at;
}

unsigned char* bytesOf(QByteArray& a, qsizetype at = 0)
{
    return reinterpret_cast<unsigned char*>(a.data()) + at;
}

class Sealing final : public CopyTransform {
public:
    ~Sealing() override { sodium_memzero(&state_, sizeof state_); }

    QString begin(const QString& passphrase, KeyLimits limits)
    {
        if (!sodiumReady())
            return QStringLiteral("the cryptographic library cannot start");
        header_.resize(kSealedHeaderSize);
        char* h = header_.data();
        memcpy(h, kMark.data(), size_t(kMark.size()));
        h[kMark.size()] = kVersion;
        h[kAlgorithmAt] = char(crypto_pwhash_ALG_ARGON2ID13);
        qToLittleEndian<quint32>(limits.passes, h + kPassesAt);
        qToLittleEndian<quint32>(limits.memoryKiB, h + kMemoryAt);
        randombytes_buf(h + kSaltAt, crypto_pwhash_SALTBYTES);
        Key key;
        if (!deriveKey(key, passphrase, bytesOf(header_, kSaltAt), limits))
            return QStringLiteral("the key cannot be derived (not enough memory)");
        crypto_secretstream_xchacha20poly1305_init_push(&state_, bytesOf(header_, kStreamHeaderAt), key.bytes);
        additional_ = header_.first(kAdditionalSize);
        return QString();
    }

    bool feed(QByteArrayView piece, QByteArray& out, QString&) override
    {
        if (!header_.isEmpty()) {
            out += header_;
            header_.clear();
        }
        pending_.append(piece);
        qsizetype used = 0;
        while (pending_.size() - used > kSealedPieceSize) {
            seal(QByteArrayView(pending_).sliced(used, kSealedPieceSize), crypto_secretstream_xchacha20poly1305_TAG_MESSAGE, out);
            used += kSealedPieceSize;
        }
        pending_.remove(0, used);
        return true;
    }

    bool finish(QByteArray& out, QString& error) override
    {
        if (!feed({}, out, error))
            return false;
        seal(pending_, crypto_secretstream_xchacha20poly1305_TAG_FINAL, out);
        pending_.clear();
        return true;
    }

private:
    void seal(QByteArrayView plain, unsigned char tag, QByteArray& out)
    {
        const qsizetype at = out.size();
        out.resize(at + plain.size() + qsizetype(crypto_secretstream_xchacha20poly1305_ABYTES));
        // The file's own header is authenticated with the first piece.
        const QByteArray additional = first_ ? additional_ : QByteArray();
        crypto_secretstream_xchacha20poly1305_push(&state_, bytesOf(out, at), nullptr,
                                                   reinterpret_cast<const unsigned char*>(plain.data()),
                                                   quint64(plain.size()), bytesOf(additional),
                                                   quint64(additional.size()), tag);
        first_ = false;
    }

    Stream state_;
    QByteArray header_; // written before the first piece
    QByteArray additional_;
    QByteArray pending_;
    bool first_ = true;
};

class Unsealing final : public CopyTransform {
public:
    explicit Unsealing(const QString& passphrase)
        : passphrase_(passphrase)
    {
    }
    ~Unsealing() override { sodium_memzero(&state_, sizeof state_); }

    bool feed(QByteArrayView piece, QByteArray& out, QString& error) override
    {
        pending_.append(piece);
        if (!started_) {
            if (pending_.size() < kSealedHeaderSize)
                return true;
            if (!start(error))
                return false;
        }
        qsizetype used = 0;
        while (pending_.size() - used > kSealedPiece) {
            unsigned char tag = 0;
            if (!open(QByteArrayView(pending_).sliced(used, kSealedPiece), out, tag, error))
                return false;
            used += kSealedPiece;
            if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
                error = kRefused; // bytes after the end
                return false;
            }
        }
        pending_.remove(0, used);
        return true;
    }

    bool finish(QByteArray& out, QString& error) override
    {
        if (!started_) {
            error = pending_.startsWith(kMark) ? kIncomplete : kNotSealed;
            return false;
        }
        if (pending_.isEmpty()) {
            error = kIncomplete; // ends where a piece ended, without the last one
            return false;
        }
        unsigned char tag = 0;
        if (!open(pending_, out, tag, error))
            return false;
        if (tag != crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
            error = kIncomplete;
            return false;
        }
        pending_.clear();
        return true;
    }

private:
    bool start(QString& error)
    {
        const QByteArray header = pending_.first(kSealedHeaderSize);
        if (!LooksSealed(header) || header.at(kMark.size()) != kVersion) {
            error = kNotSealed;
            return false;
        }
        const KeyLimits limits{qFromLittleEndian<quint32>(header.constData() + kPassesAt),
                               qFromLittleEndian<quint32>(header.constData() + kMemoryAt)};
        if (quint8(header.at(kAlgorithmAt)) != crypto_pwhash_ALG_ARGON2ID13 || limits.passes < crypto_pwhash_OPSLIMIT_MIN
            || limits.passes > kMaxPasses || size_t(limits.memoryKiB) * 1024 < crypto_pwhash_MEMLIMIT_MIN
            || limits.memoryKiB > kMaxMemoryKiB) {
            error = kRefused;
            return false;
        }
        if (!sodiumReady()) {
            error = QStringLiteral("the cryptographic library cannot start");
            return false;
        }
        Key key;
        if (!deriveKey(key, passphrase_, bytesOf(header, kSaltAt), limits)) {
            error = QStringLiteral("the key cannot be derived (not enough memory)");
            return false;
        }
        if (crypto_secretstream_xchacha20poly1305_init_pull(&state_, bytesOf(header, kStreamHeaderAt), key.bytes) != 0) {
            error = kRefused;
            return false;
        }
        additional_ = header.first(kAdditionalSize);
        pending_.remove(0, kSealedHeaderSize);
        started_ = true;
        return true;
    }

    bool open(QByteArrayView sealed, QByteArray& out, unsigned char& tag, QString& error)
    {
        if (sealed.size() < qsizetype(crypto_secretstream_xchacha20poly1305_ABYTES)) {
            error = kIncomplete;
            return false;
        }
        const qsizetype at = out.size();
        out.resize(at + sealed.size() - qsizetype(crypto_secretstream_xchacha20poly1305_ABYTES));
        unsigned long long length = 0;
        const QByteArray additional = first_ ? additional_ : QByteArray();
        if (crypto_secretstream_xchacha20poly1305_pull(&state_, bytesOf(out, at), &length, &tag,
                                                       reinterpret_cast<const unsigned char*>(sealed.data()),
                                                       quint64(sealed.size()), bytesOf(additional),
                                                       quint64(additional.size()))
            != 0) {
            out.resize(at);
            error = kRefused;
            return false;
        }
        first_ = false;
        return true;
    }

    QString passphrase_;
    Stream state_;
    QByteArray pending_;
    QByteArray additional_;
    bool started_ = false;
    bool first_ = true;
};

} // namespace

KeyLimits BackupKeyLimits()
{
    // Argon2id with three passes over 64 MiB: about half a second on a busy two-core computer.
    return {3, 64 * 1024};
}

bool LooksSealed(const QByteArray& firstBytes)
{
    return firstBytes.startsWith(kMark);
}

bool IsSealedBackup(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && LooksSealed(f.read(kMark.size()));
}

std::unique_ptr<CopyTransform> MakeSealing(const QString& passphrase, QString& error, KeyLimits limits)
{
    auto sealing = std::make_unique<Sealing>();
    error = sealing->begin(passphrase, limits);
    if (!error.isEmpty())
        return nullptr;
    return sealing;
}

std::unique_ptr<CopyTransform> MakeUnsealing(const QString& passphrase)
{
    return std::make_unique<Unsealing>(passphrase);
}

QString UnsealFile(const QString& source, const QString& target, const QString& passphrase)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(source, in.errorString());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || !store::MakeOwnerOnly(out))
        return QStringLiteral("%1: %2").arg(target, out.errorString());
    Unsealing unsealing(passphrase);
    QString error;
    QByteArray plain;
    bool ok = true;
    bool last = false;
    while (ok && !last) {
        plain.clear();
        const QByteArray piece = in.read(kSealedPiece);
        last = piece.isEmpty();
        if (last && in.error() != QFileDevice::NoError) {
            error = QStringLiteral("%1: %2").arg(source, in.errorString());
            ok = false;
        } else {
            ok = (last ? unsealing.finish(plain, error) : unsealing.feed(piece, plain, error))
                 && out.write(plain) == plain.size();
        }
    }
    sodium_memzero(plain.data(), size_t(plain.size()));
    out.close();
    if (ok && out.error() != QFileDevice::NoError)
        ok = false;
    if (!ok) {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2").arg(target, out.errorString());
        out.remove();
        return error;
    }
    return QString();
}

} // namespace maintenance
