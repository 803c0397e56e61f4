#include "settings/apply_theme.h"
#include "settings/theme_list.h"

#include <QWidget>

bool LoadAndApplyTheme(const QString& programFolder, QWidget* window, const QString& themeName)
{
    // A theme that cannot be read keeps the look the window has: a window just made has the
    // built-in plain one.
    const std::optional<QString> sheet = ReadThemeFile(programFolder, themeName);
    if (!sheet || !window)
        return false;
    // A sheet of comments only is the plain look: no style-sheet style, no re-polish of every control.
    window->setStyleSheet(IsPlainStyleSheet(*sheet) ? QString() : *sheet);
    return true;
}

bool ApplyTheme(const QString& programFolder, QWidget* window, QString* themeName)
{
    const QString name = ReadThemeName(programFolder).value_or(kDefaultThemeName);
    if (themeName)
        *themeName = name;
    return LoadAndApplyTheme(programFolder, window, name);
}
