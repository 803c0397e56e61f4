#pragma once
// Whole-file replacement: a new file is written beside its target and renamed over it, so the
// target is always either the old file or the complete new one.
#include <QString>

namespace maintenance {

// The temporary name a file is written under before it replaces its target.
QString PartFileName(const QString& target);
// Renames from over to in one step (an existing target is replaced), flushed to the disk before
// and after, so a power cut leaves the old file or the new one. Empty on success, otherwise a
// description of the failure.
QString ReplaceFile(const QString& from, const QString& to);

} // namespace maintenance
