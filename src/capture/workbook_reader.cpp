#include "capture/workbook_reader.h"
#include "kit/chosen_file.h"

#include <QFile>
#include <QLocale>
#include <cmath>

namespace workbook {

QString CellValue::asText() const
{
    switch (kind) {
    case Kind::Empty:
        return QString();
    case Kind::Number:
        if (!std::isfinite(number))
            return QString();
        if (number == 0)
            return QStringLiteral("0"); // never "-0"
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    case Kind::Text:
    case Kind::Boolean:
    case Kind::Error:
        return text;
    }
    return text;
}

std::optional<CellRef> ParseCellRef(QStringView ref)
{
    qsizetype i = 0;
    int column = 0;
    for (; i < ref.size(); ++i) {
        const char16_t c = ref.at(i).unicode();
        int letter = -1;
        if (c >= u'A' && c <= u'Z')
            letter = c - u'A';
        else if (c >= u'a' && c <= u'z')
            letter = c - u'a';
        else
            break;
        column = column * 26 + letter + 1;
        if (column > kMaxColumns)
            return std::nullopt;
    }
    if (i == 0 || i == ref.size())
        return std::nullopt;
    int row = 0;
    for (; i < ref.size(); ++i) {
        const char16_t c = ref.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        row = row * 10 + (c - u'0');
        if (row > kMaxRows)
            return std::nullopt;
    }
    if (row < 1)
        return std::nullopt;
    return CellRef{row, column};
}

Opened OpenWorkbook(const QString& path)
{
    if (!IsRegularFile(path))
        return {nullptr, QStringLiteral("not a regular file")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {nullptr, file.errorString()};
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith("PK\x03\x04"))
        return OpenXlsx(path);
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return OpenXls(path);
    return {nullptr, QStringLiteral("not a workbook")};
}

bool XmlWithinBounds(const QByteArray& xml, QString& why)
{
    // Attributes are counted by their "=" outside quoted values, so a quoted ">" or "=" counts
    // for nothing. Malformed markup is left for the parser to refuse.
    const qsizetype size = xml.size();
    const char* data = xml.constData();
    int depth = 0;
    qsizetype i = 0;
    auto skipPast = [&](const char* marker) {
        const qsizetype at = xml.indexOf(marker, i);
        i = at < 0 ? size : at + qstrlen(marker);
    };
    while ((i = xml.indexOf('<', i)) >= 0 && ++i < size) {
        const char first = data[i];
        if (first == '/') {
            depth = qMax(0, depth - 1);
            continue;
        }
        if (first == '?') {
            skipPast("?>");
            continue;
        }
        if (first == '!') {
            const QByteArrayView rest(data + i, size - i);
            if (rest.startsWith("!--"))
                skipPast("-->");
            else if (rest.startsWith("![CDATA["))
                skipPast("]]>");
            else
                skipPast(">");
            continue;
        }
        int attributes = 0;
        char last = 0;
        for (; i < size && data[i] != '>' && data[i] != '<'; ++i) {
            const char c = data[i];
            if (c == '"' || c == '\'') {
                const qsizetype close = xml.indexOf(c, i + 1);
                if (close < 0)
                    return true;
                i = close;
            } else if (c == '=' && ++attributes > kMaxXmlAttributes) {
                why = QStringLiteral("an element with more than %1 attributes").arg(kMaxXmlAttributes);
                return false;
            }
            last = data[i];
        }
        if (last != '/' && ++depth > kMaxXmlDepth) {
            why = QStringLiteral("elements nested more than %1 deep").arg(kMaxXmlDepth);
            return false;
        }
    }
    return true;
}

} // namespace workbook
