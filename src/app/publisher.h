#pragma once
#include <QString>
#include <QUrl>

// The publisher's addresses, in one place. Tests point the update server at 127.0.0.1.
struct PublisherAddresses {
    QUrl webSite{QStringLiteral("https://www.tavorasoft.ir")};
    QUrl shop{QStringLiteral("https://shop.tavorasoft.ir")};
    QUrl channel{QStringLiteral("https://t.me/tavorasoft")};
    QString channelHandle{QStringLiteral("@tavorasoft")};
    QUrl updateServer{QStringLiteral("https://www.tavorasoft.ir")};

    // Contact lines of the about and download screens (placeholders until the publisher's own).
    QString email{QStringLiteral("info@tavora71.example")};
    QString messagingPhone{QStringLiteral("+98-000-000-0000")};

    // A path on the web site, such as "/discussions.html".
    QUrl onWebSite(const QString& path) const
    {
        QUrl u = webSite;
        u.setPath(path);
        return u;
    }
};
