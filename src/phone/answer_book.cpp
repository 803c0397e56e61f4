#include "phone/answer_book.h"
#include "store/schema.h"

#include <algorithm>

namespace phone {

int AnsweredCount(const QStringList& responses)
{
    return int(std::count_if(responses.cbegin(), responses.cend(), [](const QString& r) { return !PageAnswer(r).isEmpty(); }));
}

int FirstUnanswered(const QStringList& responses)
{
    for (int item = 1; item <= store::kItemCount; ++item)
        if (PageAnswer(responses.value(item - 1)).isEmpty())
            return item;
    return 0;
}

QString PageAnswer(const QString& response)
{
    if (response == QLatin1String("1"))
        return QStringLiteral("yes");
    if (response == QLatin1String("2"))
        return QStringLiteral("no");
    return {};
}

QString ResponseOfPageAnswer(const QString& answer)
{
    if (answer == QLatin1String("yes"))
        return QStringLiteral("1");
    if (answer == QLatin1String("no"))
        return QStringLiteral("2");
    return {};
}

} // namespace phone
