#pragma once
// Counting codes by number ranges for the code proposal, through an index of the codes that are
// numbers (store/data_files.h, CreateNumberIndexSql): a count reads only the index entries of
// its range, so a run of 100,000 taken codes costs a few milliseconds.
#include "store/result.h"

#include <QSqlQuery>
#include <QString>

namespace store {

class Connection;

// Dialect: whether the text column holds a number of 1 to 18 digits without a leading zero, and
// that number (only where it does). The number index is made of these; a query names them alike
// to be answered from it.
QString IsNumberCode(const QString& column, bool server);
QString NumberOfCode(const QString& column, bool server);

// How many rows of the table have, in the column, exactly a decimal text from lo to hi: lo and
// hi are decimal texts of one length without a leading zero, lo <= hi. Beyond 18 digits only
// lo = hi is counted, by its text. Its statements are prepared once, for every range a search
// asks.
class DigitCodeCounter {
public:
    DigitCodeCounter(Connection& connection, const QString& table, const QString& column);
    Result count(const QString& lo, const QString& hi, qint64& count);

private:
    Result prepare();

    Connection& connection_;
    QString table_;
    QString column_;
    QSqlQuery range_; // through the number index
    QSqlQuery text_;  // one long code
    bool prepared_ = false;
};

// One count with statements of its own.
Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count);

} // namespace store
