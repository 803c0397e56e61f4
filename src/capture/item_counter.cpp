#include "capture/item_counter.h"

#include <limits>

int CounterValue(const QString& text)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min(limit, value * 10 + (c.unicode() - '0'));
    }
    if (negative)
        return int(std::max(-value, qint64(std::numeric_limits<int>::min())));
    return int(std::min(value, qint64(std::numeric_limits<int>::max())));
}

ItemCounterOutcome ShowItemFor(const QString& counterText)
{
    ItemCounterOutcome out;
    out.counterText = counterText;
    if (counterText.isEmpty()) {
        out.clearItemText = true;
        out.counterText = QStringLiteral("1");
    }
    const int n = CounterValue(out.counterText);
    if (n < 0) {
        out.notice = ItemCounterOutcome::Notice::Start;
        out.counterText = QStringLiteral("1");
        out.item = 1;
    } else if (n == 0) {
        // A resting state: nothing new is shown.
    } else if (n > kItemCount) {
        out.storeResponses = true;
        out.notice = ItemCounterOutcome::Notice::End;
        out.counterText = QString::number(kItemCount);
        out.item = kItemCount;
    } else {
        out.item = n;
    }
    return out;
}

QString SteppedCounter(const QString& counterText, int step)
{
    return QString::number(qint64(CounterValue(counterText)) + step);
}
