#include "scoring/unanswered_items.h"
#include "scoring/scoring_key.h"
#include "scoring/scoring_texts.h"

namespace scoring {

QVector<int> UnansweredItems(const QStringList& responses)
{
    QVector<int> items;
    for (int item = 1; item <= kItemCount; ++item)
        if (item > responses.size() || responses.at(item - 1).isEmpty())
            items << item;
    return items;
}

QString UnansweredList(const QVector<int>& items)
{
    QString list;
    for (int item : items)
        list += QString::number(item) + QStringLiteral("  ");
    return list;
}

QString UnansweredWarning(const QVector<int>& items)
{
    return texts::kUnansweredIntro + QStringLiteral("\n\n") + UnansweredList(items);
}

} // namespace scoring
