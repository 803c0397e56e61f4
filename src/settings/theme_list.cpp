#include "settings/theme_list.h"
#include "store/private_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

QString ParseThemeListField(const QString& fileText)
{
    QString line = fileText.section(QLatin1Char('\n'), 0, 0);
    line = line.section(QLatin1Char(','), 0, 0);
    const QString strip = QStringLiteral(" \t\r\"");
    qsizetype begin = 0, end = line.size();
    while (begin < end && strip.contains(line.at(begin)))
        ++begin;
    while (end > begin && strip.contains(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

QString ThemeListPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("skin/skin.txt"));
}

QString ThemeFilePath(const QString& programFolder, const QString& themeName)
{
    return QDir(programFolder).filePath(QStringLiteral("skin/") + themeName + QStringLiteral(".skn"));
}

namespace {

// Only a plain file of a sensible size is read: a pipe or a device in skin/ must not stop the
// start, nor a huge file take the memory.
bool readable(const QString& path, qint64 limit)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink() && info.size() <= limit;
}

} // namespace

std::optional<QString> ReadThemeName(const QString& programFolder)
{
    QFile f(ThemeListPath(programFolder));
    if (!readable(f.fileName(), kLargestThemeFile) || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString name = ParseThemeListField(QString::fromUtf8(f.read(4096)));
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> ReadThemeFile(const QString& programFolder, const QString& themeName)
{
    // A theme name is a number; anything else could point outside the skin folder.
    bool isNumber = false;
    themeName.toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    QFile f(ThemeFilePath(programFolder, themeName));
    if (!readable(f.fileName(), kLargestThemeFile) || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(f.read(kLargestThemeFile));
}

bool IsPlainStyleSheet(const QString& sheet)
{
    qsizetype i = 0;
    const qsizetype n = sheet.size();
    while (i < n) {
        if (sheet.at(i).isSpace()) {
            ++i;
        } else if (sheet.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = sheet.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                return false; // an unclosed comment is not ours to interpret
            i = end + 2;
        } else {
            return false;
        }
    }
    return true;
}

std::optional<int> ThemeNumberFromText(const QString& text)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!wholeNumber.match(t).hasMatch())
        return std::nullopt;
    bool fits = false;
    const qlonglong n = t.toLongLong(&fits);
    if (!fits) // more digits than any number holds: beyond the last theme, or below the first
        return t.startsWith(QLatin1Char('-')) ? 1 : kThemeCount;
    return int(std::clamp<qlonglong>(n, 1, kThemeCount));
}

store::Result WriteThemeName(const QString& programFolder, const QString& themeName)
{
    const QString path = ThemeListPath(programFolder);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || !store::MakeOwnerOnly(f))
        return store::Result::failure(QStringLiteral("%1: %2").arg(path, f.errorString()));
    f.write((themeName + QStringLiteral("\r\n")).toUtf8());
    if (!f.commit())
        return store::Result::failure(QStringLiteral("%1: %2").arg(path, f.errorString()));
    return store::Result::success();
}
