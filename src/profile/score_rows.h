#pragma once
// The examinee's stored raw-score and T-score rows (NOMREKhamIR, NOMREbikIR), one row per code,
// and the ranking work table (Sortt2). All three are written for the record; nothing reads them
// back to compute anything.
#include "profile/ranking.h"
#include "store/result.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace store {
class View;
}

namespace profile {

// Makes the examinee's row the view's current row, adding it when there is none. The code is
// stored and looked up without surrounding blanks, so a code typed as "12 " finds the row of
// "12" on every later activation instead of adding another one. An empty code is refused.
// The view is re-read first (refresh), so a row stored through another view is found.
store::Result LocateOrCreateScoreRow(store::View& view, const QString& code);

// Writes the eleven scores (scale order; missing positions as empty texts) into the row located
// for the code and stores it. Fails, writing nothing, when the current row is not that code's.
store::Result CommitScoreRow(store::View& view, const QString& code, const QStringList& scores);

// Writes the ranking's rows into Sortt2 (the view), each into the row of its id, in one
// transaction: all of them are stored or none, so the table never holds half of one ranking
// and half of another. A row that went missing is put back. After a failure the view is
// re-read, so it shows what is stored.
store::Result StoreRanking(store::View& sortt2, const QList<Sortt2Row>& rows);

} // namespace profile
