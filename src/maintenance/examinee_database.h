#pragma once
// The examinee database as a whole file: whether a file is one, and making sure nothing of this
// program holds it open while it is copied or replaced.
#include <QString>

namespace maintenance {

// Empty when the file (read-only and immutable, nothing beside it touched) is a complete, intact
// examinee database with exactly this program's schema; otherwise the reason it is refused.
QString CheckExamineeDatabase(const QString& path);
// Makes fresh from the backup: a new file of this program's schema holding the backup's rows,
// checked. Empty on success; otherwise why not, and fresh is removed.
QString RebuildExamineeDatabase(const QString& backup, const QString& fresh);

// Closes every connection the program holds to the database and settles an interrupted write
// (a journal left beside it is rolled back), so that the file alone is complete on disk.
// Empty on success, otherwise what prevented it.
QString ReleaseDatabaseFile(const QString& path);

} // namespace maintenance
