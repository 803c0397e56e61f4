#pragma once
// Counting codes by number ranges through the text index, for the code proposal: a run of
// 100,000 taken codes costs a few dozen index range scans instead of 100,000 look-ups.
#include "store/result.h"

#include <QSqlQuery>
#include <QString>

namespace store {

class Connection;

// How many rows of the table have, in the column, exactly a decimal text from lo to hi. lo and hi
// are decimal texts of one length without a leading zero, lo <= hi; a text of that length that
// lies between them as text is such a number, so the text index on the column serves. One
// statement, prepared once, for every range a search asks.
class DigitCodeCounter {
public:
    DigitCodeCounter(Connection& connection, const QString& table, const QString& column);
    Result count(const QString& lo, const QString& hi, qint64& count);

private:
    Connection& connection_;
    QString table_;
    QString column_;
    QSqlQuery query_;
    bool prepared_ = false;
};

// One count with a statement of its own.
Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count);

} // namespace store
