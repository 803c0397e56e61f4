#pragma once
// The program's look carried over to the phone page: the colours of the current theme.
#include <QString>

namespace phone {

struct PageLook {
    QString background = QStringLiteral("#f4f5f7");
    QString text = QStringLiteral("#1b1f24");
    QString accent = QStringLiteral("#2f6fb0");
    QString accentText = QStringLiteral("#ffffff");
    QString button = QStringLiteral("#e8ebef");
    QString buttonText = QStringLiteral("#1b1f24");
    QString border = QStringLiteral("#b8c0ca");
    bool operator==(const PageLook&) const = default;
};

// The colours a theme's style sheet gives windows and buttons; what it does not give (the plain
// theme gives nothing) keeps the plain look's colour. Only #rgb, #rrggbb and #aarrggbb values are
// taken.
PageLook PageLookOf(const QString& styleSheet);
// The look of the program folder's current theme.
PageLook CurrentPageLook(const QString& programFolder);

} // namespace phone
