#pragma once
// Backups of a clinic's server: its examinee tables written into a file of the examinee file's
// own format (so a backup restores into either store), and such a file's rows put back.
#include "store/result.h"
#include "store/server.h"

#include <functional>

namespace store {

// Writes the server's examinee tables into target, a new SQLite file of the program's schema
// (0600), from one consistent snapshot: a read-only, repeatable-read transaction, so rows that
// other computers store meanwhile are either all in it or not at all. On failure target is removed.
// progress, when given, is called after each batch of rows with the rows written so far and the
// snapshot's total, so that a screen can show the work moving and keep its window painted.
using RowProgress = std::function<void(qint64 done, qint64 total)>;
Result BackupServerExaminees(const ServerAddress& server, const QString& target, const RowProgress& progress = {});

// Replaces the server's examinee tables with the rows of source, a file of the program's own
// schema (made by CopyIntoFreshDatabase from a checked backup), in one transaction. Other
// computers' writes wait meanwhile. Before anything is replaced, the rows being replaced are
// written, in the same transaction's view of them, into the backup file keep; when that fails,
// or any row cannot be stored, nothing on the server changes. progress, when given, is called
// after each batch of rows kept or stored and between the steps, with the rows of both so far
// and their total.
Result RestoreServerExaminees(const ServerAddress& server, const QString& source, const QString& keep,
                              const RowProgress& progress = {});

} // namespace store
