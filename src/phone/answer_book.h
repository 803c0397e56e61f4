#pragma once
// What the phone page reads and writes in the data files, behind an interface so that the
// requests can be handled (and tested) without a server.
#include "store/result.h"

#include <QString>
#include <QStringList>

namespace phone {

// What the page of one examinee shows: nothing beyond his first name, and his own answers.
struct Sheet {
    QString clinic;        // the clinic's name from the settings row
    QString firstName;
    QStringList items;     // the 71 item texts
    QStringList responses; // the 71 stored response codes ("1", "2", "0" or empty)
};

class AnswerBook {
public:
    virtual ~AnswerBook() = default;
    virtual store::Result readSheet(const QString& code, Sheet& sheet) = 0;
    // Stores one response code in the examinee's Answer row; answered is then the number of
    // items the row holds a yes or a no for.
    virtual store::Result storeAnswer(const QString& code, int item, const QString& response, int& answered) = 0;
};

// Items answered yes or no in a row of response codes.
int AnsweredCount(const QStringList& responses);
// The first item (1 … 71) without a yes or a no; 0 when all are answered.
int FirstUnanswered(const QStringList& responses);
// The page's words for a stored response code and back: "1" yes, "2" no, anything else
// (empty, or "0" marked unanswered on paper) nothing.
QString PageAnswer(const QString& response);
// "yes" → "1", "no" → "2"; empty for anything else.
QString ResponseOfPageAnswer(const QString& answer);

} // namespace phone
