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

    // A path on the web site, such as "/discussions.html".
    QUrl onWebSite(const QString& path) const
    {
        QUrl u = webSite;
        u.setPath(path);
        return u;
    }
};
