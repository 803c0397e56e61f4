#include "profile/group_results.h"
#include "calendar/solar_hijri.h"
#include "capture/test_texts.h"
#include "profile/code_types.h"
#include "profile/profile_screen_texts.h"
#include "profile/ranking.h"
#include "scoring/leading_number.h"
#include "scoring/scoring_key.h"
#include "scoring/unanswered_items.h"
#include "store/schema.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace profile {

GroupResult ComputeGroupResult(const GroupMember& member, const NormTables& norms)
{
    GroupResult out;
    out.member = member;
    out.member.responses.reset(); // the row carries what it shows, not the 71 responses
    out.interpretationSaved = !member.interpretation.trimmed().isEmpty();

    const QStringList responses = member.responses.value_or(QStringList());
    const QVector<int> empty = scoring::UnansweredItems(responses);
    out.unanswered = int(empty.size());
    if (empty.size() == store::kItemCount) {
        out.note = group_texts::kNoResponses;
        return out;
    }
    out.rawScores = scoring::RawScoreTexts(responses);

    const QString table = SelectNormTable(member.sex, member.education);
    if (table.isEmpty()) {
        out.note = screen_texts::NoNormGroup(member.sex, member.education);
        return out;
    }
    const NormChoice choice = norms ? norms(table) : NormChoice{{}, screen_texts::kNormTableUnreadable};
    if (!choice.lookup) {
        out.note = choice.problem.isEmpty() ? screen_texts::kNormTableUnreadable : choice.problem;
        return out;
    }
    out.tScores = ConvertToTScores(out.rawScores, choice.lookup);

    QStringList missing;
    ScaleTexts t;
    for (int i = 0; i < store::kScaleCount; ++i) {
        t[std::size_t(i)] = out.tScores.at(i);
        if (!LeadingNumber(out.tScores.at(i)))
            missing << QString::fromLatin1(store::kScaleNames[std::size_t(i)]);
    }
    // As on the profile screen: no ranking from T scores that are not all there.
    if (!missing.isEmpty()) {
        out.note = screen_texts::NoTScore(missing, table);
        return out;
    }
    const RankingTable ranking = RankScales(t).table;
    out.twoPointCode = twoPointCode(ranking);
    out.threePointCode = threePointCode(ranking);
    return out;
}

struct GroupNormTables::Table {
    std::unique_ptr<NormSource> source;
    QHash<QString, std::optional<QStringList>> rows; // by raw-score text, as read
    QString problem;
};

GroupNormTables::GroupNormTables(QString normsFilePath, std::function<QString(const QString&)> damaged)
    : path_(std::move(normsFilePath))
    , damaged_(std::move(damaged))
{
}

GroupNormTables::~GroupNormTables() = default;

NormChoice GroupNormTables::choose(const QString& table)
{
    std::shared_ptr<Table>& entry = tables_[table];
    if (!entry) {
        entry = std::make_shared<Table>();
        if (const QString why = damaged_ ? damaged_(table) : QString(); !why.isEmpty()) {
            entry->problem = why;
        } else {
            entry->source = std::make_unique<NormSource>(path_);
            if (const store::Result r = entry->source->select(table); !r) {
                entry->problem = screen_texts::kNormTableUnreadable;
                if (readError_.isEmpty())
                    readError_ = table + QStringLiteral(": ") + r.error;
            }
        }
    }
    if (!entry->problem.isEmpty())
        return {{}, entry->problem};
    Table* t = entry.get();
    return {[this, t, table](const QString& raw) -> std::optional<QStringList> {
                if (const auto it = t->rows.constFind(raw); it != t->rows.constEnd())
                    return *it;
                const QString before = t->source->lastError();
                std::optional<QStringList> row = t->source->row(raw);
                if (t->source->lastError() != before) {
                    // A failed read is not "no such row": it is kept out of the cache and told.
                    if (readError_.isEmpty())
                        readError_ = table + QStringLiteral(": ") + t->source->lastError();
                    return std::nullopt;
                }
                t->rows.insert(raw, row);
                return row;
            },
            {}};
}

NormTables GroupNormTables::tables()
{
    return [this](const QString& table) { return choose(table); };
}

workbook::CellValue CellOf(const QString& text)
{
    // Up to 15 significant digits a double holds exactly; no leading zero, no trailing zero
    // after a point, no blanks: what is shown is what was stored.
    static const QRegularExpression exact(QStringLiteral("^-?(0|[1-9][0-9]{0,14})(\\.[0-9]{0,5}[1-9])?$"));
    if (text != QLatin1String("-0") && exact.match(text).hasMatch()) {
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
    sheet_.name = kSheetName;
    sheet_.rightToLeft = true;
    sheet_.boldFirstRow = true;
    sheet_.freezeFirstRow = true;
    sheet_.landscapeFitToWidth = true; // a supervisor's printout: every column on the page
    sheet_.centred = true;
    sheet_.wrappedColumns = {kColNote};
    const QStringList identity{identifierLabel,     kHeaderGivenName, kHeaderFamilyName, kHeaderGroup,
                               kHeaderSex,          kHeaderAge,       kHeaderMaritalStatus,
                               kHeaderEducation,    kHeaderDate,      kHeaderTime,
                               kHeaderUnanswered};
    const QList<double> widths{10, 12, 16, 7, 7, 6, 12, 14, 14, 10, 12};
    for (int c = 0; c < identity.size(); ++c) {
        sheet_.setText(1, kColCode + c, identity.at(c));
        sheet_.columnWidths[kColCode + c] = widths.at(c);
    }
    for (int i = 0; i < store::kScaleCount; ++i) {
        const QString scale = QString::fromLatin1(store::kScaleNames[std::size_t(i)]);
        sheet_.setText(1, kColRaw + i, kHeaderRawPrefix + scale);
        sheet_.setText(1, kColT + i, kHeaderTPrefix + scale);
        sheet_.columnWidths[kColRaw + i] = 7;
        sheet_.columnWidths[kColT + i] = 7;
    }
    sheet_.setText(1, kColTwoPoint, kHeaderTwoPoint);
    sheet_.setText(1, kColThreePoint, kHeaderThreePoint);
    sheet_.setText(1, kColSaved, kHeaderSaved);
    sheet_.setText(1, kColNote, kHeaderNote);
    sheet_.columnWidths[kColTwoPoint] = 12;
    sheet_.columnWidths[kColThreePoint] = 12;
    sheet_.columnWidths[kColSaved] = 13;
    sheet_.columnWidths[kColNote] = kNoteWidth;
    sheet_.rowHeights[1] = linesHeight(2); // the longer headings take two lines
}

void GroupSheet::add(const GroupResult& result)
{
    const int row = next_++;
    QMap<int, workbook::CellValue>& cells = sheet_.rows[row];
    const GroupMember& m = result.member;
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
    sheet_.rowHeights[row] = linesHeight(lines);
}

QString GroupWorkbookName(const QDate& date)
{
    return group_texts::kWorkbookNameStart + ToSolarHijri(date, 0).replace(QLatin1Char('/'), QLatin1Char('-'))
           + QStringLiteral(".xlsx");
}

} // namespace profile
