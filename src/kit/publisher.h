#pragma once
#include <QString>
#include <QUrl>

// The publisher's addresses, in one place. Until the publisher's own domain is known they are
// placeholders on a reserved example domain, so nobody is ever sent to a stranger's server.
// Tests point the update server at 127.0.0.1.
struct PublisherAddresses {
    QUrl webSite{QStringLiteral("https://www.tavora71.example")};
    QUrl shop{QStringLiteral("https://shop.tavora71.example")};
    QUrl channel{QStringLiteral("https://www.tavora71.example/channel")};
    QString channelHandle{QStringLiteral("@tavora71")};
    QUrl updateServer{QStringLiteral("https://www.tavora71.example")};

    // Contact lines of the about and download screens.
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
