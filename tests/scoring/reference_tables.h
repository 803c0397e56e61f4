#pragma once
// Independent copies of the scoring key and of the answered-item lists, kept as tables of text
// and parsed here, so the product's own tables are checked against them.
#include <QList>
#include <QtGlobal>
#include <QString>
#include <QStringList>
#include <QVector>

namespace reference {

// Scale | yes-keyed items | no-keyed items
inline const char* const kKeyTable = R"(
| `L` | none | 5, 11, 24, 47, 53 |
| `F` | 9, 12, 15, 19, 30, 38, 48, 50, 58, 59, 64, 71 | 20, 24, 61 |
| `K` | none | 11, 23, 31, 33, 34, 36, 40, 41, 43, 51, 55, 61, 66, 69, 70 |
| `Hs` | 9, 18, 32, 44 | 1, 2, 6, 26, 45, 46, 55, 62, 63 |
| `D` | 4, 9, 13, 17, 18, 22, 25, 36, 44 | 1, 3, 6, 11, 28, 37, 40, 42, 60, 61, 65 |
| `Hy` | 9, 18, 44, 57 | 1, 2, 3, 11, 21, 23, 26, 28, 29, 35, 37, 40, 41, 43, 45, 46, 49, 55, 56, 62 |
| `Pd` | 7, 10, 13, 14, 15, 16, 22, 27, 34, 52, 58, 71 | 3, 28, 35, 41, 43, 49, 65 |
| `Pa` | 5, 8, 10, 15, 30, 39, 64, 66, 68 | 28, 29, 31, 63, 67 |
| `Pt` | 5, 8, 13, 17, 22, 25, 27, 31, 44, 51, 57, 66, 68 | 2, 3, 42 |
| `Sc` | 5, 7, 8, 10, 13, 14, 15, 16, 17, 21, 30, 38, 39, 57, 65, 66 | 3, 26, 46, 63 |
| `Ma` | 4, 7, 8, 29, 34, 38, 39, 54, 57, 60 | 43 |
)";

// Index | scale | items examined | divisor
inline const char* const kAnsweredListTable = R"(
| 0 | `L` | 5, 11, 24, 47, 53 | 5 |
| 1 | `F` | 9, 12, 15, 19, 20, 24, 30, 38, 49, 50, 58, 59, 61, 64, 71 | 15 |
| 2 | `K` | 11, 23, 31, 33, 34, 36, 40, 41, 43, 51, 55, 61, 66, 69, 70 | 15 |
| 3 | `Hs` | 1, 2, 6, 9, 18, 26, 32, 44, 45, 46, 55, 62, 63 | 13 |
| 4 | `D` | 1, 3, 4, 6, 9, 11, 13, 17, 18, 22, 25, 28, 36, 37, 40, 42, 44, 60, 61, 65 | 20 |
| 5 | `Hy` | 1, 2, 3, 9, 11, 18, 21, 23, 26, 28, 29, 35, 37, 40, 41, 43, 44, 45, 46, 49, 55, 56, 57, 62 | 24 |
| 6 | `Pd` | 3, 7, 10, 13, 14, 15, 16, 22, 27, 28, 34, 35, 41, 43, 52, 58, 65, 71 | 18 |
| 7 | `Pa` | 5, 8, 10, 15, 28, 29, 30, 31, 39, 63, 64, 66, 67, 68 | 14 |
| 8 | `Pt` | 2, 3, 5, 8, 13, 17, 22, 25, 27, 31, 42, 44, 51, 57, 66, 68 | 16 |
| 9 | `Sc` | 3, 5, 7, 8, 10, 13, 14, 15, 16, 17, 21, 26, 30, 38, 39, 46, 57, 63, 65, 66 | 20 |
| 10 | `Ma` | 4, 7, 8, 29, 34, 38, 39, 43, 54, 57, 60 | 11 |
)";

struct Scale {
    QString name;
    QVector<int> yes;
    QVector<int> no;
    QVector<int> examined; // answered-item list
    int divisor = 0;
};

inline QVector<int> parseItems(const QString& cell)
{
    QVector<int> items;
    if (cell.trimmed() == QLatin1String("none"))
        return items;
    for (const QString& part : cell.split(QLatin1Char(','), Qt::SkipEmptyParts))
        items << part.trimmed().toInt();
    return items;
}

inline QStringList cells(const QString& row)
{
    QStringList c = row.split(QLatin1Char('|'));
    c.removeFirst();
    c.removeLast();
    for (QString& s : c)
        s = s.trimmed().remove(QLatin1Char('`'));
    return c;
}

// The eleven scales in table order, both tables merged.
inline QList<Scale> scales()
{
    QList<Scale> out;
    for (const QString& row : QString::fromUtf8(kKeyTable).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList c = cells(row);
        out << Scale{c.at(0), parseItems(c.at(1)), parseItems(c.at(2)), {}, 0};
    }
    int i = 0;
    for (const QString& row : QString::fromUtf8(kAnsweredListTable).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList c = cells(row);
        Scale& s = out[i++];
        if (c.at(1) != s.name)
            qFatal("reference tables disagree on the scale order");
        s.examined = parseItems(c.at(2));
        s.divisor = c.at(3).toInt();
    }
    return out;
}

} // namespace reference
