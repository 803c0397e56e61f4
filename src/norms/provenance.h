#pragma once
// The line every result carries about where its T scores came from: the norm table (its name,
// and that it is provisional when it is a delivered one), the program's version and the check
// code of the answers, so that a paper report can be matched with the stored answers later.
#include "norms/norm_groups.h"

#include <QString>
#include <optional>

namespace norms {

// norm: the table the T scores were read from (none when there are no T scores); answersCheck:
// empty when the examinee has no stored answers.
QString ProvenanceLine(const std::optional<NormDescription>& norm, const QString& answersCheck);

} // namespace norms
