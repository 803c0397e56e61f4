#pragma once
// The blank answer workbook delivered with the program: the items with their numbers and texts,
// a column for the answers and the marker that the examinee-file screen recognises.
#include "capture/xlsx_writer.h"
#include "store/result.h"

#include <QStringList>

namespace workbook {

// The worksheet of the blank workbook; itemTexts holds the 71 texts in item order.
SheetToWrite BlankAnswerSheet(const QString& sheetName, const QStringList& itemTexts);

// The item texts of the delivered item table (its tab-separated text), in item order.
// Empty when the table is not well formed or does not hold all 71 items.
QStringList DeliveredItemTexts(const QString& itemTableText);

// Where the program carries the blank workbook it was built with.
QString DeliveredBlankWorkbook();

// Writes the delivered blank workbook into the program folder when it is not there yet.
store::Result WriteBlankWorkbookIfMissing(const QString& programFolder);

} // namespace workbook
