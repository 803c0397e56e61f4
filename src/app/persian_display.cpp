#include "app/persian_display.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QString firstInstalled(const QStringList& families)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& f : families)
        if (installed.contains(f, Qt::CaseInsensitive))
            return f;
    return families.last();
}

} // namespace

void ConfigurePersianDisplay(QApplication& app)
{
    app.setLayoutDirection(Qt::RightToLeft);
    app.setStyle(QStringLiteral("Fusion"));

    const QString text = firstInstalled({QStringLiteral("Vazirmatn"), QStringLiteral("Noto Sans Arabic"),
                                         QStringLiteral("Noto Naskh Arabic"), QStringLiteral("Nazli")});
    QFont font(text, 10);
    app.setFont(font);

    // The report asks for the customary Persian faces; map them to installed ones.
    QFont::insertSubstitutions(QStringLiteral("B Nazanin"),
                               {QStringLiteral("Nazli"), QStringLiteral("Noto Naskh Arabic")});
    QFont::insertSubstitutions(QStringLiteral("B Titr"),
                               {QStringLiteral("Titr"), QStringLiteral("Noto Naskh Arabic")});

    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qt);
}
