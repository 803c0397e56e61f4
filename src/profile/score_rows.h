#pragma once
// The examinee's stored raw-score and T-score rows (NOMREKhamIR, NOMREbikIR), one row per code.
#include "store/result.h"

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

// Writes the eleven scores (scale order; missing positions as empty texts) into the located
// row and stores it. Fails when no row is located.
store::Result CommitScoreRow(store::View& view, const QStringList& scores);

} // namespace profile
