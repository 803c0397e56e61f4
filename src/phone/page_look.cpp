#include "phone/page_look.h"
#include "settings/theme_list.h"

#include <QRegularExpression>

namespace phone {

namespace {

// The declarations of the first rule whose selector list is exactly the selector.
QString ruleBody(const QString& sheet, const QString& selector)
{
    static const QRegularExpression rule(QStringLiteral(R"(([^{}]*)\{([^{}]*)\})"));
    for (auto it = rule.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString head = m.captured(1);
        head.remove(QRegularExpression(QStringLiteral(R"(/\*.*?\*/)"), QRegularExpression::DotMatchesEverythingOption));
        if (head.trimmed() == selector)
            return m.captured(2);
    }
    return {};
}

void take(const QString& body, const QString& property, QString& colour)
{
    const QRegularExpression declaration(QStringLiteral(R"((?:^|[;\s])%1\s*:\s*([^;]*))").arg(QRegularExpression::escape(property)));
    const QRegularExpressionMatch m = declaration.match(body);
    if (!m.hasMatch())
        return;
    // "border: 1px solid #8eb1d4" gives its colour; anything but a plain hex colour is left.
    static const QRegularExpression hex(QStringLiteral(R"((?:^|\s)(#(?:[0-9a-fA-F]{3}|[0-9a-fA-F]{6}|[0-9a-fA-F]{8}))\s*$)"));
    const QRegularExpressionMatch h = hex.match(m.captured(1).trimmed());
    if (h.hasMatch())
        colour = h.captured(1);
}

} // namespace

PageLook PageLookOf(const QString& styleSheet)
{
    PageLook look;
    const QString window = ruleBody(styleSheet, QStringLiteral("QWidget"));
    take(window, QStringLiteral("background-color"), look.background);
    take(window, QStringLiteral("color"), look.text);
    take(window, QStringLiteral("selection-background-color"), look.accent);
    take(window, QStringLiteral("selection-color"), look.accentText);
    look.buttonText = look.text;
    const QString button = ruleBody(styleSheet, QStringLiteral("QPushButton"));
    take(button, QStringLiteral("background-color"), look.button);
    take(button, QStringLiteral("color"), look.buttonText);
    take(button, QStringLiteral("border"), look.border);
    return look;
}

PageLook CurrentPageLook(const QString& programFolder)
{
    const QString name = ReadThemeName(programFolder).value_or(kDefaultThemeName);
    return PageLookOf(ReadThemeFile(programFolder, name).value_or(QString()));
}

} // namespace phone
