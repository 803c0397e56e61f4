#pragma once
// Moving a clinic onto its database server: every row of the program folder's four files copied
// into an empty server database in one transaction, then compared table by table.
#include "store/result.h"
#include "store/server.h"

#include <QVector>

namespace store {

struct MovedTable {
    QString file;
    QString table;
    qint64 localRows = 0;
    qint64 serverRows = 0;
    QByteArray localChecksum;  // SHA-256 of the table's rows in order, as PostgreSQL's COPY text
    QByteArray serverChecksum; // the same, as the server gives them back
    bool equal() const { return localRows == serverRows && localChecksum == serverChecksum; }
};

struct MoveReport {
    bool ok = false;    // committed, and every table compared equal
    QString error;      // why nothing was moved
    QVector<MovedTable> tables;
};

// Copies the four files of the program folder into the server. The server must hold no examinee;
// its tables are made first when the database is empty, and the delivered rows the program put
// there are replaced by the clinic's own. Nothing is kept unless every table compares equal. The
// files are only read.
MoveReport CopyFilesToServer(const QString& programFolder, const ServerAddress& server);

// The report in words, for the settings panel and the command line.
QString DescribeMove(const MoveReport& report, const ServerAddress& server);

// One value as a field of PostgreSQL's COPY text format (NULL as \N).
QByteArray CopyField(const QVariant& value);

} // namespace store
