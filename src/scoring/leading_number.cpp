#include "scoring/leading_number.h"

#include <QByteArray>
#include <charconv>
#include <cmath>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QStringView SkipBlanks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.mid(i);
}

qsizetype LeadingNumberLength(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    return digits > 0 ? i : 0;
}

std::optional<double> ParseNumber(QStringView number)
{
    // from_chars takes no '+' and does not depend on the C locale.
    if (!number.isEmpty() && number[0] == QLatin1Char('+'))
        number = number.mid(1);
    // Short numbers (all that scoring meets) are converted on the stack, without an allocation.
    char shortText[32];
    QByteArray longText;
    const char* begin = shortText;
    if (number.size() <= qsizetype(sizeof shortText)) {
        for (qsizetype i = 0; i < number.size(); ++i)
            shortText[i] = number[i].unicode() < 0x80 ? char(number[i].unicode()) : '?';
    } else {
        longText = number.toLatin1();
        begin = longText.constData();
    }
    const char* const last = begin + number.size();
    double value = 0;
    const auto [end, error] = std::from_chars(begin, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> LeadingNumber(QStringView text)
{
    const QStringView rest = SkipBlanks(text);
    const qsizetype length = LeadingNumberLength(rest);
    if (length == 0)
        return std::nullopt;
    return ParseNumber(rest.left(length));
}

double LeadingNumberOrZero(QStringView text)
{
    return LeadingNumber(text).value_or(0.0);
}
