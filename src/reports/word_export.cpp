#include "reports/word_export.h"
#include "reports/docx_writer.h"
#include "reports/identity_line.h"
#include "reports/report_texts.h"

#include <QDir>
#include <QFileInfo>

namespace reports {

WordExportOutcome ExportToWord(AppContext& ctx, QWidget* owner, const WordExportRequest& r,
                               const QString& documentsFolder)
{
    Dialogs& dialogs = ctx.dialogs();
    WordExportOutcome out;
    out.bitmapPath = ProfileBitmapPath(ctx.programFolder(), r.code);
    out.documentPath = WordDocumentPath(documentsFolder);
    if (r.picture.isNull()) {
        dialogs.message(owner, titles::kError, texts::kCaptureFailed, Dialogs::Icon::Critical);
        return out;
    }
    // The document carries the picture itself; the bitmap beside it is a copy, so a bitmap that
    // cannot be written stops nothing and is told after the document's success.
    const WriteOutcome bitmap = WriteBitmap(out.bitmapPath, r.picture);
    const WordDocument document{WordDocumentText(r.identityLine, r.savedText), r.picture,
                                QFileInfo(out.bitmapPath).fileName(), r.provenance};
    const WriteOutcome written = WriteWordDocument(out.documentPath, document);
    if (!written) {
        dialogs.message(owner, titles::kError, texts::WriteFailedMessage(written.path, written.error),
                        Dialogs::Icon::Critical);
        return out;
    }
    out.ok = true;
    if (!ctx.desktop().openFile(out.documentPath))
        dialogs.message(owner, titles::kAttention, texts::kNoWordApp + QStringLiteral("\r\n") + written.path,
                        Dialogs::Icon::Information);
    dialogs.message(owner, titles::kMessage, texts::WordCreatedMessage(), Dialogs::Icon::Information);
    if (!bitmap)
        dialogs.message(owner, titles::kError, texts::WriteFailedMessage(bitmap.path, bitmap.error),
                        Dialogs::Icon::Critical);
    return out;
}

} // namespace reports
