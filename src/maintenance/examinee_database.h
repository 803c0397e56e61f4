#pragma once
// The examinee database as a whole file: whether a file is one, and making sure nothing of this
// program holds it open while it is copied or replaced.
#include <QString>

namespace maintenance {

// Empty when the file opens as a database holding the examinee tables with all their columns;
// otherwise the reason it does not.
QString CheckExamineeDatabase(const QString& path);

// Closes every connection the program holds to the database and settles an interrupted write
// (a journal left beside it is rolled back), so that the file alone is complete on disk.
// Empty on success, otherwise what prevented it.
QString ReleaseDatabaseFile(const QString& path);

} // namespace maintenance
