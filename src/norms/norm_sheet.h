#pragma once
// A norm table as a worksheet: written for the clinic to read or edit in any spreadsheet
// program, and read back with every cell checked before the table may replace one in use.
#include "capture/xlsx_writer.h"
#include "norms/norm_groups.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace norms {

struct NormTableData {
    QString table; // "EvabaliniDJMIR", ...
    NormDescription description;
    NormValues values;
};

// The sheet's layout, rows and columns counted from 1. The sheet is named after the table.
namespace layout {
inline constexpr int kTitleRow = 1;   // title, group, "provisional"
inline constexpr int kNameRow = 2;    // caption in A, the name in B
inline constexpr int kSourceRow = 3;  // caption in A, the source in B
inline constexpr int kChangedRow = 4; // caption in A, the date in B (not read back)
inline constexpr int kNoteRow = 5;
inline constexpr int kHeaderRow = 6;  // "نمره خام", then the scales
inline constexpr int kFirstRawRow = 7; // raw score 0; raw score r in row 7 + r
inline constexpr int kRawColumn = 1;   // the scale of index s in column 2 + s
inline constexpr int kValueColumn = 2;
inline constexpr int kLongestName = 60;
} // namespace layout

// "A1", "L31".
QString CellName(int row, int column);

workbook::SheetToWrite NormSheet(const NormTableData& table);

using CellGrid = QMap<int, QMap<int, workbook::CellValue>>;

struct SheetProblem {
    QString sheet;
    QString cell; // empty when the sheet itself is missing
    QString what;
    QString text() const; // "برگه X، خانه D12: ..."
};

struct NormSheetCheck {
    std::optional<NormTableData> table; // name, source and values; the rest is the importer's
    SheetProblem problem;
};

// The whole sheet of one table checked, in reading order, the first bad cell named: the column
// headings, a name (at most kLongestName characters) and a source, every raw score from 0 to the
// highest in its row, and for each scale up to its highest raw score a T that is a whole number
// from kLowestT to kHighestT, never lower than the T of the raw score before. Cells above a
// scale's highest raw score are not read.
NormSheetCheck CheckNormSheet(const QString& table, const CellGrid& cells);

struct NormWorkbookRead {
    QVector<NormTableData> tables;      // every one asked for, when there is no problem
    std::optional<SheetProblem> problem; // the first, in the order the tables were asked for
    QString error;                       // the file could not be read at all
    bool ok() const { return !problem && error.isEmpty(); }
};

// Reads the sheets of these tables from a workbook with the program's own reader, each one
// checked whole.
NormWorkbookRead ReadNormWorkbook(const QString& path, const QStringList& tables);

} // namespace norms
