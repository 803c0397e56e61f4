#pragma once
// The Word export once the profile screen has been photographed: the picture as <code>.bmp in
// the program folder, the document "tavora71IR.docx" in the Documents folder, opened with the
// desktop's application for it, and the user told.
#include "kit/app_context.h"
#include "reports/output_files.h"

#include <QImage>
#include <QString>

class QWidget;

namespace reports {

struct WordExportRequest {
    QString code;
    QString identityLine; // as composed into Txtid
    QString savedText;    // the saved interpretation
    QImage picture;       // null when the capture failed
    QString provenance = QString(); // where the scores came from, in small print at the end
};

struct WordExportOutcome {
    bool ok = false;      // the document was written
    QString bitmapPath;
    QString documentPath;
};

// Every failure is reported in a box titled "خطا" naming what failed; the success message only
// follows a written document. The bitmap is the one file whose failure does not stop the
// document: it is told after the success.
WordExportOutcome ExportToWord(AppContext& ctx, QWidget* owner, const WordExportRequest& request,
                               const QString& documentsFolder);

} // namespace reports
