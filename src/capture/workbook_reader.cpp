#include "capture/workbook_reader.h"

#include <QFile>
#include <QLocale>
#include <cmath>

namespace workbook {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

} // namespace

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

} // namespace workbook
