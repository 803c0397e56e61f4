#pragma once
// The faces the program draws with, shipped with it. The system's font set-up parses its whole
// configuration and lists every installed face before the first Persian line is drawn; one that
// knows only these faces costs a fraction of that.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace fonts {

// File names of the shipped faces: the interface's, the report's and the faces their text falls
// back to.
const QStringList& ShippedFaceFiles();

// Where the faces are looked for, in order: beside the installed program, then the build tree.
QStringList ShippedFontFolders(const QString& executableFolder);

// The first of the folders that holds every shipped face; empty when none does.
QString FindShippedFonts(const QStringList& folders);

// A fontconfig configuration that knows the faces of the folder only, drawn with the system's
// rendering defaults for them and the machine's and the user's own font settings.
QByteArray ShippedFontConfig(const QString& folder);

// Makes the shipped faces the only ones the process's font set-up knows. To be called before the
// application object exists. False, with nothing changed (the system's fonts are used), when no
// folder holds the faces or the configuration cannot be made.
bool UseShippedFonts();

} // namespace fonts
