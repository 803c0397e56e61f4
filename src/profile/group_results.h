#pragma once
// The results of many examinees side by side, one row each, for a workbook: identity, unanswered
// count, raw scores, T scores, code types and whether an interpretation has been saved. Every
// score comes from the functions the scoring and profile screens use.
#include "capture/xlsx_writer.h"
#include "profile/norm_conversion.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace profile {

// One examinee as stored: the IDE row and the responses of his Answer row.
struct GroupMember {
    QString code, givenName, familyName, group, sex, age, maritalStatus, education, date, time;
    QString interpretation;               // TT1
    std::optional<QStringList> responses; // items 1..71; none without an Answer row
};

// A norm table as the export may use it: a lookup, or why there is none.
struct NormChoice {
    NormLookup lookup;
    QString problem; // why there are no T scores from this table (empty with a lookup)
};
// The choice for a table name of SelectNormTable.
using NormTables = std::function<NormChoice(const QString& table)>;

struct GroupResult {
    GroupMember member;               // as stored (responses left out)
    int unanswered = 0;               // empty responses, a missing Answer row counting all 71
    QStringList rawScores;            // eleven decimal texts; empty without any response
    QStringList tScores;              // eleven T texts (some may be empty); empty without a table
    QString twoPointCode;             // only when all eleven T scores are there
    std::optional<QString> threePointCode;
    bool interpretationSaved = false;
    QString note;                     // why scores are missing; empty when all are there
};

// The row of one examinee. Raw scores as the scoring screen computes them; T scores with the
// norm table of his sex and education as the profile screen converts them; the code types as the
// interpretation panel ranks them, only when the profile screen would let it (every T there).
GroupResult ComputeGroupResult(const GroupMember& member, const NormTables& norms);

// The norm tables of the norms file, each opened once on first use and each raw score looked up
// once; a table found damaged at start-up (damaged(table) not empty) gives no T scores, as on
// the profile screen.
class GroupNormTables {
public:
    GroupNormTables(QString normsFilePath, std::function<QString(const QString& table)> damaged);
    ~GroupNormTables();
    GroupNormTables(const GroupNormTables&) = delete;
    GroupNormTables& operator=(const GroupNormTables&) = delete;

    NormChoice choose(const QString& table);
    NormTables tables(); // choose() as NormTables, valid while this lives
    // The first read of a norm table that failed (the table name and why); T scores computed
    // since it failed are not to be trusted. Empty while every read worked.
    const QString& readError() const { return readError_; }

private:
    struct Table;
    QString path_;
    std::function<QString(const QString&)> damaged_;
    QHash<QString, std::shared_ptr<Table>> tables_;
    QString readError_;
};

// The worksheet: a bold header row (the examinee code headed by the identifier label), then one
// row per result in the order given; read from the right. Numbers are number cells.
class GroupSheet {
public:
    explicit GroupSheet(const QString& identifierLabel);
    void add(const GroupResult& result);
    int rows() const { return next_ - 2; }
    const workbook::SheetToWrite& sheet() const { return sheet_; }

private:
    workbook::SheetToWrite sheet_;
    int next_ = 2;
};

// A stored text as a cell: a number cell when the text is exactly how the number is written
// ("65", "61.5", "-3"), otherwise the text as it stands ("007", " 12", "1401/05/30").
workbook::CellValue CellOf(const QString& text);

// The proposed workbook name, after the Solar Hijri date: "نتايج گروه 1401-05-30.xlsx".
QString GroupWorkbookName(const QDate& date);

namespace group_texts {
inline const QString kSheetName = QStringLiteral("نتايج گروه");
inline const QString kHeaderGivenName = QStringLiteral("نام");
inline const QString kHeaderFamilyName = QStringLiteral("نام خانوادگي");
inline const QString kHeaderGroup = QStringLiteral("گروه");
inline const QString kHeaderSex = QStringLiteral("جنس");
inline const QString kHeaderAge = QStringLiteral("سن");
inline const QString kHeaderMaritalStatus = QStringLiteral("وضعيت تاهل");
inline const QString kHeaderEducation = QStringLiteral("تحصيلات");
inline const QString kHeaderDate = QStringLiteral("تاريخ اجراي آزمون");
inline const QString kHeaderTime = QStringLiteral("ساعت");
inline const QString kHeaderUnanswered = QStringLiteral("تعداد سوالات بدون پاسخ");
inline const QString kHeaderRawPrefix = QStringLiteral("خام "); // "خام L"
inline const QString kHeaderTPrefix = QStringLiteral("T ");     // "T L"
inline const QString kHeaderTwoPoint = QStringLiteral("کد دو نقطه اي");
inline const QString kHeaderThreePoint = QStringLiteral("کد سه نقطه اي");
inline const QString kHeaderSaved = QStringLiteral("تفسير ذخيره شده");
inline const QString kHeaderNote = QStringLiteral("توضيح");
inline const QString kNoResponses = QStringLiteral("پاسخي از اين آزمودني ثبت نشده است.");
inline const QString kWorkbookNameStart = QStringLiteral("نتايج گروه ");
} // namespace group_texts

} // namespace profile
