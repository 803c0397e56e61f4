#pragma once
// What the printed report and the Word document carry, as plain values: the screens below
// the report hand these over; nothing here reads a screen or a table.
#include <QImage>
#include <QString>

namespace reports {

// The examinee's record as the scoring screen holds it, every value as stored text.
struct Identity {
    QString code;
    QString group;
    QString givenName;
    QString familyName;
    QString sex;
    QString age;
    QString maritalStatus;
    QString education;
    QString date; // registration date, Solar Hijri layout 0
};

struct ReportContent {
    QString clinicName;
    QImage logo;          // may be null
    bool logoOn = false;  // the logo switch; the logo is printed only when it is on
    QString identifierLabel; // the clinic's word for the examinee code
    QString title;           // the profile screen's title
    Identity identity;
    QString unanswered;      // the unanswered count exactly as the scoring screen shows it
    QImage profile;          // the photograph of the profile screen
    QString interpretation;  // the saved text, lines ending in CR LF
    QString address;
    QString contactLines;    // lines ending in CR LF
    // Where the scores came from (norm table, program version, check code of the answers): a
    // small line above the footer of every page; none when empty.
    QString provenance;
};

} // namespace reports
