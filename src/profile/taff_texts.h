#pragma once
// The interpretation texts of the Taff table a text needs, read in one query: a text looks up
// about a dozen ids, which on a server would otherwise be as many round trips, and a read that
// fails fails the text instead of leaving parts of it out.
#include "profile/interpretation_text.h"
#include "store/result.h"

#include <QHash>

namespace store {
class Connection;
}

namespace profile {

class TaffTexts {
public:
    // The rows of the given ids (TaffIdsRead), the first stored of an id that occurs twice.
    store::Result read(store::Connection& normsFile, const QStringList& ids);
    // Looks up in the rows last read (ids are unique); valid while this object lives.
    TaffLookup lookup() const;

private:
    QHash<QString, TaffRow> rows_;
};

} // namespace profile
