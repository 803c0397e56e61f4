#pragma once
// Moving a clinic onto its database server: every row of the program folder's four files copied
// into an empty server database in one transaction, then compared table by table.
#include "store/result.h"
#include "store/server.h"

#include <QVector>
#include <functional>

class QCryptographicHash;
class QSqlQuery;

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

class Connection;

// Rows read or stored between two calls to a screen showing the work on a server: few enough that
// the window is repainted well within the server's budget for one action.
inline constexpr int kServerRowBatch = 250;

// Streams the rows of a query on a SQLite file, from its first row on, into the server through
// copySql ("COPY ... FROM STDIN" naming the query's columns in order), as PostgreSQL's COPY text.
// Counts them into count, and adds each line to hash when one is given. everyBatch, when given,
// is called with count after each batch of rows read and while the server stores them, so that
// a screen can show the work moving; the rows then go in one copy per batch, which only the
// caller's transaction keeps whole.
Result CopyRowsIn(Connection& server, QSqlQuery& rows, const QString& copySql, qint64& count,
                  QCryptographicHash* hash = nullptr, const std::function<void(qint64 count)>& everyBatch = {});

// One value as a field of PostgreSQL's COPY text format (NULL as \N).
QByteArray CopyField(const QVariant& value);

} // namespace store
