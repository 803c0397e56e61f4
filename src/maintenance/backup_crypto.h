#pragma once
// Backups sealed with a passphrase. A file of this kind is, byte by byte (integers little-endian):
//
//   offset  size  content
//        0    15  "Tavora71-backup", the mark by which a restore recognises it
//       15     1  format version: 1
//       16     1  key derivation: Argon2id (libsodium's crypto_pwhash_ALG_ARGON2ID13, 2)
//       17     4  Argon2id passes (opslimit)
//       21     4  Argon2id memory in KiB (memlimit / 1024)
//       25    16  salt, random for every backup
//       41    24  header of the libsodium secretstream (crypto_secretstream_xchacha20poly1305)
//       65     …  the database in pieces of 64 KiB, each sealed by the stream (17 bytes longer than
//                 its plain text); the last piece, shorter or empty, carries the stream's FINAL tag.
//
// The key (32 bytes) is derived from the passphrase (UTF-8, Unicode NFC) and the salt. The first 41
// bytes are the additional data of the first piece: a changed byte anywhere, a missing end or bytes
// after it are all refused.
#include "maintenance/file_copy.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace maintenance {

struct KeyLimits {
    quint32 passes = 0;
    quint32 memoryKiB = 0;
};

// What new backups use: strong enough to make guessing slow, quick enough for the exit screen.
KeyLimits BackupKeyLimits();

inline constexpr int kSealedHeaderSize = 65;
inline constexpr int kSealedPieceSize = 64 * 1024;

// Whether the first bytes of a file mark a sealed backup.
bool LooksSealed(const QByteArray& firstBytes);
bool IsSealedBackup(const QString& path);

// Seals what passes through a copy. Null (and error set) when the key cannot be derived.
std::unique_ptr<CopyTransform> MakeSealing(const QString& passphrase, QString& error,
                                           KeyLimits limits = BackupKeyLimits());
// Opens a sealed backup as it passes through a copy.
std::unique_ptr<CopyTransform> MakeUnsealing(const QString& passphrase);

// Opens the sealed backup at source into target (0600). Empty on success; otherwise why not, and
// target is removed.
QString UnsealFile(const QString& source, const QString& target, const QString& passphrase);

} // namespace maintenance
