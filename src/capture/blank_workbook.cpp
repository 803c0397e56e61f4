#include "capture/blank_workbook.h"
#include "capture/capture_texts.h"
#include "capture/item_counter.h"
#include "capture/workbook_import.h"
#include "store/delivered_table.h"
#include "store/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace workbook {

namespace {

const QString kHeaderNumber = QStringLiteral("شماره سوال");
const QString kHeaderText = QStringLiteral("متن سوال");
const QString kHeaderAnswer = QStringLiteral("پاسخ");
const QString kHowToAnswer =
    QStringLiteral("پاسخ هر سوال را در ستون «پاسخ» بنويسيد: عدد 1 براي بلي، عدد 2 براي خير و عدد 0 براي سوالي كه پاسخ نمي‌دهيد.");

} // namespace

SheetToWrite BlankAnswerSheet(const QString& sheetName, const QStringList& itemTexts)
{
    SheetToWrite sheet;
    sheet.name = sheetName;
    sheet.rightToLeft = true;
    sheet.boldFirstRow = true;
    sheet.columnWidths = {{1, 11}, {2, 90}, {kResponseColumn, 9}};
    sheet.setText(1, 1, kHeaderNumber);
    sheet.setText(1, 2, kHeaderText);
    sheet.setText(1, kResponseColumn, kHeaderAnswer);
    sheet.setText(2, 2, kHowToAnswer);
    for (int item = 1; item <= kItemCount; ++item) {
        const int row = kFirstResponseRow + item - 1;
        sheet.setNumber(row, 1, item);
        sheet.setText(row, 2, itemTexts.value(item - 1));
    }
    sheet.setText(kMarkerRow, kMarkerColumn, texts::kWorkbookMarker);
    return sheet;
}

QStringList DeliveredItemTexts(const QString& itemTableText)
{
    const store::DeliveredTable table = store::ParseDeliveredTable(itemTableText);
    const qsizetype id = table.columns.indexOf(QStringLiteral("ID"));
    const qsizetype qu = table.columns.indexOf(QStringLiteral("QU"));
    if (!table.error.isEmpty() || id < 0 || qu < 0)
        return {};
    QStringList items(kItemCount);
    int found = 0;
    for (const QStringList& row : table.rows) {
        bool ok = false;
        const int n = row.value(id).toInt(&ok);
        if (ok && n >= 1 && n <= kItemCount && items[n - 1].isEmpty()) {
            items[n - 1] = row.value(qu);
            ++found;
        }
    }
    return found == kItemCount ? items : QStringList();
}

QString DeliveredBlankWorkbook()
{
    return QStringLiteral(":/workbook/") + BlankWorkbookFileName();
}

store::Result WriteBlankWorkbookIfMissing(const QString& programFolder)
{
    const QString target = QDir(programFolder).filePath(BlankWorkbookFileName());
    if (QFileInfo::exists(target))
        return store::Result::success(); // a clinic's own copy is never replaced
    QFile source(DeliveredBlankWorkbook());
    if (!source.open(QIODevice::ReadOnly))
        return store::Result::failure(source.errorString());
    const QByteArray data = source.readAll();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || !store::MakeOwnerOnly(out) || out.write(data) != data.size() || !out.commit())
        return store::Result::failure(out.errorString());
    return store::Result::success();
}

} // namespace workbook
