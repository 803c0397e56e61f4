#pragma once
// Reading many examinees at once for the group results: a few queries for all of them, never one
// per examinee.
#include "examinees/examinee_record.h"
#include "store/result.h"

#include <QList>
#include <QStringList>

namespace group {

// The examinees of the codes, in the order of the codes: the IDE row of each code and the
// responses of the first Answer row kept under it (the code without surrounding blanks). A code
// without an IDE row is left out.
store::Result ReadGroupMembers(const QString& examineeFilePath, const QStringList& codes,
                               QList<examinees::ExamineeRecord>& members);

} // namespace group
