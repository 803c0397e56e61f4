// The downloader and the version check against a real HTTP server on 127.0.0.1, hostile ones
// included: each is refused within a few seconds, holding little memory and leaving no file.
#include "http_test_server.h"
#include "maintenance/download_status.h"
#include "maintenance/file_downloader.h"
#include "maintenance/version_check.h"
#include "support/test_registry.h"
#include "update_signing.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace maintenance;

namespace {

const QByteArray kOldInstaller = "an older installer";

QByteArray installerBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// What one download reported.
struct Outcome {
    bool finished = false;
    bool success = false;
    QStringList errors;
    QStringList events;
    QStringList percents;
    int completes = 0;
};

struct Recorder {
    Outcome outcome;
    explicit Recorder(FileDownloader& d)
    {
        QObject::connect(&d, &FileDownloader::DownloadErrors, &d, [this](const QString& m) { outcome.errors << m; });
        QObject::connect(&d, &FileDownloader::DownloadEvents, &d, [this](const QString& m) { outcome.events << m; });
        QObject::connect(&d, &FileDownloader::DownloadProgress, &d, [this](const QString& p) { outcome.percents << p; });
        QObject::connect(&d, &FileDownloader::DowloadComplete, &d, [this] { ++outcome.completes; });
        QObject::connect(&d, &FileDownloader::finished, &d, [this](bool ok) {
            outcome.finished = true;
            outcome.success = ok;
        });
    }
};

// The test process's peak resident memory, in bytes.
qint64 PeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return 0;
}

// Far less than the hostile servers below send before they are refused.
constexpr qint64 kMemoryBound = 64 * 1024 * 1024;

Outcome download(FileDownloader& d, const QUrl& url, const QString& destination)
{
    Recorder r(d);
    QSignalSpy finished(&d, &FileDownloader::finished);
    if (!d.DownloadFile(url, destination))
        return r.outcome;
    if (!r.outcome.finished)
        (void)finished.wait(15000); // an outcome that never finishes fails the test that reads it
    return r.outcome;
}

} // namespace

class TestFileDownloader : public QObject {
    Q_OBJECT
    qint64 peakBefore_ = 0;

private Q_SLOTS:
    void initTestCase() { peakBefore_ = PeakMemory(); }

    void hostileServersAreRefused_data()
    {
        QTest::addColumn<int>("end");          // ScriptedAnswer::End
        QTest::addColumn<QByteArray>("header"); // besides the body's own length
        QTest::addColumn<int>("dripBytes");
        QTest::addColumn<bool>("expected");     // the published file's size and hash are known
        QTest::addColumn<QString>("error");     // empty: success
        using E = ScriptedAnswer::End;
        QTest::newRow("endless") << int(E::Endless) << QByteArray() << 0 << false << download_texts::kTooLarge;
        QTest::newRow("huge") << int(E::Endless) << QByteArray("Content-Length: 3000000000") << 0 << false
                              << download_texts::kTooLarge;
        QTest::newRow("endless, the published size known") << int(E::Endless) << QByteArray() << 0 << true
                                                           << download_texts::kNotThePublishedFile;
        QTest::newRow("dripping") << int(E::Drip) << QByteArray() << 1 << false << download_texts::kTooSlow;
        QTest::newRow("steady, past the deadline") << int(E::Drip) << QByteArray("Content-Length: 900000") << 4096
                                                   << false << download_texts::kTookTooLong;
        QTest::newRow("other bytes than published") << int(E::Complete) << QByteArray() << 0 << true
                                                    << download_texts::kNotThePublishedFile;
        QTest::newRow("the published file") << int(E::Complete) << QByteArray() << 0 << true << QString();
    }
    void hostileServersAreRefused()
    {
        QFETCH(int, end);
        QFETCH(QByteArray, header);
        QFETCH(int, dripBytes);
        QFETCH(bool, expected);
        QFETCH(QString, error);
        HttpTestServer server;
        const QByteArray published = installerBytes(5000);
        ScriptedAnswer a = ScriptedAnswer::status("HTTP/1.1 200 OK", published);
        if (!error.isEmpty())
            a.body.replace(0, 4, "evil");
        a.end = static_cast<ScriptedAnswer::End>(end);
        a.withLength = a.end == ScriptedAnswer::End::Complete;
        if (!header.isEmpty())
            a.headers << header;
        a.dripBytes = dripBytes;
        server.answers.insert("/setup.deb", a);
        QTemporaryDir folder;
        const QString destination = QDir(folder.path()).filePath(QStringLiteral("setup.deb"));
        FileDownloader d;
        DownloadLimits limits;
        limits.maxBytes = 1024 * 1024;
        limits.deadlineMs = 2000;
        limits.rateWindowMs = 500;
        limits.minBytesPerWindow = 1024;
        d.setLimits(limits);
        if (expected)
            d.setExpected({published.size(), Sha256Of(published)});

        const Outcome o = download(d, server.url(QStringLiteral("/setup.deb")), destination);
        QVERIFY(o.finished); // within a few seconds
        QVERIFY(!QFile::exists(destination + QStringLiteral(".part")));
        QVERIFY(PeakMemory() - peakBefore_ < kMemoryBound);
        if (error.isEmpty()) {
            QVERIFY(o.success);
            QCOMPARE(readFile(destination), published);
            return;
        }
        QCOMPARE(o.errors, QStringList{error});
        QVERIFY(!o.success);
        QCOMPARE(o.completes, 0);
        QVERIFY(!QFile::exists(destination));
    }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<int>("bodySize");
        QTest::addColumn<bool>("withLength");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("cutAfter"); // -1: the whole body
        QTest::addColumn<QString>("error"); // empty: success; "%1" stands for the address

