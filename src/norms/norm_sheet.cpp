#include "norms/norm_sheet.h"
#include "capture/workbook_reader.h"
#include "norms/norm_texts.h"
#include "store/schema.h"

#include <QLocale>
#include <cmath>

namespace norms {

namespace {

using workbook::CellValue;

// A number as a cell holds it, or typed as text (in Persian digits too).
std::optional<double> numberIn(const CellValue& cell)
{
    if (cell.kind == CellValue::Kind::Number)
        return std::isfinite(cell.number) ? std::optional<double>(cell.number) : std::nullopt;
    if (cell.kind != CellValue::Kind::Text)
        return std::nullopt;
    QString text = cell.text.trimmed();
    for (QChar& c : text) {
        if (c.unicode() >= 0x06F0 && c.unicode() <= 0x06F9)
            c = QChar(u'0' + (c.unicode() - 0x06F0));
        else if (c.unicode() >= 0x0660 && c.unicode() <= 0x0669)
            c = QChar(u'0' + (c.unicode() - 0x0660));
        else if (c.unicode() == 0x066B)
            c = u'.';
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString scaleHeading(int scale)
{
    return QString::fromLatin1(store::kScaleNames[std::size_t(scale)]);
}

} // namespace

QString CellName(int row, int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row);
}

QString SheetProblem::text() const
{
    return cell.isEmpty() ? texts::kWhereSheet.arg(sheet, what) : texts::kWhereInSheet.arg(sheet, cell, what);
}

workbook::SheetToWrite NormSheet(const NormTableData& table)
{
    using namespace layout;
    workbook::SheetToWrite sheet;
    sheet.name = table.table;
    sheet.rightToLeft = true;
    sheet.boldFirstRow = true;
    sheet.columnWidths.insert(kRawColumn, 12);
    for (int s = 0; s < store::kScaleCount; ++s)
        sheet.columnWidths.insert(kValueColumn + s, 7);

    const NormGroup* group = FindNormGroup(table.table);
    sheet.setText(kTitleRow, 1, texts::kSheetTitle);
    sheet.setText(kTitleRow, 2, group ? group->label() : table.table);
    if (table.description.delivered)
        sheet.setText(kTitleRow, 4, texts::kProvisional);
    sheet.setText(kNameRow, 1, texts::kNameCaption);
    sheet.setText(kNameRow, 2, table.description.name);
    sheet.setText(kSourceRow, 1, texts::kSourceCaption);
    sheet.setText(kSourceRow, 2, table.description.source);
    sheet.setText(kChangedRow, 1, texts::kChangedCaption);
    sheet.setText(kChangedRow, 2, table.description.changed);
    sheet.setText(kNoteRow, 1, texts::kSheetNote.arg(kLowestT).arg(kHighestT));

    sheet.setText(kHeaderRow, kRawColumn, texts::kRawCaption);
    for (int s = 0; s < store::kScaleCount; ++s)
        sheet.setText(kHeaderRow, kValueColumn + s, scaleHeading(s));
    for (int raw = 0; raw <= HighestRawScore(); ++raw) {
        const int row = kFirstRawRow + raw;
        sheet.setNumber(row, kRawColumn, raw);
        for (int s = 0; s < store::kScaleCount; ++s) {
            if (raw > ScaleMaximum(s))
                continue; // never read: left empty, so nobody fills it in vain
            const QString t = table.values.value(raw).value(s);
            bool whole = false;
            const int value = t.toInt(&whole);
            if (whole)
                sheet.setNumber(row, kValueColumn + s, value);
            else if (!t.isEmpty())
                sheet.setText(row, kValueColumn + s, t); // shown as it is; it is refused on import
        }
    }
    return sheet;
}

NormSheetCheck CheckNormSheet(const QString& table, const CellGrid& cells)
{
    using namespace layout;
    NormSheetCheck out;
    auto at = [&cells](int row, int column) { return cells.value(row).value(column); };
    auto fail = [&](int row, int column, const QString& what) {
        out.problem = {table, CellName(row, column), what};
        return out;
    };

    // The headings first: a column moved or deleted would put every T under the wrong scale.
    for (int s = 0; s < store::kScaleCount; ++s) {
        const QString found = at(kHeaderRow, kValueColumn + s).asText().trimmed();
        if (found.compare(scaleHeading(s), Qt::CaseInsensitive) != 0)
            return fail(kHeaderRow, kValueColumn + s, texts::kWrongHeader.arg(scaleHeading(s), found));
    }
    NormTableData data;
    data.table = table;
    data.description.name = at(kNameRow, 2).asText().trimmed();
    data.description.source = at(kSourceRow, 2).asText().trimmed();
    if (data.description.name.isEmpty())
        return fail(kNameRow, 2, texts::kNoName);
    if (data.description.name.size() > kLongestName)
        return fail(kNameRow, 2, texts::kLongName.arg(kLongestName));
    if (data.description.source.isEmpty())
        return fail(kSourceRow, 2, texts::kNoSource);

    for (int raw = 0; raw <= HighestRawScore(); ++raw) {
        const int row = kFirstRawRow + raw;
        const CellValue rawCell = at(row, kRawColumn);
        if (numberIn(rawCell) != double(raw))
            return fail(row, kRawColumn, texts::kMissingRaw.arg(raw).arg(rawCell.asText()));
        QStringList values;
        for (int s = 0; s < store::kScaleCount; ++s) {
            if (raw > ScaleMaximum(s)) {
                values << QString();
                continue;
            }
            const int column = kValueColumn + s;
            const CellValue cell = at(row, column);
            if (cell.isEmpty() || (cell.kind == CellValue::Kind::Text && cell.text.trimmed().isEmpty()))
                return fail(row, column, texts::kEmptyT.arg(scaleHeading(s)).arg(raw));
            const std::optional<double> t = numberIn(cell);
            if (!t)
                return fail(row, column, texts::kNotANumber.arg(cell.asText()));
            if (*t != std::floor(*t))
                return fail(row, column, texts::kFractionalT.arg(cell.asText()));
            if (*t < kLowestT || *t > kHighestT)
                return fail(row, column, texts::kTOutOfRange.arg(cell.asText()).arg(kLowestT).arg(kHighestT));
            const int whole = int(*t);
            if (raw > 0 && whole < data.values.last().at(s).toInt())
                return fail(row, column, texts::kFallingT.arg(whole).arg(raw - 1).arg(data.values.last().at(s)));
            values << QString::number(whole);
        }
        data.values << values;
    }
    out.table = data;
    return out;
}

NormWorkbookRead ReadNormWorkbook(const QString& path, const QStringList& tables)
{
    using namespace layout;
    NormWorkbookRead out;
    workbook::Opened opened = workbook::OpenWorkbook(path);
    if (!opened.reader) {
        out.error = opened.error.isEmpty() ? texts::kUnreadableWorkbook : opened.error;
        return out;
    }
    const int lastRow = kFirstRawRow + HighestRawScore();
    const int lastColumn = kValueColumn + store::kScaleCount - 1;
    for (const QString& table : tables) {
        if (!opened.reader->selectSheet(table)) {
            out.problem = SheetProblem{table, QString(), texts::kNoSheet.arg(table)};
            out.tables.clear();
            return out;
        }
        CellGrid cells;
        for (int row = 1; row <= lastRow; ++row) {
            for (int column = 1; column <= lastColumn; ++column) {
                workbook::CellValue value;
                if (!opened.reader->cell({row, column}, value)) {
                    out.error = opened.reader->error();
                    out.tables.clear();
                    return out;
                }
                if (!value.isEmpty())
                    cells[row][column] = value;
            }
        }
        NormSheetCheck checked = CheckNormSheet(table, cells);
        if (!checked.table) {
            out.problem = checked.problem;
            out.tables.clear();
            return out;
        }
        out.tables << *checked.table;
    }
    return out;
}

} // namespace norms
