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

QString ProposeCode(const QString& lastCode, const std::function<bool(const QString& code)>& isTaken)
{
    QString code = NextCode(lastCode);
    while (isTaken(code))
        code = NextCode(code);
    return code;
}