        const QString reset = download_texts::kConnectionReset;
        QTest::newRow("200 with length") << QByteArray("HTTP/1.1 200 OK") << 5000 << true << QByteArray() << -1 << QString();
        QTest::newRow("200 without length, read to its end")
            << QByteArray("HTTP/1.1 200 OK") << 3000 << false << QByteArray() << -1 << QString();
        QTest::newRow("206") << QByteArray("HTTP/1.1 206 Partial Content") << 2048 << true
                             << QByteArray("Content-Range: bytes 0-2047/2048") << -1 << QString();
        QTest::newRow("206 for a part only") << QByteArray("HTTP/1.1 206 Partial Content") << 3000 << true
                                             << QByteArray("Content-Range: bytes 0-2999/999999") << -1
                                             << download_texts::kPartialAnswer;
        QTest::newRow("204") << QByteArray("HTTP/1.1 204 No Content") << 0 << false << QByteArray() << -1
                             << download_texts::kNothingToDownload;
        QTest::newRow("401") << QByteArray("HTTP/1.1 401 Unauthorized") << 12 << true
                             << QByteArray("WWW-Authenticate: Basic realm=\"updates\"") << -1
                             << download_texts::kAuthorizationFailed;
        QTest::newRow("404") << QByteArray("HTTP/1.1 404 Not Found") << 20 << true << QByteArray() << -1
                             << QStringLiteral("The file, \"%1\" was not found!");
        QTest::newRow("other status") << QByteArray("HTTP/1.1 503 Service Unavailable") << 20 << true << QByteArray()
                                      << -1
                                      << QStringLiteral("The server returned the following response:\r\rHTTP/1.1 503 Service Unavailable");
        QTest::newRow("empty body") << QByteArray("HTTP/1.1 200 OK") << 0 << true << QByteArray() << -1
                                    << download_texts::kNothingToDownload;
        QTest::newRow("reset in mid-body") << QByteArray("HTTP/1.1 200 OK") << 50000 << true << QByteArray() << 1200 << reset;
    }
    void answers()
    {
        QFETCH(QByteArray, statusLine);
        QFETCH(int, bodySize);
        QFETCH(bool, withLength);
        QFETCH(QByteArray, header);
        QFETCH(int, cutAfter);
        QFETCH(QString, error);

        HttpTestServer server;
        QVERIFY(server.isListening());
        const QByteArray body = installerBytes(bodySize);
        ScriptedAnswer a = ScriptedAnswer::status(statusLine, body);
        a.withLength = withLength;
        if (!header.isEmpty())
            a.headers << header;
        if (cutAfter >= 0) {
            a.end = ScriptedAnswer::End::Cut;
            a.cutAfter = cutAfter;
        }
        server.answers.insert("/Soft/Tavora71/setup.Tavora-71.exe", a);

        QTemporaryDir folder;
        const QString destination = QDir(folder.path()).filePath(QStringLiteral("setup.Tavora-71.exe"));
        writeFile(destination, kOldInstaller);
        const QUrl url = server.url(QStringLiteral("/Soft/Tavora71/setup.Tavora-71.exe"));
        FileDownloader d;
        const Outcome o = download(d, url, destination);

        QCOMPARE(o.events, QStringList{download_texts::kGettingFileInformation});
        QCOMPARE(server.requests.size(), 1);
        QVERIFY(server.requests.first().contains("\r\nRange: bytes=0-\r\n"));
        QVERIFY(!QFile::exists(destination + QStringLiteral(".part")));
        if (error.isEmpty()) {
            QVERIFY(o.success);
            QCOMPARE(o.completes, 1);
            QVERIFY(o.errors.isEmpty());
            QCOMPARE(readFile(destination), body);
            if (withLength)
                QCOMPARE(o.percents.last(), QStringLiteral("100"));
        } else {
            QVERIFY(!o.success);
            QCOMPARE(o.completes, 0);
            // Exactly one report, and the older file is left as it was.
            QCOMPARE(o.errors, QStringList{error.contains(QLatin1String("%1")) ? error.arg(url.toString()) : error});
            QCOMPARE(readFile(destination), kOldInstaller);
        }
    }

    void slowBodyCancelled()
    {
        HttpTestServer server;
        ScriptedAnswer a = ScriptedAnswer::status("HTTP/1.1 200 OK", installerBytes(100000));
        a.end = ScriptedAnswer::End::Hang;
        a.cutAfter = 3000;
        server.answers.insert("/setup.exe", a);
        QTemporaryDir folder;
        const QString destination = QDir(folder.path()).filePath(QStringLiteral("setup.exe"));
        FileDownloader d;
        Recorder r(d);
        QVERIFY(d.DownloadFile(server.url(QStringLiteral("/setup.exe")), destination));
        QVERIFY(!d.DownloadFile(server.url(QStringLiteral("/setup.exe")), destination)); // one at a time
        QTRY_VERIFY(!r.outcome.percents.isEmpty());
        QVERIFY(QFile::exists(destination + QStringLiteral(".part")));
        d.Cancel();
        QVERIFY(r.outcome.finished);
        QVERIFY(!r.outcome.success);
        QVERIFY(r.outcome.errors.isEmpty()); // cancelling reports nothing
        QVERIFY(!QFile::exists(destination + QStringLiteral(".part")));
        QVERIFY(!QFile::exists(destination));
        QVERIFY(!d.isRunning());
    }

    void destinationThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("the folder itself") << QString();
        QTest::newRow("below a file") << QStringLiteral("plain-file/setup.exe");
    }
    void destinationThatCannotBeWritten()
    {
        QFETCH(QString, relative);
        HttpTestServer server;
        server.answers.insert("/setup.exe", ScriptedAnswer::status("HTTP/1.1 200 OK", installerBytes(4000)));
        QTemporaryDir folder;
        writeFile(QDir(folder.path()).filePath(QStringLiteral("plain-file")), "x");
        FileDownloader d;
        const Outcome o = download(d, server.url(QStringLiteral("/setup.exe")), QDir(folder.path()).filePath(relative));
        QVERIFY(!o.success);
        QCOMPARE(o.errors.size(), 1);
        QVERIFY2(o.errors.first().startsWith(QStringLiteral("Cannot write file to disk.\r\rError ")), qPrintable(o.errors.first()));
    }

    void notEnoughFreeSpaceWritesNothing()
    {
        HttpTestServer server;
        server.answers.insert("/setup.exe", ScriptedAnswer::status("HTTP/1.1 200 OK", installerBytes(4000)));
        QTemporaryDir folder;
        const QString destination = QDir(folder.path()).filePath(QStringLiteral("setup.exe"));
        writeFile(destination, kOldInstaller);
        FileDownloader d;
        QString askedAbout;
        bool partExisted = false;
        d.freeBytes = [&](const QString& f) {
            askedAbout = f;
            partExisted = QFile::exists(destination + QStringLiteral(".part"));
            return qint64(3999);
        };
        const Outcome o = download(d, server.url(QStringLiteral("/setup.exe")), destination);
        QCOMPARE(o.errors, QStringList{download_texts::kNotEnoughSpace});
        QCOMPARE(askedAbout, folder.path());
        QVERIFY(!partExisted); // asked before a byte is written
        QCOMPARE(readFile(destination), kOldInstaller);
    }

    void noConnection_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("refused") << false;
        QTest::newRow("no answer in time") << true;
    }
    void noConnection()
    {
        QFETCH(bool, listening);
        HttpTestServer server;
        ScriptedAnswer silent;
        silent.end = ScriptedAnswer::End::Silent;
        server.answers.insert("/setup.exe", silent);
        QUrl url = server.url(QStringLiteral("/setup.exe"));
        std::unique_ptr<QTcpServer> closed;
        if (!listening) {
            closed = std::make_unique<QTcpServer>();
            QVERIFY(closed->listen(QHostAddress::LocalHost, 0));
            url.setPort(closed->serverPort());
            closed->close();
        }
        QTemporaryDir folder;
        FileDownloader d;
        d.setStallTimeout(400);
        const Outcome o = download(d, url, QDir(folder.path()).filePath(QStringLiteral("setup.exe")));
        QCOMPARE(o.errors, QStringList{download_texts::kCannotConnect});
    }

    void versionCheck_data()
    {
        QTest::addColumn<QByteArray>("statusLine");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("end"); // ScriptedAnswer::End
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("published");
        using E = ScriptedAnswer::End;
        using O = VersionCheckResult::Outcome;
        const QByteArray ok = "HTTP/1.1 200 OK";
        QTest::newRow("signed 36") << ok << QByteArray("36\r\n") << int(E::Complete) << int(O::Read) << 36;
        QTest::newRow("with a byte-order mark") << ok << QByteArray("\xef\xbb\xbf" "37\n") << int(E::Complete) << int(O::Read) << 37;
        QTest::newRow("HTML") << ok << QByteArray("<html>36</html>") << int(E::Complete) << int(O::Unreadable) << 0;
        QTest::newRow("endless") << ok << QByteArray("36\n") << int(E::Endless) << int(O::Unreadable) << 0;
        QTest::newRow("missing file") << QByteArray("HTTP/1.1 404 Not Found") << QByteArray("99") << int(E::Complete)
                                      << int(O::NotFetched) << 0;
        QTest::newRow("no answer in time") << QByteArray() << QByteArray() << int(E::Silent) << int(O::NotFetched) << 0;
    }
    void versionCheck()
    {
        QFETCH(QByteArray, statusLine);
        QFETCH(QByteArray, body);
        QFETCH(int, end);
        QFETCH(int, outcome);
        QFETCH(int, published);
        const TestSigningKey key;
        HttpTestServer server;
        // Every file is signed but the HTML page, which no publisher signs.
        ScriptedAnswer a = ScriptedAnswer::status(statusLine, body.contains("html") ? body : key.sign(body));
        a.end = static_cast<ScriptedAnswer::End>(end);
        a.withLength = a.end == ScriptedAnswer::End::Complete;
        server.answers.insert("/Soft/Tavora71/LastVersion.txt", a);
        VersionCheck check;
        QSignalSpy done(&check, &VersionCheck::finished);
        QVERIFY(check.start(server.url(QStringLiteral("/Soft/Tavora71/LastVersion.txt")), key.publicKey, 3000));
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 5000); // within a few seconds
        QCOMPARE(int(check.result().outcome), outcome);
        QCOMPARE(check.result().file.number, published);
        QVERIFY(!check.isRunning());
        QVERIFY(PeakMemory() - peakBefore_ < kMemoryBound);
    }
};

TAVORA_TEST(TestFileDownloader)
#include "tst_file_downloader.moc"
