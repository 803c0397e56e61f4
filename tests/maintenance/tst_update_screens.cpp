// The start-up check and its notice, the update screen and the download window, talking to a
// real HTTP server on 127.0.0.1 through the main window's buttons, with version files signed by
// a key of the test's own.
#include "app/main_window.h"
#include "kit/twips.h"
#include "http_test_server.h"
#include "maintenance/download_status.h"
#include "maintenance/update_screen.h"
#include "maintenance/maintenance_screens.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/progress_screen.h"
#include "maintenance/update_texts.h"
#include "support/test_env.h"
#include "support/test_registry.h"
#include "update_signing.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace mt = maintenance::texts;

namespace {

const QByteArray kVersionPath = "/Soft/Tavora71/LastVersion.txt";
const QString kPackageName = QStringLiteral("tavora71_3.6-1_amd64.deb");
const QByteArray kPackagePath = "/Soft/Tavora71/tavora71_3.6-1_amd64.deb";

QByteArray packageBytes()
{
    QByteArray bytes(20000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i % 253);
    return bytes;
}

// A main window whose update server is the test's server, and whose publisher key is the test's.
struct Program {
    HttpTestServer server;
    TestSigningKey key;
    TestEnv env;
    std::unique_ptr<Frm1> main;
    bool online = true;

    // A signed version file for published naming the package for platform.
    explicit Program(int published = 35, const QString& platform = maintenance::UpdatePlatform())
    {
        publish(key.sign(VersionFileText(published, platform, kPackageName, packageBytes())));
        PublisherAddresses publisher;
        publisher.updateServer = server.base();
        publisher.updateKey = key.publicKey;
        env.ctx.setPublisher(publisher);
        main = std::make_unique<Frm1>(env.ctx);
        main->maintenance()->isOnline = [this] { return online; };
        main->load();
        main->show();
    }
    MaintenanceScreens& screens() { return *main->maintenance(); }
    void publish(const QByteArray& versionFile)
    {
        server.answers.insert(kVersionPath, ScriptedAnswer::status("HTTP/1.1 200 OK", versionFile));
    }

    // Opens the update screen and presses its check button; waits for the check to end.
    FrmUpdate* check()
    {
        main->Command13->click();
        FrmUpdate* update = screens().updateScreen();
        if (!update)
            return nullptr;
        QSignalSpy ended(update, &FrmUpdate::checkFinished);
        update->Command1->click();
        if (ended.isEmpty())
            ended.wait(15000);
        return update;
    }

    // The download window of a newer version, its download started and ended.
    Progress* download()
    {
        if (!check())
            return nullptr;
        Progress* window = screens().downloadScreen();
        if (!window)
            return nullptr;
        QSignalSpy finished(window->FileDownloader1, &maintenance::FileDownloader::finished);
        window->cmdUpdate->click();
        if (finished.isEmpty())
            finished.wait(10000);
        return window;
    }
};

enum Serving { Signed, Garbage, Missing };

} // namespace

