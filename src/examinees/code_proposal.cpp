#include "examinees/code_proposal.h"

QString NextCode(const QString& code)
{
    int i = 0;
    while (i < code.size() && code.at(i).isSpace())
        ++i;
    QString digits;
    for (; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        if (digits.isEmpty() && c == QLatin1Char('0'))
            continue; // "007" is 7
        digits += c;
    }
    if (digits.isEmpty())
        return QStringLiteral("1");
    // Add one from the last digit, carrying over the nines.
    int pos = digits.size() - 1;
    while (pos >= 0 && digits.at(pos) == QLatin1Char('9')) {
        digits[pos] = QLatin1Char('0');
        --pos;
    }
    if (pos < 0)
        digits.prepend(QLatin1Char('1'));
    else
        digits[pos] = QChar(digits.at(pos).unicode() + 1);
    return digits;
}

namespace {

constexpr int kLongestCounted = 18; // decimal digits that qint64 arithmetic holds with room to add

qint64 powerOfTen(int digits)
{
    qint64 p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p;
}

} // namespace

std::optional<QString> ProposeCode(const QString& lastCode, const CountTakenCodes& countTaken)
{
    auto taken = [&](qint64 lo, qint64 hi) { return countTaken(QString::number(lo), QString::number(hi)); };
    QString code = NextCode(lastCode);
    if (code.size() <= kLongestCounted) {
        qint64 lo = code.toLongLong();
        // Numbers of one length sort as their texts do: go through the lengths one by one.
        for (int digits = int(code.size()); digits <= kLongestCounted; ++digits) {
            const qint64 last = powerOfTen(digits) - 1;
            for (qint64 size = 1; lo <= last; size *= 2) {
                qint64 hi = std::min(last, lo + size - 1);
                const std::optional<qint64> n = taken(lo, hi);
                if (!n)
                    return std::nullopt;
                if (*n == hi - lo + 1) {
                    lo = hi + 1; // all taken: on to a range twice as long
                    continue;
                }
                while (lo < hi) { // a free code lies in lo..hi, and all before lo are taken
                    const qint64 mid = lo + (hi - lo) / 2;
                    const std::optional<qint64> m = taken(lo, mid);
                    if (!m)
                        return std::nullopt;
                    if (*m == mid - lo + 1)
                        lo = mid + 1;
                    else
                        hi = mid;
                }
                return QString::number(lo);
            }
        }
        code = QString::number(lo);
    }
    // Beyond what is counted in ranges: one code at a time.
    for (;; code = NextCode(code)) {
        const std::optional<qint64> n = countTaken(code, code);
        if (!n)
            return std::nullopt;
        if (*n == 0)
            return code;
    }
}
