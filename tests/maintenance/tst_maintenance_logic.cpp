// Version comparison, file names, addresses, percentages, backup names and the about screen's
// animation steps.
#include "maintenance/about_animation.h"
#include "maintenance/backup_names.h"
#include "maintenance/download_status.h"
#include "maintenance/update_version.h"
#include "maintenance/version_file.h"
#include "support/test_registry.h"
#include "update_signing.h"

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

    void versionFileIsBelievedOnlyWhenSignedAndWellFormed_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("signing"); // 0 the publisher's key, 1 another key, 2 none, 3 a byte changed after
        QTest::addColumn<bool>("readable");
        const QByteArray deb = "file deb-amd64 tavora71_3.6-1_amd64.deb 5000 " + QByteArray(64, 'a') + "\n";
        const QByteArray exe = "file windows setup.Tavora-71.exe 7000 " + QByteArray(64, 'b') + "\r\n";
        QTest::newRow("signed") << QByteArray("36\n" + deb + exe) << 0 << true;
        QTest::newRow("another key") << QByteArray("36\n" + deb) << 1 << false;
        QTest::newRow("unsigned") << QByteArray("36\n" + deb) << 2 << false;
        QTest::newRow("changed after signing") << QByteArray("36\n" + deb) << 3 << false;
        QTest::newRow("letters") << QByteArray("latest\n" + deb) << 0 << false;
        QTest::newRow("400 nines") << QByteArray(QByteArray(400, '9') + "\n" + deb) << 0 << false;
        QTest::newRow("HTML") << QByteArray("<html><body>36</body></html>\n") << 0 << false;
        QTest::newRow("a name leaving the folder") << QByteArray("36\nfile deb-amd64 ../../.profile 5000 " + QByteArray(64, 'a') + "\n") << 0 << false;
        QTest::newRow("a short hash") << QByteArray("36\nfile deb-amd64 a.deb 5000 " + QByteArray(63, 'a') + "\n") << 0 << false;
        QTest::newRow("a package past the cap") << QByteArray("36\nfile deb-amd64 a.deb 999999999999 " + QByteArray(64, 'a') + "\n") << 0 << false;
        QTest::newRow("one platform twice") << QByteArray("36\n" + deb + deb) << 0 << false;
        QTest::newRow("longer than a version file") << QByteArray("36\n" + deb + QByteArray(9000, '#')) << 0 << false;
    }
    void versionFileIsBelievedOnlyWhenSignedAndWellFormed()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, signing);
        QFETCH(bool, readable);
        const TestSigningKey key;
        const TestSigningKey other;
        QByteArray file = signing == 1 ? other.sign(text) : signing == 2 ? text : key.sign(text);
        if (signing == 3)
            file[1] = '7'; // 37
        const std::optional<VersionFile> read = ReadVersionFile(file, key.publicKey);
        QCOMPARE(read.has_value(), readable);
        if (!readable)
            return;
        QCOMPARE(read->number, 36);
        QCOMPARE(PublishedVersionNumber(QString::fromLatin1(file)), 36.0); // all an older program reads
        const std::optional<UpdatePackage> deb = read->packageFor(QStringLiteral("deb-amd64"));
        QVERIFY(deb);
        QCOMPARE(deb->name, QStringLiteral("tavora71_3.6-1_amd64.deb"));
        QCOMPARE(deb->size, qint64(5000));
        QCOMPARE(deb->sha256, QByteArray(32, '\xaa'));
        QCOMPARE(read->packageFor(QStringLiteral("windows"))->name, QStringLiteral("setup.Tavora-71.exe"));
        QVERIFY(!read->packageFor(QStringLiteral("deb-arm64")));
        // The publisher's signing gives the same file and refuses a malformed one.
        QCOMPARE(SignVersionFile(text, key.secretKey), file);
        QVERIFY(SignVersionFile("latest\n" + text, key.secretKey).isEmpty());
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
        QCOMPARE(PackageAddress(QUrl(QStringLiteral("https://www.tavora71.example")), QStringLiteral("setup.Tavora-71.exe")).toString(),
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
