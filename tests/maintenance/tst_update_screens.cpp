// The start-up check and its notice, the update screen and the download window, talking to a
// real HTTP server on 127.0.0.1 through the main window's buttons.
#include "app/main_window.h"
#include "kit/twips.h"
#include "http_test_server.h"
#include "maintenance/download_status.h"
#include "maintenance/update_screen.h"
#include "maintenance/maintenance_screens.h"
#include "maintenance/maintenance_texts.h"
#include "maintenance/progress_screen.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace mt = maintenance::texts;

namespace {

const QByteArray kVersionPath = "/Soft/Tavora71/LastVersion.txt";
const QByteArray kInstallerPath = "/Soft/Tavora71/setup.Tavora-71.exe";

// A main window whose update server is the test's server.
struct Program {
    HttpTestServer server;
    TestEnv env;
    std::unique_ptr<Frm1> main;
    bool online = true;

    explicit Program(const QByteArray& published = "35")
    {
        server.answers.insert(kVersionPath, ScriptedAnswer::status("HTTP/1.1 200 OK", published));
        PublisherAddresses publisher;
        publisher.updateServer = server.base();
        env.ctx.setPublisher(publisher);
        main = std::make_unique<Frm1>(env.ctx);
        main->maintenance()->isOnline = [this] { return online; };
        main->load();
        main->show();
    }
    MaintenanceScreens& screens() { return *main->maintenance(); }

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
};

} // namespace

class TestUpdateScreens : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startupCheckShowsTheNoticeOnlyForANewerVersion_data()
    {
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<bool>("notice");
        QTest::newRow("newer") << QByteArray("36") << true << true;
        QTest::newRow("same") << QByteArray("35") << true << false;
        QTest::newRow("unreachable stays silent") << QByteArray("36") << false << false;
    }
    void startupCheckShowsTheNoticeOnlyForANewerVersion()
    {
        QFETCH(QByteArray, published);
        QFETCH(bool, reachable);
        QFETCH(bool, notice);
        Program p(published);
        if (!reachable)
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
        QTest::addColumn<QByteArray>("published");
        QTest::addColumn<int>("connection"); // 0 online, 1 the system says offline, 2 no answer
        QTest::addColumn<QString>("message");
        QTest::newRow("latest") << QByteArray("35") << 0 << mt::kLatestVersion;
        QTest::newRow("letters count 0") << QByteArray("latest") << 0 << mt::kLatestVersion;
        QTest::newRow("offline") << QByteArray("36") << 1 << mt::kNoConnection;
        QTest::newRow("server missing") << QByteArray("36") << 2 << mt::kNoConnection;
    }
    void checkOnDemand()
    {
        QFETCH(QByteArray, published);
        QFETCH(int, connection);
        QFETCH(QString, message);
        Program p(published);
        p.online = connection != 1;
        if (connection == 2)
            p.server.answers.remove(kVersionPath); // answered with 404
        FrmUpdate* update = p.check();
        QVERIFY(update);
        QCOMPARE(p.env.dialogs.messageTexts(), QStringList{message});
        QCOMPARE(p.env.dialogs.lastMessage()->title, QStringLiteral("پيام"));
        QCOMPARE(p.env.dialogs.lastMessage()->icon, Dialogs::Icon::Information);
        QCOMPARE(update->windowTitle(), QStringLiteral("Tavora-II-71 3.5"));
        QCOMPARE(update->Label1->text(), QStringLiteral("Tavora-II-71 3.5"));
        QVERIFY(update->isVisible());
        QVERIFY(p.screens().downloadScreen() == nullptr);
    }

    void newerVersionLeadsToTheDownloadWhichOpensTheFolder()
    {
        Program p("36");
        QByteArray installer(20000, '\0');
        for (int i = 0; i < installer.size(); ++i)
            installer[i] = static_cast<char>(i % 253);
        p.server.answers.insert(kInstallerPath, ScriptedAnswer::status("HTTP/1.1 200 OK", installer));
        FrmUpdate* update = p.check();
        QVERIFY(update);
        QVERIFY(!update->isVisible());
        Progress* download = p.screens().downloadScreen();
        QVERIFY(download && download->isVisible());
        QCOMPARE(download->windowModality(), Qt::ApplicationModal);
        QCOMPARE(download->windowTitle(), mt::kDownloadTitle);
        QVERIFY(download->Text->isHidden());
        QCOMPARE(download->I1->width(), 0);
        QCOMPARE(download->destination(), p.env.path(QStringLiteral("setup.Tavora-71.exe")));

        QSignalSpy finished(download->FileDownloader1, &maintenance::FileDownloader::finished);
        download->cmdUpdate->click();
        QCOMPARE(download->cmdUpdate->text(), mt::kCaptionCancel);
        QVERIFY(finished.wait(10000));
        QFile file(download->destination());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), installer);
        QCOMPARE(download->SkinLabel4->text(), QStringLiteral("100%"));
        QCOMPARE(download->I1->width(), twips(6700));
        QCOMPARE(p.env.dialogs.lastMessage()->title, mt::kTitleSuccess);
        QCOMPARE(p.env.dialogs.lastMessage()->text, mt::kDownloadDone);
        QCOMPARE(download->cmdUpdate->text(), mt::kCaptionDownload);
        // Never run from here: the folder is opened for the user, then the program ends.
        QVERIFY(p.env.desktop.startedPrograms.isEmpty());
        QCOMPARE(p.env.desktop.openedFiles, QStringList{p.env.folder()});
        QCOMPARE(p.env.desktop.endCalls, QList<int>{0});
    }

    void downloadErrorIsShownAndTheWindowIsReadyAgain()
    {
        Program p("36");
        QVERIFY(p.check());
        Progress* download = p.screens().downloadScreen();
        QVERIFY(download);
        QSignalSpy finished(download->FileDownloader1, &maintenance::FileDownloader::finished);
        download->cmdUpdate->click(); // the installer is missing: 404
        QVERIFY(finished.wait(10000));
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
