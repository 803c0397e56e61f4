#include "reports/output_files.h"
#include "reports/report_texts.h"
#include "store/private_files.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace reports {

QString DocumentsFolder(const QString& documents, const QString& home)
{
    const QString docs = documents.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                             : documents;
    if (!docs.isEmpty() && QFileInfo(docs).isDir())
        return docs;
    return home.isEmpty() ? QDir::homePath() : home;
}

QString ReportPdfPath(const QString& folder, const QString& code)
{
    return QDir(folder).filePath(FileStem(code) + QStringLiteral(".pdf"));
}

QString WordDocumentPath(const QString& folder)
{
    return QDir(folder).filePath(texts::kWordFileName);
}

WriteOutcome WriteFileReplacing(const QString& path, const QByteArray& bytes)
{
    WriteOutcome out;
    out.path = QDir::toNativeSeparators(path);
    if (QFileInfo(path).isDir()) {
        out.error = QStringLiteral("a folder of that name is in the way");
        return out;
    }
    QSaveFile file(path);
    // The user's only, from the first byte, whatever mode a file it replaces had.
    if (!file.open(QIODevice::WriteOnly) || !store::MakeOwnerOnly(file)) {
        out.error = file.errorString();
        return out;
    }
    if (file.write(bytes) != bytes.size()) {
        out.error = file.errorString();
        file.cancelWriting();
        return out;
    }
    if (!file.commit()) {
        out.error = file.errorString();
        return out;
    }
    out.ok = true;
    return out;
}

WriteOutcome WriteBitmap(const QString& path, const QImage& image)
{
    if (image.isNull())
        return {false, QDir::toNativeSeparators(path), QStringLiteral("there is no picture")};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"))
        return {false, QDir::toNativeSeparators(path), QStringLiteral("the picture cannot be written as BMP")};
    return WriteFileReplacing(path, bytes);
}

} // namespace reports
