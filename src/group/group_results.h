#pragma once
// The results of many examinees side by side, one row each, for a workbook: identity, unanswered
// count, raw scores, T scores, code types and whether an interpretation has been saved. Every
// value comes from the profile result the profile screen shows.
#include "capture/xlsx_writer.h"
#include "examinees/examinee_record.h"
#include "profile/norm_conversion.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace group {

struct GroupResult {
    examinees::ExamineeRecord member; // as stored (responses left out)
    int unanswered = 0;               // empty responses, a missing Answer row counting all 71
    QStringList rawScores;            // eleven decimal texts; empty without any response
    QString normTable;                // the norm table of the T scores; empty without one
    QStringList tScores;              // eleven T texts (some may be empty); empty without a table
    QString twoPointCode;             // only when all eleven T scores are there
    std::optional<QString> threePointCode;
    bool interpretationSaved = false;
    QString note;                     // why scores are missing; empty when all are there
    QString provenance;               // the profile result's line: norm table, version, check code
};

// The row of one examinee: his profile result (profile/profile_result.h), with the scores left
// out when he has given no response at all.
GroupResult ComputeGroupResult(const examinees::ExamineeRecord& member, const profile::NormTables& norms);

// The worksheet: a bold header row (the examinee code headed by the identifier label), then one
// row per result in the order given; read from the right. Numbers are number cells. The rows are
// made one at a time, for a writer that streams them.
class GroupSheet {
public:
    explicit GroupSheet(const QString& identifierLabel);
    // The sheet's layout with its header row.
    const workbook::SheetToWrite& layout() const { return layout_; }

    struct Row {
        int number = 0; // in the sheet, from 2
        QMap<int, workbook::CellValue> cells;
        double height = 0; // points
    };
    // The row of the next result.
    Row next(const GroupResult& result);
    int rows() const { return next_ - 2; }

private:
    workbook::SheetToWrite layout_;
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
inline const QString kHeaderProvenance = QStringLiteral("منشا نمره ها");
inline const QString kNoResponses = QStringLiteral("پاسخي از اين آزمودني ثبت نشده است.");
inline const QString kWorkbookNameStart = QStringLiteral("نتايج گروه ");
} // namespace group_texts

} // namespace group
