#pragma once
// One examinee as stored: the fields of his IDE row and the responses of his Answer row. The
// scoring screen hands it to the profile screen; the group workbook reads many at once; the
// profile result is computed from it.
#include <QString>
#include <QStringList>
#include <optional>

namespace store {
class View;
}

namespace examinees {

struct ExamineeRecord {
    // The IDE row, each field as stored (no blanks taken off).
    QString code;          // Code
    QString givenName;     // FName
    QString familyName;    // LName
    QString sex;           // Jens
    QString age;           // Sen
    QString maritalStatus; // Taahol
    QString education;     // Tahsil
    QString group;         // Group
    QString date;          // Date
    QString time;          // Time
    QString interpretation; // TT1, the saved interpretation text

    // Items 1..71 in order, "" for an empty one; none without an Answer row.
    std::optional<QStringList> responses;

    friend bool operator==(const ExamineeRecord&, const ExamineeRecord&) = default;
};

// The two identity values that choose the norm table. The scoring screen lets the user correct
// them while the profile is open, so the profile asks for them again on every activation.
struct NormGroup {
    QString sex;
    QString education;
};

// The record of the current row of an IDE view and of an Answer view; a view without a current
// row leaves its part empty (no identity, or no responses).
ExamineeRecord RecordOfRows(const store::View& ide, const store::View& answer);

// The IDE columns a record is read from, in the order of ExamineeRecord's fields (Code first,
// TT1 last), and the record of their values in that order.
const QStringList& RecordColumns();
ExamineeRecord RecordOfValues(const QStringList& values);

} // namespace examinees
