#include "group/group_results.h"
#include "calendar/solar_hijri.h"
#include "capture/test_texts.h"
#include "profile/profile_result.h"
#include "scoring/leading_number.h"
#include "store/schema.h"

#include <algorithm>
#include <cmath>

namespace group {

GroupResult ComputeGroupResult(const examinees::ExamineeRecord& member, const profile::NormTables& norms)
{
    const profile::ProfileResult scores = profile::ComputeProfileResult(member, norms);
    GroupResult out;
    out.member = member;
    out.member.responses.reset(); // the row carries what it shows, not the 71 responses
    out.interpretationSaved = !member.interpretation.trimmed().isEmpty();
    out.unanswered = scores.unanswered;
    out.provenance = scores.provenance;
    if (scores.unanswered == store::kItemCount) {
        out.note = group_texts::kNoResponses;
        return out;
    }
    out.rawScores = scores.rawScores;
    out.normTable = scores.normTable;
    if (!scores.normTable.isEmpty())
        out.tScores = scores.tScores;
    out.note = scores.problem;
    if (scores.interpretable()) {
        out.twoPointCode = scores.reading.twoPointCode;
        out.threePointCode = scores.reading.threePointCode;
    }
    return out;
}

namespace {

// Whether the text is exactly how the number is written: up to 15 significant digits a double
// holds exactly; no leading zero, no trailing zero after a point, no blanks, never "-0".
bool writtenAsNumber(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && text[i] == u'-')
        ++i;
    const qsizetype intStart = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || intDigits > 15 || (intDigits > 1 && text[intStart] == u'0'))
        return false;
    if (i == text.size())
        return !(intStart == 1 && text[intStart] == u'0'); // "-0"
    if (text[i] != u'.')
        return false;
    const qsizetype fracStart = ++i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    const qsizetype fracDigits = i - fracStart;
    return i == text.size() && fracDigits >= 1 && fracDigits <= 6 && text[i - 1] != u'0';
}

} // namespace

workbook::CellValue CellOf(const QString& text)
{
    // What is shown is what was stored.
    if (writtenAsNumber(text)) {
        if (const std::optional<double> v = ParseNumber(text))
            return workbook::CellValue::fromNumber(*v);
    }
    return workbook::CellValue::fromText(text);
}

namespace {

// Columns, from the right of the sheet.
constexpr int kColCode = 1;
constexpr int kColUnanswered = 11;
constexpr int kColRaw = 12;                              // 11 raw scores
constexpr int kColT = kColRaw + store::kScaleCount;      // 11 T scores
constexpr int kColTwoPoint = kColT + store::kScaleCount;
constexpr int kColThreePoint = kColTwoPoint + 1;
constexpr int kColSaved = kColThreePoint + 1;
constexpr int kColNote = kColSaved + 1;
constexpr int kColProvenance = kColNote + 1;
constexpr double kNoteWidth = 48; // characters

// Heights in points of rows of 11-point text: one line, and each further line.
constexpr double kLineHeight = 16;
double linesHeight(int lines)
{
    return kLineHeight * std::max(1, lines);
}

} // namespace

