#include "profile/line_ends.h"

namespace profile {

QString toLf(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r') {
            out += c;
            continue;
        }
        out += u'\n';
        if (i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
    }
    return out;
}

QString toCrLf(const QString& text)
{
    const QString lf = toLf(text);
    QString out;
    out.reserve(lf.size() + lf.count(u'\n'));
    for (const QChar c : lf) {
        if (c == u'\n')
            out += u'\r';
        out += c;
    }
    return out;
}

} // namespace profile
