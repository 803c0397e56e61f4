#pragma once
// Checks of whole database files.
//
// A database file that comes from elsewhere (the backup chosen for a restore) is opened
// read-only and immutable: the file is never written, and nothing beside it (a journal, a -wal)
// is read, rolled back or deleted. Only the program's own schema is accepted, and only its rows
// are taken over, into a fresh file made by the program, so nothing the file brings can run.
#include "store/result.h"
#include "store/schema.h"

#include <QSqlDatabase>

namespace store {

// Success when the file at path is a complete database (no write left unfinished beside it)
// whose schema is exactly the program's own for `file`: its tables with exactly their columns;
// no triggers, views, virtual or WITHOUT ROWID tables, generated columns, or columns named
// rowid, oid or _rowid_; indexes only on plain columns; and it passes integrity_check and
// foreign_key_check. Otherwise the reason it is refused.
Result CheckForeignDatabase(const QString& path, const FileDef& file);

// Makes target afresh with the program's schema for `file` (and its rollback journal), copies
// every table's rows from source into it and checks the result (integrity_check,
// foreign_key_check). Run CheckForeignDatabase on source first: here its file and schema are
// checked again, not its pages. target is 0600; on failure it is removed.
Result CopyIntoFreshDatabase(const QString& source, const QString& target, const FileDef& file);

enum class QuickCheck { Sound, Damaged, NotFinished };
// SQLite's quick_check of the data file at path, stopped after budgetMs (NotFinished then): a
// large file costs at most that. A damaged file's first problem goes into problem.
QuickCheck QuickCheckFile(const QString& path, int budgetMs, QString* problem = nullptr);

} // namespace store
