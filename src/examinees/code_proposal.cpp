#include "examinees/code_proposal.h"

#include <algorithm>

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

qint64 largestOfLength(int digits)
{
    qint64 p = 1;
    for (int i = 0; i < digits; ++i)
        p *= 10;
    return p - 1;
}

} // namespace

CodeSearch::CodeSearch(const QString& lastCode)
{
    const QString first = NextCode(lastCode);
    if (first.size() > kLongestCounted) {
        phase_ = Phase::OneByOne; // beyond what is counted in ranges
        code_ = first;
        return;
    }
    // Numbers of one length sort as their texts do: the lengths are gone through one by one.
    digits_ = int(first.size());
    lo_ = first.toLongLong();
    hi_ = lo_;
}

std::optional<std::pair<QString, QString>> CodeSearch::question() const
{
    switch (phase_) {
    case Phase::Growing:
    case Phase::Halving:
        return std::pair(QString::number(lo_), QString::number(hi_));
    case Phase::OneByOne:
        return std::pair(code_, code_);
    case Phase::Done:
        break;
    }
    return std::nullopt;
}

void CodeSearch::answer(qint64 taken)
{
    switch (phase_) {
    case Phase::Growing:
        if (taken == hi_ - lo_ + 1) { // all taken: on to a longer range
            lo_ = hi_ + 1;
            size_ = std::min(size_ * 2, kLargestRange);
            grow();
        } else if (lo_ == hi_) {
            finish(QString::number(lo_));
        } else { // a free code lies in lo_ .. hi_, and all before lo_ are taken
            phase_ = Phase::Halving;
            free_ = hi_;
            hi_ = lo_ + (free_ - lo_) / 2;
        }
        break;
    case Phase::Halving:
        if (taken == hi_ - lo_ + 1)
            lo_ = hi_ + 1;
        else
            free_ = hi_;
        if (lo_ == free_)
            finish(QString::number(lo_));
        else
            hi_ = lo_ + (free_ - lo_) / 2;
        break;
    case Phase::OneByOne:
        if (taken == 0)
            finish(code_);
        else
            code_ = NextCode(code_);
        break;
    case Phase::Done:
        break;
    }
}

void CodeSearch::grow()
{
    if (lo_ > largestOfLength(digits_)) { // every code of this length is taken
        ++digits_;
        size_ = 1;
        if (digits_ > kLongestCounted) {
            phase_ = Phase::OneByOne;
            code_ = QString::number(lo_);
            return;
        }
    }
    hi_ = std::min(largestOfLength(digits_), lo_ + size_ - 1);
}

void CodeSearch::finish(const QString& code)
{
    phase_ = Phase::Done;
    proposal_ = code;
}

std::optional<QString> ProposeCode(const QString& lastCode, const CountTakenCodes& countTaken)
{
    CodeSearch search(lastCode);
    while (const auto range = search.question()) {
        const std::optional<qint64> taken = countTaken(range->first, range->second);
        if (!taken)
            return std::nullopt;
        search.answer(*taken);
    }
    return search.proposal();
}
