#pragma once
// The answer workbook: where its responses are, how it is recognised, and how its values become
// response codes.
#include "kit/publisher.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace workbook {

// The worksheet that holds the responses is named after the publisher's web domain.
QString AnswerSheetName(const PublisherAddresses& publisher);
// Where the blank workbook is offered for download.
QUrl BlankWorkbookAddress(const PublisherAddresses& publisher);
// The text of the box shown when a file is not a usable workbook.
QString UnusableFileText(const PublisherAddresses& publisher);

// The file name the blank workbook has in the program folder.
QString BlankWorkbookFileName();

// The cell of an item's response: C3 for item 1 … C73 for item 71; the marker is in Z3.
constexpr int kResponseColumn = 3;
constexpr int kFirstResponseRow = 3;
constexpr int kMarkerRow = 3;
constexpr int kMarkerColumn = 26;

// The response code stored for a workbook value: numeric 1 gives "1", 2 gives "2"; 0, an empty
// cell, a word, and any other number (3, 1.5, -1) give an empty response.
QString StoredResponse(const QString& workbookValue);

struct AnswerWorkbook {
    enum class Outcome { Read, WrongMarker, Unreadable };
    Outcome outcome = Outcome::Unreadable;
    QStringList values; // the 71 values as text, when read
    QString detail;     // why a file was unreadable (for the developer, never shown)
};

// Opens the workbook, finds the answer worksheet and reads the marker and the 71 values.
AnswerWorkbook ReadAnswerWorkbook(const QString& path, const QString& sheetName);

} // namespace workbook
