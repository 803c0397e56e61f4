#pragma once
// Counting codes by number ranges through the text index, for the code proposal: a run of
// 100,000 taken codes costs a few dozen index range scans instead of 100,000 look-ups.
#include "store/result.h"

#include <QSqlQuery>
#include <QString>

namespace store {

class Connection;

// The count of one range, taken in steps of a bounded number of index entries, so that a caller
// can spread a long scan over several turns of its event loop. Between lo and hi as text lie the
// longer codes that begin like the range's numbers too: they are scanned, not counted.
struct DigitCodeCount {
    QString lo, hi;      // decimal texts of one length without a leading zero, lo <= hi
    qint64 taken = 0;    // the numbers of the range found so far
    qint64 scanned = 0;  // index entries read so far
    QString after;       // where the next step goes on (empty: from lo)
    bool done = false;
};

// How many rows of the table have, in the column, exactly a decimal text from lo to hi. A text of
// lo's length that lies between lo and hi as text is such a number, so the text index on the
// column serves. Its statements are prepared once, for every range a search asks.
class DigitCodeCounter {
public:
    DigitCodeCounter(Connection& connection, const QString& table, const QString& column);
    // Reads up to `entries` more index entries of the range.
    Result step(DigitCodeCount& count, int entries);
    Result count(const QString& lo, const QString& hi, qint64& count);

private:
    Result prepare();

    Connection& connection_;
    QString table_;
    QString column_;
    QSqlQuery first_; // from lo
    QSqlQuery next_;  // after the last entry read
    bool prepared_ = false;
};

// One count with statements of its own.
Result CountDigitCodes(Connection& connection, const QString& table, const QString& column, const QString& lo,
                       const QString& hi, qint64& count);

} // namespace store
