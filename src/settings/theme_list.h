#pragma once
#include "store/result.h"

#include <QString>
#include <optional>

// The theme list file "skin/skin.txt": its first field (up to a comma or the end of the
// line, blanks and quotes removed) names the current theme.
QString ParseThemeListField(const QString& fileText);
// std::nullopt when the file is missing or unreadable or names nothing.
std::optional<QString> ReadThemeName(const QString& programFolder);
QString ThemeListPath(const QString& programFolder);
QString ThemeFilePath(const QString& programFolder, const QString& themeName);
// The style sheet of a theme; std::nullopt when the file is missing, unreadable, not a plain
// file or larger than kLargestThemeFile.
std::optional<QString> ReadThemeFile(const QString& programFolder, const QString& themeName);

// True for a style sheet that holds nothing but comments and blanks.
bool IsPlainStyleSheet(const QString& sheet);

inline const QString kDefaultThemeName = QStringLiteral("1");
// Larger files in skin/ are not themes of ours and are not read (the delivered ones are ~10 KB).
constexpr qint64 kLargestThemeFile = 1024 * 1024;
constexpr int kThemeCount = 48;

// The theme a number field's text chooses, pulled into 1 … kThemeCount; std::nullopt when the
// text is not a whole number (the current theme stays).
std::optional<int> ThemeNumberFromText(const QString& text);
// Rewrites the theme list file: the name followed by CR LF.
store::Result WriteThemeName(const QString& programFolder, const QString& themeName);
