#include "profile/score_text.h"

namespace profile {

double ScoreNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    auto isDigit = [&](qsizetype k) { return k < n && text.at(k) >= QLatin1Char('0') && text.at(k) <= QLatin1Char('9'); };
    qsizetype digits = 0;
    while (isDigit(i))
        ++i, ++digits;
    if (i < n && text.at(i) == QLatin1Char('.')) {
        qsizetype j = i + 1;
        while (isDigit(j))
            ++j, ++digits;
        if (j > i + 1)
            i = j;
    }
    if (digits == 0)
        return 0.0;
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace profile
