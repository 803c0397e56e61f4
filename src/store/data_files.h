#pragma once
// The program folder's data files: where they are, their creation on first run from the
// delivered data, and the check that an existing file is one of ours.
#include "store/result.h"
#include "store/schema.h"

#include <QSqlDatabase>

namespace store {

QString DataFilePath(const QString& programFolder, const QString& fileName);
// The delivered rows of a table: ":/data/<folder>/<Table>.tsv" and any "<Table>.<part>.tsv"
// beside it (a large table may be kept in several readable files), in name order.
QStringList DeliveredTablePaths(const FileDef& file, const TableDef& table);

// Creates one data file from the delivered data. Writes to a temporary name first, so an
// interrupted creation never leaves a half-made file behind.
Result CreateDataFile(const QString& programFolder, const FileDef& file);
// Creates a file at path with the tables and indexes of one data file and no rows.
Result CreateEmptyDataFile(const QString& path, const FileDef& file);
// An existing file must open as a database and hold every table with every column; a table
// added later (TableDef::addedLater) may be missing, and start-up adds it.
Result VerifyDataFile(const QString& path, const FileDef& file);
// Closes every connection the program holds to a data file and settles an interrupted write (a
// journal left beside it is rolled back), so that the file alone is complete on disk.
Result ReleaseDataFile(const QString& path);

// The tables' SQL for either engine: with a schema, the server's (qualified by it).
QString ColumnSql(const TableDef& t, const QString& column, bool server);
QString CreateTableSql(const TableDef& t, const QString& schema);
QString IndexName(const TableDef& t, const QString& column, bool unique);
QString CreateIndexSql(const TableDef& t, const QString& column, bool unique, const QString& schema);
// The index of the table's numbered column: each text of 1 to 18 digits without a leading zero, as
// its number (empty when the table has no such column). Its name, and its statement for a data
// file (schema empty) or a server schema.
QString NumberIndexName(const TableDef& t);
QString CreateNumberIndexSql(const TableDef& t, const QString& schema);
// Inserts the delivered rows of a table into target (its quoted, perhaps qualified, name).
Result FillDeliveredRows(QSqlDatabase& db, const FileDef& file, const TableDef& t, const QString& target);

struct PrepareOutcome {
    bool ok = true;
    QString fileName; // the file that could not be used
    QString error;
    QString themeProblem; // the skin files could not be made; the program can go on without them
};

// Creates what is missing (data files, the skin folder and its files), never overwrites,
// verifies every existing data file and adds the tables added to it later. A folder that uses a
// server gets the server's tables prepared instead of its files. A data file that is a link leading out of the program
// folder is refused: the program writes only into its own folder.
PrepareOutcome PrepareProgramFolder(const QString& programFolder);

// The delivered theme files, written into <folder>/skin when missing.
Result CreateMissingSkinFiles(const QString& programFolder);

} // namespace store
