#pragma once
// Writing .xlsx workbooks: one or more worksheets of text and number cells, optionally right to
// left and with a bold first row. Used for the blank answer workbook and for exports.
#include "capture/workbook_reader.h"
#include "store/result.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>
#include <memory>

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

// A workbook written a row at a time, straight into the archive: no sheet is ever held whole.
// The file appears only when finish() succeeds; a writer dropped before leaves none.
class XlsxWriter {
public:
    XlsxWriter();
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    // Starts the workbook of these sheets: their names and layouts, and the rows they hold
    // already (a header row), which are written before any added.
    store::Result open(const QString& path, const QVector<SheetToWrite>& sheets);
    // On to the next sheet, in the order given. False when the archive could not be written.
    bool beginSheet();
    // A row of the current sheet, below those written before; height in points, 0: as the font
    // needs. False when the archive could not be written.
    bool addRow(int row, const QMap<int, CellValue>& cells, double height = 0);
    store::Result finish();

private:
    struct Parts;
    std::unique_ptr<Parts> d_;
};

} // namespace workbook
