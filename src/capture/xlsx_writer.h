#pragma once
// Writing .xlsx workbooks: one or more worksheets of text and number cells, optionally right to
// left and with a bold first row. Used for the blank answer workbook and for exports.
#include "capture/workbook_reader.h"
#include "store/result.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>

namespace workbook {

struct SheetToWrite {
    QString name;              // at most 31 characters, none of : \ / ? * [ ]
    bool rightToLeft = false;  // the sheet reads from the right, as a Persian sheet should
    bool boldFirstRow = false; // a header row
    bool freezeFirstRow = false; // the first row stays in view when scrolling and heads every printed page
    bool landscapeFitToWidth = false; // printed on landscape pages, every column on the page's width
    bool centred = false;      // cells centred in their columns, a header row wrapped as well
    QSet<int> wrappedColumns;  // columns (from 1) whose long texts break over lines in the column
    QMap<int, double> columnWidths; // column (from 1) to width in characters
    QMap<int, double> rowHeights;   // row (from 1) to height in points; others as the font needs
    QMap<int, QMap<int, CellValue>> rows; // row (from 1) to column (from 1) to value

    void setText(int row, int column, const QString& text) { rows[row][column] = CellValue::fromText(text); }
    void setNumber(int row, int column, double value) { rows[row][column] = CellValue::fromNumber(value); }
};

// Whether a worksheet name can be written ("" when it can, otherwise the reason).
QString SheetNameProblem(const QString& name);

// Writes the workbook to path. The file appears only when complete; an existing file is replaced.
store::Result WriteXlsx(const QString& path, const QVector<SheetToWrite>& sheets);

} // namespace workbook