GroupSheet::GroupSheet(const QString& identifierLabel)
{
    using namespace group_texts;
    layout_.name = kSheetName;
    layout_.rightToLeft = true;
    layout_.boldFirstRow = true;
    layout_.freezeFirstRow = true;
    layout_.landscapeFitToWidth = true; // a supervisor's printout: every column on the page
    layout_.centred = true;
    layout_.wrappedColumns = {kColNote};
    const QStringList identity{identifierLabel,     kHeaderGivenName, kHeaderFamilyName, kHeaderGroup,
                               kHeaderSex,          kHeaderAge,       kHeaderMaritalStatus,
                               kHeaderEducation,    kHeaderDate,      kHeaderTime,
                               kHeaderUnanswered};
    const QList<double> widths{10, 12, 16, 7, 7, 6, 12, 14, 14, 10, 12};
    for (int c = 0; c < identity.size(); ++c) {
        layout_.setText(1, kColCode + c, identity.at(c));
        layout_.columnWidths[kColCode + c] = widths.at(c);
    }
    for (int i = 0; i < store::kScaleCount; ++i) {
        const QString scale = QString::fromLatin1(store::kScaleNames[std::size_t(i)]);
        layout_.setText(1, kColRaw + i, kHeaderRawPrefix + scale);
        layout_.setText(1, kColT + i, kHeaderTPrefix + scale);
        layout_.columnWidths[kColRaw + i] = 7;
        layout_.columnWidths[kColT + i] = 7;
    }
    layout_.setText(1, kColTwoPoint, kHeaderTwoPoint);
    layout_.setText(1, kColThreePoint, kHeaderThreePoint);
    layout_.setText(1, kColSaved, kHeaderSaved);
    layout_.setText(1, kColNote, kHeaderNote);
    layout_.columnWidths[kColTwoPoint] = 12;
    layout_.columnWidths[kColThreePoint] = 12;
    layout_.columnWidths[kColSaved] = 13;
    layout_.columnWidths[kColNote] = kNoteWidth;
    layout_.setText(1, kColProvenance, kHeaderProvenance);
    layout_.columnWidths[kColProvenance] = 60;
    layout_.rowHeights[1] = linesHeight(2); // the longer headings take two lines
}

GroupSheet::Row GroupSheet::next(const GroupResult& result)
{
    Row out;
    out.number = next_++;
    QMap<int, workbook::CellValue>& cells = out.cells;
    const examinees::ExamineeRecord& m = result.member;
    const QStringList identity{m.code, m.givenName, m.familyName, m.group, m.sex, m.age,
                               m.maritalStatus, m.education, m.date, m.time};
    for (int c = 0; c < identity.size(); ++c) {
        const QString& text = identity.at(c);
        if (text.isEmpty())
            continue;
        // Only the code and the age are quantities; a name or a group that looks like a number
        // stays the text it was typed as.
        const bool number = c == 0 || c == 5;
        cells.insert(kColCode + c, number ? CellOf(text) : workbook::CellValue::fromText(text));
    }
    cells.insert(kColUnanswered, workbook::CellValue::fromNumber(result.unanswered));
    for (int i = 0; i < result.rawScores.size() && i < store::kScaleCount; ++i)
        cells.insert(kColRaw + i, CellOf(result.rawScores.at(i)));
    for (int i = 0; i < result.tScores.size() && i < store::kScaleCount; ++i) {
        if (!result.tScores.at(i).isEmpty())
            cells.insert(kColT + i, CellOf(result.tScores.at(i)));
    }
    // Code types are names, not quantities.
    if (!result.twoPointCode.isEmpty())
        cells.insert(kColTwoPoint, workbook::CellValue::fromText(result.twoPointCode));
    if (result.threePointCode)
        cells.insert(kColThreePoint, workbook::CellValue::fromText(*result.threePointCode));
    cells.insert(kColSaved, workbook::CellValue::fromText(result.interpretationSaved ? texts::kYes : texts::kNo));
    // Every row gets its height: the one a program gives by default is too low for Persian
    // letters in some fonts. Persian letters are narrower than the digit the note's width counts
    // in, so a line holds at least that many of them.
    int lines = 1;
    if (!result.note.isEmpty()) {
        cells.insert(kColNote, workbook::CellValue::fromText(result.note));
        lines = int(std::ceil(result.note.size() / kNoteWidth));
    }
    if (!result.provenance.isEmpty())
        cells.insert(kColProvenance, workbook::CellValue::fromText(result.provenance));
    out.height = linesHeight(lines);
    return out;
}

QString GroupWorkbookName(const QDate& date)
{
    return group_texts::kWorkbookNameStart + ToSolarHijri(date, 0).replace(QLatin1Char('/'), QLatin1Char('-'))
           + QStringLiteral(".xlsx");
}

} // namespace group
