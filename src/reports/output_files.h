#pragma once
// Where the report's files go and how they are written: every write says whether it happened
// and, when not, why.
#include "kit/code_files.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace reports {

struct WriteOutcome {
    bool ok = false;
    QString path;
    QString error; // why it was not written
    explicit operator bool() const { return ok; }
};

// The user's Documents folder when it exists, otherwise the home folder. Empty arguments ask
// the system.
QString DocumentsFolder(const QString& documents = {}, const QString& home = {});

// An examinee code as part of a file name (CodeFileStem).
inline QString FileStem(const QString& code)
{
    return CodeFileStem(code);
}

// The PDF offered by the preview: <code>.pdf in the folder.
QString ReportPdfPath(const QString& folder, const QString& code);
// The Word document: "tavora71IR.docx" in the folder.
QString WordDocumentPath(const QString& folder);
// The picture of the profile screen for the Word export: <code>.bmp in the program folder.
using ::ProfileBitmapPath;

// Writes the bytes to a file beside the target and renames it into place, so a failed write
// never leaves half a file where the old one was.
WriteOutcome WriteFileReplacing(const QString& path, const QByteArray& bytes);
// The picture as a Windows bitmap (BMP).
WriteOutcome WriteBitmap(const QString& path, const QImage& image);

} // namespace reports
