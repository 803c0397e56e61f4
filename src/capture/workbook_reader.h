#pragma once
// Reading spreadsheet workbooks: one interface, an .xlsx reader (zip + XML) and an .xls reader.
// A workbook is only ever read: nothing in it is executed, nothing is written back.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>

namespace workbook {

// No part of a workbook is read when it would take more than this much memory: an archive member
// larger than this uncompressed (a zip bomb), or an .xls file larger than this.
constexpr qint64 kMaxPartBytes = 20 * 1024 * 1024;

// The largest sheet a spreadsheet program makes; a position past it is refused, never wrapped.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// The answer worksheet needs 73 rows and the columns to Z; a named worksheet declaring more than
// this is not an answer sheet, and is refused before its cells are read.
constexpr int kMaxAnswerSheetRows = 500;
constexpr int kMaxAnswerSheetColumns = 26;
// The cells an .xls reader may reserve for all the sheets of a workbook together. The reader
// sets aside every declared cell of every sheet when it opens a file, so the declarations are
// added up before it is given one.
constexpr qint64 kMaxReservedXlsCells = 1000000;

// Bounds on the XML parts of an .xlsx: no part written by a spreadsheet program comes near them,
// and past them parsing costs time or memory out of all proportion to the part's size.
constexpr int kMaxXmlAttributes = 256; // on one element
constexpr int kMaxXmlDepth = 64;       // elements open at once

struct CellValue {
    enum class Kind { Empty, Text, Number, Boolean, Error };
    Kind kind = Kind::Empty;
    QString text;      // the text of a text, boolean or error cell
    double number = 0; // the value of a number cell

    static CellValue fromText(const QString& text) { return {Kind::Text, text, 0}; }
    static CellValue fromNumber(double value) { return {Kind::Number, QString(), value}; }
    // The value as text: a number in its shortest form ("1", "1.5"), a boolean as TRUE or FALSE.
    QString asText() const;
    bool isEmpty() const { return kind == Kind::Empty; }
};

// One cell position, both counted from 1: "C3" is row 3, column 3.
struct CellRef {
    int row = 0;
    int column = 0;
};
// "C3", "Z3", "AA10"; std::nullopt for anything else or beyond the largest sheet.
std::optional<CellRef> ParseCellRef(QStringView ref);

class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;
    virtual QStringList sheetNames() const = 0;
    // Selects a worksheet by name, compared without regard to case as spreadsheet programs do.
    // False when there is none or it cannot be read; error() says why.
    virtual bool selectSheet(const QString& name) = 0;
    // A cell of the selected worksheet; empty outside the cells the sheet holds. False (and
    // error()) when the cell cannot be read.
    virtual bool cell(CellRef ref, CellValue& value) const = 0;

    const QString& error() const { return error_; }

protected:
    mutable QString error_;
};

struct Opened {
    std::unique_ptr<WorkbookReader> reader; // nullptr when the file cannot be read
    QString error;
};

// Opens a workbook by what the file holds (a zip archive or an .xls compound file), whatever
// its name ends with. Only a regular file is opened (links followed).
Opened OpenWorkbook(const QString& path);
Opened OpenXlsx(const QString& path);
Opened OpenXls(const QString& path);

// The cells an .xls reader would reserve for the file's sheets together (their declared sizes,
// added up), read from the file's bytes without reserving them. False, with why, when the file
// is no readable .xls or a sheet that holds cells does not declare its size.
bool XlsDeclaredCells(const QByteArray& file, qint64& cells, QString& why);
// Whether an XML part stays within kMaxXmlAttributes and kMaxXmlDepth, told from its bytes
// before any parser sees them.
bool XmlWithinBounds(const QByteArray& xml, QString& why);

} // namespace workbook
