#include "kit/publisher.h"
#include "support/test_registry.h"

#include <QTest>

class TestPublisher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Until the publisher's own domain is known, nothing sends users or requests to a domain
    // or a channel handle somebody else could hold.
    void addressesAreReservedPlaceholders()
    {
        const PublisherAddresses p;
        for (const QUrl& url : {p.webSite, p.shop, p.channel, p.updateServer, p.onWebSite(QStringLiteral("/x.html"))}) {
            QVERIFY2(url.host().endsWith(QLatin1String(".example")), qPrintable(url.toString()));
            QCOMPARE(url.scheme(), QStringLiteral("https"));
        }
        QCOMPARE(p.channelHandle, QStringLiteral("@tavora71"));
    }
};

TAVORA_TEST(TestPublisher)
#include "tst_publisher.moc"
