#include "capture/workbook_import.h"
#include "capture/capture_texts.h"
#include "capture/item_counter.h"
#include "capture/workbook_reader.h"

namespace workbook {

QString AnswerSheetName(const PublisherAddresses& publisher)
{
    return publisher.webSite.host();
}

QUrl BlankWorkbookAddress(const PublisherAddresses& publisher)
{
    return publisher.onWebSite(texts::kBlankWorkbookPath);
}

QString UnusableFileText(const PublisherAddresses& publisher)
{
    const QChar nl = QLatin1Char('\n');
    return texts::kFileTampered + nl + texts::kDownloadAuthentic + nl + nl + texts::kSiteAddress + nl
        + QLatin1Char(' ') + publisher.webSite.toString() + QLatin1Char(' ');
}

QString BlankWorkbookFileName()
{
    return texts::kWorkbookMarker + QStringLiteral("-Excel.xlsx");
}

QString StoredResponse(const QString& workbookValue)
{
    // Persian and Arabic-Indic digits typed into a text cell count as the digits they are.
    QString latin = workbookValue.trimmed();
    for (QChar& c : latin) {
        const char16_t u = c.unicode();
        if (u >= 0x06F0 && u <= 0x06F9)
            c = QChar(u'0' + (u - 0x06F0));
        else if (u >= 0x0660 && u <= 0x0669)
            c = QChar(u'0' + (u - 0x0660));
    }
    bool ok = false;
    const double value = latin.toDouble(&ok);
    if (!ok)
        return QString();
    if (value == 1)
        return QStringLiteral("1");
    if (value == 2)
        return QStringLiteral("2");
    return QString();
}

AnswerWorkbook ReadAnswerWorkbook(const QString& path, const QString& sheetName)
{
    AnswerWorkbook out;
    const Opened opened = OpenWorkbook(path);
    if (!opened.reader) {
        out.detail = opened.error;
        return out;
    }
    WorkbookReader& reader = *opened.reader;
    if (!reader.selectSheet(sheetName)) {
        out.detail = reader.error();
        return out;
    }
    CellValue marker;
    if (!reader.cell({kMarkerRow, kMarkerColumn}, marker)) {
        out.detail = reader.error();
        return out;
    }
    if (marker.asText() != texts::kWorkbookMarker) {
        out.outcome = AnswerWorkbook::Outcome::WrongMarker;
        return out;
    }
    for (int item = 1; item <= kItemCount; ++item) {
        CellValue v;
        if (!reader.cell({kFirstResponseRow + item - 1, kResponseColumn}, v)) {
            out.detail = reader.error();
            out.values.clear();
            return out;
        }
        out.values << v.asText();
    }
    out.outcome = AnswerWorkbook::Outcome::Read;
    return out;
}

} // namespace workbook
