// Version comparison, file names, addresses, percentages, backup names and the about screen's
// animation steps.
#include "maintenance/about_animation.h"
#include "maintenance/backup_names.h"
#include "maintenance/download_status.h"
#include "maintenance/update_version.h"
#include "support/test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace maintenance;

class TestMaintenanceLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void versionComparison_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<bool>("newer");
        QTest::newRow("same as 3.5") << QStringLiteral("35") << false;
        QTest::newRow("36") << QStringLiteral("36") << true;
        QTest::newRow("older") << QStringLiteral("34") << false;
        QTest::newRow("blanks and line end") << QStringLiteral("  36\r\n") << true;
        QTest::newRow("text after the number") << QStringLiteral("40 (new installer)") << true;
        QTest::newRow("letters first count 0") << QStringLiteral("v36") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void versionComparison()
    {
        QFETCH(QString, published);
        QFETCH(bool, newer);
        QCOMPARE(OwnVersionNumber(3, 5), 35);
        QCOMPARE(IsNewerVersion(PublishedVersionNumber(published), OwnVersionNumber(3, 5)), newer);
    }

    void fileName_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::newRow("installer") << QStringLiteral("https://www.tavora71.example/Soft/Tavora71/setup.Tavora-71.exe")
                                   << QStringLiteral("setup.Tavora-71.exe");
        QTest::newRow("http") << QStringLiteral("http://mirror.local/a/b.zip") << QStringLiteral("b.zip");
        QTest::newRow("no dot in the name") << QStringLiteral("http://mirror.local/Soft/setup") << QString();
        QTest::newRow("dot only first") << QStringLiteral("http://mirror.local/.profile") << QString();
        QTest::newRow("host only") << QStringLiteral("http://mirror") << QString();
        QTest::newRow("scheme only") << QStringLiteral("http://") << QString();
        QTest::newRow("not http") << QStringLiteral("ftp://mirror.local/setup.exe") << QString();
    }
    void fileName()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QCOMPARE(GetFileName(url), name);
    }

    void updateServerOverride_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("server"); // empty: no override
        QTest::newRow("unset") << QString() << QString();
        QTest::newRow("https mirror") << QStringLiteral(" https://updates.clinic.example ")
                                      << QStringLiteral("https://updates.clinic.example");
        QTest::newRow("http on the local network") << QStringLiteral("http://192.168.1.20:8080/tavora")
                                                   << QStringLiteral("http://192.168.1.20:8080/tavora");
        QTest::newRow("another scheme") << QStringLiteral("ftp://updates.clinic.example") << QString();
        QTest::newRow("no host") << QStringLiteral("https://") << QString();
        QTest::newRow("not an address") << QStringLiteral("updates") << QString();
    }
    void updateServerOverride()
    {
        QFETCH(QString, value);
        QFETCH(QString, server);
        const std::optional<QUrl> u = UpdateServerOverride(value);
        QCOMPARE(u.has_value(), !server.isEmpty());
        if (u)
            QCOMPARE(u->toString(), server);
    }

    void updateAddressStaysBelowTheServersFolder()
    {
        QCOMPARE(UpdateAddress(QUrl(QStringLiteral("http://192.168.1.20:8080/tavora/")), kVersionFilePath).toString(),
                 QStringLiteral("http://192.168.1.20:8080/tavora/Soft/Tavora71/LastVersion.txt"));
        QCOMPARE(UpdateAddress(QUrl(QStringLiteral("https://www.tavora71.example")), kInstallerPath).toString(),
                 QStringLiteral("https://www.tavora71.example/Soft/Tavora71/setup.Tavora-71.exe"));
    }

    void percentRoundsHalvesToEven_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("percent");
        QTest::newRow("12.5") << qint64(1) << qint64(8) << QStringLiteral("12");
        QTest::newRow("37.5") << qint64(3) << qint64(8) << QStringLiteral("38");
        QTest::newRow("0.5") << qint64(5) << qint64(1000) << QStringLiteral("0");
        QTest::newRow("1.5") << qint64(15) << qint64(1000) << QStringLiteral("2");
        QTest::newRow("all") << qint64(4096) << qint64(4096) << QStringLiteral("100");
        QTest::newRow("beyond 2 GiB") << qint64(3) * 1024 * 1024 * 1024 << qint64(4) * 1024 * 1024 * 1024
                                      << QStringLiteral("75");
    }
    void percentRoundsHalvesToEven()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(QString, percent);
        QCOMPARE(ProgressPercentText(received, total), percent);
    }

    void serverResponseTakesTheFirstLine()
    {
        QCOMPARE(ServerResponseMessage(QStringLiteral("HTTP/1.1 503 Busy\rRetry-After: 5")),
                 QStringLiteral("The server returned the following response:\r\rHTTP/1.1 503 Busy"));
        QCOMPARE(ServerResponseMessage(QString()), QStringLiteral("The server returned the following response:\r\r<nothing>"));
    }

    void backupNames()
    {
        // 21 August 2022 is 30 Mordad 1401.
        QCOMPARE(ProposedBackupName(QDate(2022, 8, 21), QTime(10, 30, 15)),
                 QStringLiteral("Tavora71در تاريخ1401.5.30 ساعت)10.30).mdbB"));
        QCOMPARE(BackupTimeText(QTime(9, 5)), QStringLiteral("9.05"));
        QCOMPARE(BackupTimeText(QTime(0, 0)), QStringLiteral("0.00"));

        QTemporaryDir dir;
        const QString name = QStringLiteral("Tavora71x.mdbB");
        QCOMPARE(FreeBackupPath(dir.path(), name), QDir(dir.path()).filePath(name));
        QFile(QDir(dir.path()).filePath(name)).open(QIODevice::WriteOnly);
        QCOMPARE(FreeBackupPath(dir.path(), name), QDir(dir.path()).filePath(QStringLiteral("Tavora71x (2).mdbB")));
    }

    void scrollingRecyclesBackToTheFirstEntry()
    {
        CreditScroll scroll;
        scroll.formHeight = 5700;
        scroll.tops = {1240, 1960, 2680, 3400};
        QList<int> entries;
        for (int tick = 0; tick < 2000 && entries.size() < 8; ++tick)
            if (const auto moved = scroll.tick())
                entries << moved->entry;
        // 5, 6, 7, 8, the empty ninth, then entry 1 again.
        QCOMPARE(entries, (QList<int>{5, 6, 7, 8, 9, 1, 2, 3}));
        QCOMPARE(CreditList(PublisherAddresses()).size(), 9);
        QVERIFY(CreditList(PublisherAddresses()).last().isEmpty());
    }

    void creditLineClosesUp()
    {
        const QString credit = QStringLiteral("ساخته گروه نرم افزاري");
        QString text = SpacedCreditLine(credit, 3);
        QCOMPARE(text.count(QLatin1Char('.')), 3);
        QCOMPARE(text.count(QLatin1Char(' ')), QString(credit).remove(QLatin1Char(' ')).size() * 3);
        CreditLineCloser closer;
        while (closer.step(text)) {
        }
        QCOMPARE(text, credit); // single blanks between the words, no "." left
        QVERIFY(!closer.step(text));
    }
};

TAVORA_TEST(TestMaintenanceLogic)
#include "tst_maintenance_logic.moc"
