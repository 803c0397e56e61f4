#include "store/delivered_table.h"

#include <QFile>

namespace store {

QString UnescapeDeliveredField(const QString& field)
{
    if (!field.contains(QLatin1Char('\\')))
        return field;
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c != QLatin1Char('\\') || i + 1 == field.size()) {
            out += c;
            continue;
        }
        const QChar n = field.at(++i);
        if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (n == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else
            out += c, out += n;
    }
    return out;
}

QString EscapeDeliveredField(const QString& field)
{
    QString out = field;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    out.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    out.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return out;
}

DeliveredTable ParseDeliveredTable(const QString& text)
{
    DeliveredTable table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    int lineNo = 0;
    for (QString line : lines) {
        ++lineNo;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (table.columns.isEmpty()) {
            if (line.trimmed().isEmpty())
                continue;
            table.columns = line.split(QLatin1Char('\t'));
            continue;
        }
        if (line.isEmpty())
            continue;
        QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != table.columns.size()) {
            table.error = QStringLiteral("line %1: %2 fields, %3 columns").arg(lineNo).arg(fields.size()).arg(table.columns.size());
            return table;
        }
        for (QString& f : fields)
            f = UnescapeDeliveredField(f);
        table.rows << fields;
    }
    if (table.columns.isEmpty())
        table.error = QStringLiteral("no column line");
    return table;
}

DeliveredTable LoadDeliveredTable(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        DeliveredTable t;
        t.error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return t;
    }
    return ParseDeliveredTable(QString::fromUtf8(f.readAll()));
}

} // namespace store