class TestUpdateScreens : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startupCheckShowsTheNoticeOnlyForASignedNewerPackage_data()
    {
        QTest::addColumn<int>("published");
        QTest::addColumn<bool>("thisPlatform");
        QTest::addColumn<int>("serving");
        QTest::addColumn<bool>("notice");
        QTest::newRow("newer") << 36 << true << int(Signed) << true;
        QTest::newRow("same") << 35 << true << int(Signed) << false;
        QTest::newRow("newer, no package for this system") << 36 << false << int(Signed) << false;
        QTest::newRow("newer, unsigned") << 36 << true << int(Garbage) << false;
        QTest::newRow("unreachable stays silent") << 36 << true << int(Missing) << false;
    }
    void startupCheckShowsTheNoticeOnlyForASignedNewerPackage()
    {
        QFETCH(int, published);
        QFETCH(bool, thisPlatform);
        QFETCH(int, serving);
        QFETCH(bool, notice);
        Program p(published, thisPlatform ? maintenance::UpdatePlatform() : QStringLiteral("windows"));
        if (serving == Garbage)
            p.publish(VersionFileText(published, maintenance::UpdatePlatform(), kPackageName, packageBytes()));
        if (serving == Missing)
            p.server.answers.remove(kVersionPath); // answered with 404
        QSignalSpy checked(&p.screens(), &MaintenanceScreens::startupCheckFinished);
        p.main->Timer3->setInterval(10);
        p.main->Timer3->start();
        QVERIFY(checked.wait(5000));
        QCOMPARE(p.main->Frame3->isVisible(), notice);
        QVERIFY(p.env.dialogs.shown.isEmpty());
        if (notice) {
            QCOMPARE(p.screens().noticeHeading->text(), mt::kNoticeHeading);
            QCOMPARE(p.screens().noticeWarning->text(), mt::kNoticeWarning);
            p.screens().Command11->click();
            QVERIFY(p.main->Frame3->isHidden());
        }
    }

    void checkOnDemand_data()
    {
        QTest::addColumn<int>("published");
        QTest::addColumn<bool>("thisPlatform");
        QTest::addColumn<int>("serving");
        QTest::addColumn<bool>("online"); // what the system says
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QString notice = QStringLiteral("پيام");
        const QString attention = QStringLiteral("توجه");
        QTest::newRow("latest") << 35 << true << int(Signed) << true << notice << mt::kLatestVersion;
        QTest::newRow("garbage says the check failed") << 36 << true << int(Garbage) << true << attention << mt::kCheckFailed;
        QTest::newRow("newer, no package for this system") << 36 << false << int(Signed) << true << notice
                                                           << mt::kNoPackageForSystem;
        QTest::newRow("offline") << 36 << true << int(Signed) << false << notice << mt::kNoConnection;
        QTest::newRow("server missing") << 36 << true << int(Missing) << true << notice << mt::kNoConnection;
    }
    void checkOnDemand()
    {
        QFETCH(int, published);
        QFETCH(bool, thisPlatform);
        QFETCH(int, serving);
        QFETCH(bool, online);
        QFETCH(QString, title);
        QFETCH(QString, message);
        Program p(published, thisPlatform ? maintenance::UpdatePlatform() : QStringLiteral("windows"));
        p.online = online;
        if (serving == Garbage)
            p.publish("<html><body>36</body></html>");
        if (serving == Missing)
            p.server.answers.remove(kVersionPath); // answered with 404
        FrmUpdate* update = p.check();
        QVERIFY(update);
        QCOMPARE(p.env.dialogs.messageTexts(), QStringList{message});
        QCOMPARE(p.env.dialogs.lastMessage()->title, title);
        QCOMPARE(update->windowTitle(), QStringLiteral("Tavora-II-71 3.5"));
        QCOMPARE(update->Label1->text(), QStringLiteral("Tavora-II-71 3.5"));
        QVERIFY(update->isVisible());
        QVERIFY(p.screens().downloadScreen() == nullptr);
    }

    void theVerifiedPackageGoesToTheInstaller_data()
    {
        QTest::addColumn<bool>("agree");
        QTest::newRow("the user agrees to close") << true;
        QTest::newRow("the user stays") << false;
    }
    void theVerifiedPackageGoesToTheInstaller()
    {
        QFETCH(bool, agree);
        Program p(36);
        p.server.answers.insert(kPackagePath, ScriptedAnswer::status("HTTP/1.1 200 OK", packageBytes()));
        p.env.dialogs.questionAnswers.enqueue(agree);
        QVERIFY(p.check());
        Progress* download = p.screens().downloadScreen();
        QVERIFY(download && download->isVisible());
        QCOMPARE(download->windowModality(), Qt::ApplicationModal);
        QCOMPARE(download->windowTitle(), mt::kDownloadTitle);
        QVERIFY(download->Text->isHidden());
        QCOMPARE(download->I1->width(), 0);
        const QString destination = p.env.path(QStringLiteral("Updates/") + kPackageName);
        QCOMPARE(download->destination(), destination);
        // What a killed download left is removed before the next.
        QVERIFY(QDir().mkpath(p.env.path(QStringLiteral("Updates"))));
        QFile stale(p.env.path(QStringLiteral("Updates/old.deb.part")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        QSignalSpy finished(download->FileDownloader1, &maintenance::FileDownloader::finished);
        download->cmdUpdate->click();
        QCOMPARE(download->cmdUpdate->text(), mt::kCaptionCancel);
        QVERIFY(finished.wait(10000));
        QVERIFY(!stale.exists());
        QFile file(destination);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), packageBytes());
        QCOMPARE(download->SkinLabel4->text(), QStringLiteral("100%"));
        QCOMPARE(download->I1->width(), twips(6700));
        QCOMPARE(p.env.dialogs.lastMessage()->title, mt::kTitleSuccess);
        QCOMPARE(p.env.dialogs.lastMessage()->text, mt::kDownloadDone);
        // Handed to the desktop's installer, never run from here; the program ends when the user agrees.
        QVERIFY(p.env.desktop.startedPrograms.isEmpty());
        QCOMPARE(p.env.desktop.openedFiles, QStringList{destination});
        QCOMPARE(p.env.dialogs.shown.last().kind, ScriptedDialogs::Kind::Question);
        QCOMPARE(p.env.dialogs.shown.last().text, mt::kAskCloseForInstall);
        QCOMPARE(p.env.desktop.endCalls, agree ? QList<int>{0} : QList<int>{});
        if (!agree)
            QTRY_VERIFY(p.screens().downloadScreen() == nullptr);
    }

    void aPackageThatIsNotThePublishedOneIsDeletedAndNeverOffered()
    {
        Program p(36);
        QByteArray other = packageBytes();
        other[100] = 'x';
        p.server.answers.insert(kPackagePath, ScriptedAnswer::status("HTTP/1.1 200 OK", other));
        Progress* download = p.download();
        QVERIFY(download);
        const ScriptedDialogs::Shown error = *p.env.dialogs.lastMessage();
        QCOMPARE(error.title, QStringLiteral("Error"));
        QCOMPARE(error.text, maintenance::download_texts::kNotThePublishedFile);
        QCOMPARE(p.env.dialogs.messages().size(), 1); // no success beside it
        QVERIFY(QDir(p.env.path(QStringLiteral("Updates"))).isEmpty());
        QVERIFY(p.env.desktop.openedFiles.isEmpty());
        QVERIFY(p.env.desktop.endCalls.isEmpty());
    }

    void downloadErrorIsShownAndTheWindowIsReadyAgain()
    {
        Program p(36);
        Progress* download = p.download(); // the package is missing: 404
        QVERIFY(download);
        const ScriptedDialogs::Shown error = *p.env.dialogs.lastMessage();
        QCOMPARE(error.title, QStringLiteral("Error"));
        QCOMPARE(error.icon, Dialogs::Icon::Critical);
        QCOMPARE(error.text, maintenance::FileNotFoundMessage(download->Text->text()));
        QCOMPARE(download->cmdUpdate->text(), mt::kCaptionDownload);
        QVERIFY(!QFile::exists(download->destination()));
        QVERIFY(p.env.desktop.endCalls.isEmpty());
    }
};

TAVORA_TEST(TestUpdateScreens)
#include "tst_update_screens.moc"
