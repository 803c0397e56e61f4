#pragma once
// The items an examinee left empty, and the warning that lists them.
#include <QString>
#include <QStringList>
#include <QVector>

namespace scoring {

// Item numbers (1..71, ascending) whose response is exactly empty. A "0" is not empty.
// Missing responses count as empty.
QVector<int> UnansweredItems(const QStringList& responses);

// Each item number followed by two blanks: "3  17  70  ".
QString UnansweredList(const QVector<int>& items);

// The warning's text: the intro, two line breaks, then the list.
QString UnansweredWarning(const QVector<int>& items);

} // namespace scoring
