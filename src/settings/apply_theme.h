#pragma once
#include <QString>

class QWidget;

// Reads the current theme name from the theme list file into *themeName, loads that theme
// and applies it to the window. A missing or unreadable list falls back to theme 1; a missing
// or unreadable theme file keeps the window's current look. Never fails the program.
// Returns whether a theme was applied.
bool ApplyTheme(const QString& programFolder, QWidget* window, QString* themeName = nullptr);
// Loads and applies one theme by name (the settings panel's theme choice).
bool LoadAndApplyTheme(const QString& programFolder, QWidget* window, const QString& themeName);
