#include "kit/persian_display.h"
#include "kit/plain_text_labels.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

void ConfigurePersianDisplay(QApplication& app)
{
    app.setLayoutDirection(Qt::RightToLeft);
    app.installEventFilter(new PlainTextLabels(&app));
    app.setStyle(QStringLiteral("Fusion"));

    // Named explicitly (the default would pick DejaVu's Arabic glyphs); the first installed one
    // wins. Listing families instead of querying the font database keeps start-up quick.
    QFont font;
    // Latin text (titles, codes, scale names) comes from the second face without a fallback search.
    font.setFamilies({QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Noto Naskh Arabic"), QStringLiteral("Nazli")});
    font.setPointSize(10);
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
