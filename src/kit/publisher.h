#pragma once
#include <QByteArray>
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
    // The publisher's Ed25519 public key. A version file is believed only with a signature it
    // checks, whichever server or mirror it comes from; the secret key is kept by the publisher,
    // never in this repository (tools/sign_update signs with it). Tests use a key of their own.
    QByteArray updateKey{QByteArray::fromHex("698ab9b1688ad6092056193c365280de3f883a3c6f4936bbc11eaa66ed1baab7")};

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
