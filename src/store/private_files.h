#pragma once
// Files that hold examinee data are the user's alone, and whole-file replacements survive a
// power cut: the helpers every writer of such files uses.
#include <QFileDevice>
#include <QString>
#include <QStringList>

namespace store {

// Read and write for the user only (0600); a folder also keeps its search bit (0700).
inline constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// From now on the process creates files and folders for its user only (umask 077). Libraries
// that set modes of their own are covered by the explicit calls below.
void RestrictNewFilesToOwner();

// Makes a file 0600 or a folder 0700. False when the mode cannot be set.
bool MakeOwnerOnly(const QString& path);
// The same for an open file, before it is complete (a QSaveFile's temporary, say): the data is
// never readable by others, not even for a moment, and an earlier mode of the target is not kept.
bool MakeOwnerOnly(QFileDevice& file);
// Creates the folder (and missing parents) and makes it 0700; an existing one is made 0700.
bool MakeOwnerOnlyFolder(const QString& path);

// Takes the group's and others' permissions off each existing path that has any (links are
// left alone); returns the paths changed.
QStringList TightenToOwner(const QStringList& paths);

// Flushes a file's contents, or a folder's entries (after a rename in it), to the disk.
bool SyncFile(const QString& path);
bool SyncFolder(const QString& folder);

// The name a file is written under before it is renamed over its target.
QString PartFileName(const QString& target);
// Removes the "*.part" files (and their "-journal") a killed program left in the folder, not
// below it; returns how many.
int RemoveStaleParts(const QString& folder);

// Renames from over to in one step, durably: the new file is flushed before the rename and the
// folder after it, so that after a power cut the target is either the old file or the new one.
// Empty on success, otherwise a description of the failure.
QString ReplaceFileDurably(const QString& from, const QString& to);

} // namespace store
