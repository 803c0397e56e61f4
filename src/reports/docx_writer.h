#pragma once
// The Word document written directly as a .docx package (ZIP of XML parts), so no word
// processor is needed to make it.
//
// The body: an empty right-to-left justified paragraph, the picture inline in the next one,
// an empty paragraph, then the document text, each of its line ends starting a new paragraph,
// and last, in small print, the line saying where the scores came from.
// Every paragraph is right to left and justified.
#include "reports/output_files.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

namespace reports {

struct WordDocument {
    QString text;        // identity line, two line ends, the saved interpretation
    QImage picture;      // the photograph of the profile screen; may be null
    QString pictureName; // its name inside the document (the bitmap's file name)
    QString provenance = QString(); // norm table, program version, check code of the answers; none when empty
};

struct DocxPart {
    QString name;
    QByteArray bytes;
};

// Width of the page's text column (A4, 1 inch margins) in twips; a wider picture is scaled to it.
inline constexpr int kDocxTextWidthTwips = 11906 - 2 * 1440;

// The package's parts, in the order they are stored.
QVector<DocxPart> DocxParts(const WordDocument& document);
// The package as bytes; empty with the reason when it cannot be made.
QByteArray BuildDocx(const WordDocument& document, QString* error = nullptr);
// Builds the package and writes it (beside the target first, then renamed into place).
WriteOutcome WriteWordDocument(const QString& path, const WordDocument& document);

} // namespace reports
