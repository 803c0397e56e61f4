#include "maintenance/about_animation.h"
#include "maintenance/maintenance_texts.h"

namespace maintenance {

namespace {
// Our own wording; the contact details come from the publisher's addresses.
const QString kAuthorLine = QStringLiteral("طراحي و توليد: گروه نرم افزاري تاورا");
const QString kPhoneCaption = QStringLiteral("تلفن پيام رسان: ");
const QString kEmailCaption = QStringLiteral("پست الکترونيک: ");
const QString kSiteCaption = QStringLiteral("وب سايت: ");
const QString kShopCaption = QStringLiteral("فروشگاه اينترنتي: ");
const QString kChannelCaption = QStringLiteral("کانال پيام رسان: ");
const QString kCredit = QStringLiteral("ساخته گروه نرم افزاري تاورا");
// Keeps a left-to-right address or number whole, in its own order, inside a right-to-left line.
const QChar kLeftToRightEmbedding(0x202A);
const QChar kPopDirectionalFormatting(0x202C);

QString address(const QString& caption, const QString& value)
{
    return caption + kLeftToRightEmbedding + value + kPopDirectionalFormatting;
}
} // namespace

QStringList CreditList(const PublisherAddresses& publisher)
{
    return {texts::kCreditSoftwareName,
            texts::kCreditSoftware,
            kAuthorLine,
            address(kPhoneCaption, publisher.messagingPhone),
            address(kEmailCaption, publisher.email),
            address(kSiteCaption, publisher.webSite.host()),
            address(kShopCaption, publisher.shop.host()),
            address(kChannelCaption, publisher.channelHandle),
            QString()};
}

QString CreditLineText()
{
    return kCredit;
}

QString SpacedCreditLine(const QString& credit, int blanksPerLetter)
{
    const QString blanks(blanksPerLetter, QLatin1Char(' '));
    QStringList words;
    for (const QString& word : credit.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString spaced;
        for (const QChar letter : word)
            spaced += letter + blanks;
        words << spaced;
    }
    return words.join(QLatin1Char('.'));
}

bool CreditLineCloser::step(QString& text)
{
    if (search.isEmpty() || search == replacement)
        return false;
    const qsizetype at = text.indexOf(search);
    if (at >= 0) {
        text.replace(at, search.size(), replacement);
        return true;
    }
    const bool changed = search != QStringLiteral(".");
    search = QStringLiteral(".");
    replacement = QStringLiteral(" ");
    return changed;
}

std::optional<CreditScroll::Recycled> CreditScroll::tick()
{
    std::optional<Recycled> recycled;
    for (int i = 0; i < tops.size(); ++i) {
        if (tops[i] <= kTopLimit) {
            tops[i] = formHeight - kBottomMargin;
            ++index;
            recycled = Recycled{i, index};
            break;
        }
    }
    if (index == 9)
        index = 0;
    for (int& top : tops)
        top -= kStep;
    return recycled;
}

QColor PaletteColour(int counter)
{
    static const QColor palette[16] = {
        QColor(0, 0, 0),       QColor(0, 0, 128),     QColor(0, 128, 0),     QColor(0, 128, 128),
        QColor(128, 0, 0),     QColor(128, 0, 128),   QColor(128, 128, 0),   QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(0, 0, 255),     QColor(0, 255, 0),     QColor(0, 255, 255),
        QColor(255, 0, 0),     QColor(255, 0, 255),   QColor(255, 255, 0),   QColor(255, 255, 255)};
    return palette[((counter % 16) + 16) % 16];
}

} // namespace maintenance
