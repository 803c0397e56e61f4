// Start-up, the main window's menu, hints, links and its close step.
#include "app/link_picture.h"
#include "settings/clinic_details_panel.h"
#include "settings/settings_panel.h"
#include "app/main_window.h"
#include "examinees/registration_panel.h"
#include "kit/single_instance.h"
#include "app/startup.h"
#include "kit/texts.h"
#include "maintenance/exit_screen.h"
#include "maintenance/maintenance_screens.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QMouseEvent>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QTest>

namespace {

void mouseMoveOver(QWidget* w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

void setSetting(const QString& folder, const QString& column, const QVariant& value)
{
    store::View theme(QDir(folder).filePath(QStringLiteral("Theme.skn")), QStringLiteral("Theme"));
    QVERIFY(theme.refresh());
    QVERIFY(theme.setValue(column, value));
    QVERIFY(theme.update());
}

} // namespace

using namespace Qt::StringLiterals;

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startupCreatesFilesAndLoadsTheWindow()
    {
        TestEnv env(false);
        SingleInstanceGuard guard(env.folder());
        std::unique_ptr<Frm1> w = StartProgram(env.ctx, guard);
        QVERIFY(w);
        QVERIFY(env.dialogs.shown.isEmpty());
        QVERIFY(QFile::exists(env.path(QStringLiteral("Tavora71.mdb"))));
        QCOMPARE(w->windowTitle(), QStringLiteral("Tavora-II-71"));
        QCOMPARE(w->SkinLabel9->text(), QStringLiteral("Tavora-II-71 V: 3.5"));
        QVERIFY(w->closeShowsExitScreen());
        QCOMPARE(w->IdentifierLabel(), texts::kDefaultIdentifierLabel);
        QCOMPARE(w->Command4->text(), texts::kCaptionShowPrefix + texts::kDefaultIdentifierLabel);
        QCOMPARE(w->pos(), QPoint(156, 51)); // 2340, 765 twips
        QVERIFY(w->Timer3->isActive());
        QVERIFY(w->Timer3->isSingleShot());
        QCOMPARE(w->Timer3->interval(), 10000);
        QVERIFY(w->SkinLabel21->text().startsWith(texts::kPermanentNotice + QLatin1Char(' ')));
        QVERIFY(w->SkinLabel21->text().endsWith(env.ctx.publisher().channelHandle));
        for (QFrame* panel : {w->Frame8, w->Frame9, w->Frame6, w->Frame3})
            QVERIFY(panel->isHidden());
        QVERIFY(!w->Frame10 && !w->Frame1 && !w->normTablesFrame); // made when first opened
        QVERIFY(w->SkinLabel2->isHidden());
        // The link picture comes drawn with the program, pixel for pixel as drawing it gives.
        QCOMPARE(BuiltLinkPicture(w->Picture1->size()), DrawLinkPicture(w->Picture1->size()));
    }

    void aSecondCopyIsRefused()
    {
        TestEnv env;
        SingleInstanceGuard first(env.folder());
        QVERIFY(first.tryAcquire());
        SingleInstanceGuard second(env.folder());
        std::unique_ptr<Frm1> w = StartProgram(env.ctx, second);
        QVERIFY(!w);
        QCOMPARE(env.dialogs.shown.size(), 1);
        const ScriptedDialogs::Shown box = env.dialogs.shown.first();
        QCOMPARE(box.title, QStringLiteral("Warnnig"));
        QCOMPARE(box.text, QStringLiteral("برنامه در حال اجراست"));
        QCOMPARE(box.icon, Dialogs::Icon::Information);
        QCOMPARE(box.autoCloseMs, 0);
        // Another program folder is another installation.
        TestEnv other;
        SingleInstanceGuard elsewhere(other.folder());
        QVERIFY(StartProgram(other.ctx, elsewhere));
    }

    // The lock belongs to a running program: another process holding it refuses the start, and
    // once that process is killed the next start goes ahead with nothing left to clear.
    void aKilledCopyLeavesNoLock()
    {
        TestEnv env;
        QProcess holder;
        holder.start(u"flock"_s, {u"-n"_s, u"-o"_s, QDir(env.folder()).filePath(u".tavora71.lock"_s), u"sh"_s, u"-c"_s,
                                  u"echo locked; read x"_s});
        QVERIFY(holder.waitForReadyRead(10000));
        SingleInstanceGuard guard(env.folder());
        QVERIFY(!guard.tryAcquire());
        QVERIFY(guard.heldByAnother());
        holder.kill();
        QVERIFY(holder.waitForFinished(10000));
        QVERIFY(guard.tryAcquire());
        QVERIFY(guard.isHeld());
    }

    void aDamagedFileEndsTheProgramInOrder()
    {
        TestEnv env;
        QFile f(env.path(QStringLiteral("Theme.skn")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("garbage");
        f.close();
        SingleInstanceGuard guard(env.folder());
        QVERIFY(!StartProgram(env.ctx, guard));
        QCOMPARE(env.dialogs.shown.size(), 1);
        QCOMPARE(env.dialogs.shown.first().title, QStringLiteral("خطا"));
        QVERIFY(env.dialogs.shown.first().text.contains(QStringLiteral("Theme.skn")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("garbage"));
    }

    // Damage deep in the examinee file does not stop the start (the window reads little), but once
    // the window shows, the file's quick check names it, so that the last backup is restored.
    void aDamagedExamineeFileIsNamedOnceTheWindowShows()
    {
        TestEnv env;
        const QString path = env.path(u"Tavora71.mdb"_s);
        QVERIFY(testing_support::execSql(path, {u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                                                "INSERT INTO IDE (Code, TT1) SELECT i, printf('%.500c', 'x') FROM n"_s}));
        int page = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"pages"_s);
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(u"SELECT pageno FROM dbstat WHERE name = 'IDE' AND pagetype = 'leaf' LIMIT 1 OFFSET 200"_s) && q.next());
            page = q.value(0).toInt();
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(u"pages"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(qint64(page - 1) * 4096) && f.write(QByteArray(4096, 'Z')) == 4096);
        f.close();

        SingleInstanceGuard guard(env.folder());
        std::unique_ptr<Frm1> w = StartProgram(env.ctx, guard);
        QVERIFY(w);
        QVERIFY(env.dialogs.shown.isEmpty());
        w->show();
        QTRY_COMPARE(env.dialogs.messages().size(), 1);
        QCOMPARE(env.dialogs.lastMessage()->title, u"خطا"_s);
        QVERIFY(env.dialogs.lastMessage()->text.contains(path));
    }

    // What can go wrong before the window shows: said as it is, and only a damaged data file
    // or an unusable folder ends the program.
    void startupProblemsNamed_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("said"); // in the box's text
        QTest::newRow("folder cannot be written") << 0 << false << u"خطا"_s << u"نوشت"_s;
        QTest::newRow("theme files cannot be made") << 1 << true << u"هشدار"_s << u"skin"_s;
        QTest::newRow("theme is a pipe") << 2 << true << QString() << QString();
        QTest::newRow("data file links out of the folder") << 3 << false << u"خطا"_s << u"Theme.skn"_s;
        QTest::newRow("delivered table damaged") << 4 << true << u"خطا"_s << u"QUS"_s;
    }

    void startupProblemsNamed()
    {
        QFETCH(int, fault);
        QFETCH(bool, starts);
        QFETCH(QString, title);
        QFETCH(QString, said);
        TestEnv env(fault == 1 || fault == 2 ? false : true);
        QTemporaryDir elsewhere;
        QString folder = env.folder();
        switch (fault) {
        case 0: // a file where the folder should be: nothing can be written in it
            folder = env.path(u"not-a-folder"_s);
            QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
            break;
        case 1: // a file named skin: the theme folder cannot be made
            QVERIFY(QFile(env.path(u"skin"_s)).open(QIODevice::WriteOnly));
            break;
        case 2: // the theme named in the list is a pipe: reading it would wait for ever
            QVERIFY(QDir(env.folder()).mkdir(u"skin"_s));
            QVERIFY(QFile(env.path(u"skin/skin.txt"_s)).open(QIODevice::WriteOnly));
            QVERIFY(QProcess::execute(u"mkfifo"_s, {env.path(u"skin/1.skn"_s)}) == 0);
            break;
        case 3:
            QVERIFY(QFile::rename(env.path(u"Theme.skn"_s), elsewhere.filePath(u"Theme.skn"_s)));
            QVERIFY(QFile::link(elsewhere.filePath(u"Theme.skn"_s), env.path(u"Theme.skn"_s)));
            break;
        case 4:
            QVERIFY(testing_support::execSql(env.path(u"Tavora71.mdb"_s), {u"DELETE FROM QUS WHERE ID = '9'"_s}));
            break;
        }
        AppContext ctx(folder, env.dialogs, env.clock, env.desktop);
        SingleInstanceGuard guard(folder);
        std::unique_ptr<Frm1> w = StartProgram(ctx, guard);
        QCOMPARE(bool(w), starts);
        if (w) { // what is checked once the window is painted is said then
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            QCoreApplication::processEvents();
        }
        if (title.isEmpty()) {
            QVERIFY(env.dialogs.shown.isEmpty());
            return;
        }
        QTRY_COMPARE(env.dialogs.messages().size(), 1);
        QCOMPARE(env.dialogs.lastMessage()->title, title);
        QVERIFY2(env.dialogs.lastMessage()->text.contains(said), qPrintable(env.dialogs.lastMessage()->text));
        if (fault == 4) { // the test that needs the items is refused; the rest works
            QVERIFY(testing_support::addExaminee(env.folder(), u"1"_s));
            QVERIFY(w->load());
            w->Command2->click();
            QCOMPARE(env.dialogs.messages().size(), 2);
            QVERIFY(env.dialogs.lastMessage()->text.contains(u"QUS"_s));
            QVERIFY(env.dialogs.inputAnswers.isEmpty() && !w->testScreen());
        }
    }

    // A clinic name (or any stored text) that looks like markup reads as it was typed.
    void storedTextIsShownAsPlainText()
    {
        TestEnv env;
        const QString name = u"<h1>کلينيک</h1> & <b>مهر</b>"_s;
        QVERIFY(testing_support::execSql(env.path(u"Theme.skn"_s), {u"UPDATE Theme SET Name = '%1'"_s.arg(name)}));
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        w.show();
        QCOMPARE(w.SkinLabel1->text(), name);
        for (const QLabel* label : w.findChildren<QLabel*>())
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }

    void hintsFollowTheIdentifierLabel()
    {
        TestEnv env;
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        mouseMoveOver(w.Command1);
        QVERIFY(!w.SkinLabel2->isHidden());
        QCOMPARE(w.SkinLabel2->text(), texts::kHintRegisterA + texts::kDefaultIdentifierLabel + texts::kHintRegisterB);

        w.clinicDetailsPanel()->Text23->setText(QStringLiteral("شماره پرونده")); // edited in the clinic details, not yet saved
        QCOMPARE(w.Command4->text(), QStringLiteral("نمايش شماره پرونده"));
        mouseMoveOver(w.Command1);
        QVERIFY(w.SkinLabel2->text().contains(QStringLiteral(" و شماره پرونده را وارد کنيد")));
        mouseMoveOver(w.Command2);
        QCOMPARE(w.SkinLabel2->text(), texts::kHintRunTestA + QStringLiteral("شماره پرونده") + texts::kHintRunTestB);
        mouseMoveOver(w.Command4);
        QVERIFY(w.SkinLabel2->text().startsWith(QStringLiteral(" درصورتيکه شماره پرونده را فراموش")));
        mouseMoveOver(w.Command3);
        QCOMPARE(w.SkinLabel2->text(), texts::kHintKeying);
        mouseMoveOver(w.Command9);
        QCOMPARE(w.SkinLabel2->text(), texts::kHintSettings);

        mouseMoveOver(w.Command6); // a button without a hint changes nothing
        QCOMPARE(w.SkinLabel2->text(), texts::kHintSettings);
        mouseMoveOver(w.Frame7);   // the menu panel clears and hides the line
        QVERIFY(w.SkinLabel2->isHidden());
        QVERIFY(w.SkinLabel2->text().isEmpty());
        mouseMoveOver(w.Command3);
        mouseMoveOver(&w);         // and so does the window background
        QVERIFY(w.SkinLabel2->isHidden());
    }

    void settingsRowFillsClinicNameAndContactLines()
    {
        TestEnv env;
        setSetting(env.folder(), QStringLiteral("Name"), QStringLiteral("کلينيک آرامش"));
        setSetting(env.folder(), QStringLiteral("T1"), QStringLiteral("info@example.ir"));
        setSetting(env.folder(), QStringLiteral("T6"), QStringLiteral("021-5555"));
        setSetting(env.folder(), QStringLiteral("T11"), QStringLiteral("کد مراجع"));
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        QCOMPARE(w.SkinLabel1->text(), QStringLiteral("کلينيک آرامش"));
        QCOMPARE(w.IdentifierLabel(), QStringLiteral("کد مراجع"));
        // Each line ends in CR LF, as the report prints them.
        QCOMPARE(w.contactLines(), QStringLiteral("info@example.ir\r\n021-5555\r\n"));
        // Read again (as after a restore), the captions follow the row as it now is, whether or
        // not the clinic details were typed in meanwhile.
        for (const bool typed : {false, true}) {
            setSetting(env.folder(), QStringLiteral("Name"), typed ? QStringLiteral("کلينيک مهر") : QString());
            setSetting(env.folder(), QStringLiteral("T11"), typed ? QString() : QStringLiteral("شماره پرونده"));
            if (typed)
                w.clinicDetailsPanel()->Text23->setText(QStringLiteral("چيز ديگر"));
            QVERIFY(w.load());
            QCOMPARE(w.SkinLabel1->text(), typed ? QStringLiteral("کلينيک مهر") : QString());
            QCOMPARE(w.Command4->text(), texts::kCaptionShowPrefix + (typed ? QString() : QStringLiteral("شماره پرونده")));
        }
    }

    void logoIsReadByContentAndAMissingOneLeavesItEmpty()
    {
        TestEnv env;
        {
            Frm1 w(env.ctx);
            QVERIFY(w.load());
            QVERIFY(w.logo().isNull());
            QVERIFY(w.settingsPanel()->Picture2->pixmap().isNull());
        }
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(env.path(QStringLiteral("tavora-71.jpg")), "BMP")); // a bitmap under a .jpg name
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        QCOMPARE(w.logo().size(), QSize(40, 20));
        QVERIFY(!w.settingsPanel()->Picture2->pixmap().isNull());
    }

    void linksOpenThePublishersAddresses()
    {
        TestEnv env;
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        w.Cmandkanal->click();
        w.CmdHelp->click();
        w.Command19->click();
        QTest::mouseClick(w.Picture1, Qt::LeftButton);
        const PublisherAddresses& p = env.ctx.publisher();
        QCOMPARE(env.desktop.openedUrls,
                 (QList<QUrl>{p.channel, p.onWebSite(QStringLiteral("/discussions.html")),
                              p.onWebSite(QStringLiteral("/Soft/soft-list2.pdf")), p.webSite, p.shop}));
        QCOMPARE(w.CmdHelp->toolTip(), texts::kTooltipHelp);
    }

    void hideAllPanelsDropsAnUnsavedRegistrationRow()
    {
        TestEnv env;
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        w.registrationPanel()->show();
        w.Command1->setEnabled(false);
        store::View& row = w.registrationPanel()->Adodc2;
        row.addNew();
        QVERIFY(row.setValue(QStringLiteral("Code"), QStringLiteral("1")));
        w.HideAllPanels();
        QVERIFY(w.Frame10->isHidden());
        QVERIFY(w.Command1->isEnabled());
        QVERIFY(!row.isNew());
        (void)row.update(); // a later store must find nothing left of the dropped row
        store::View ide(env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.count(), 0);
    }

    void closeStepFollowsTheExitFlag()
    {
        TestEnv env;
        {
            Frm1 w(env.ctx);
            QVERIFY(w.load());
            w.show();
            w.registrationPanel()->show();
            w.close(); // flag "2": panels hidden, then the exit screen, which decides what follows
            QVERIFY(w.Frame10->isHidden());
            QVERIFY(w.maintenance()->exitScreen() && w.maintenance()->exitScreen()->isVisible());
            QVERIFY(env.desktop.endCalls.isEmpty());
        }
        {
            Frm1 w(env.ctx);
            QVERIFY(w.load());
            w.show();
            Q_EMIT w.registrationPanel()->registered(); // a registration sets the flag
            w.close(); // flag "1": the window simply closes
            QVERIFY(w.isHidden());
            QVERIFY(env.desktop.endCalls.isEmpty());
        }
        {
            Frm1 w(env.ctx);
            QVERIFY(w.load());
            QList<QPoint> shownAt;
            w.showExitScreen = [&](QPoint p) { shownAt << p; };
            w.show();
            Q_EMIT w.registrationPanel()->registered(); // a registration sets the flag
            w.Command6->click(); // the exit button shows the exit screen even with flag "1"
            QCOMPARE(shownAt, QList<QPoint>{QPoint(5000, 4500)});
            QVERIFY(w.isHidden());
        }
        {
            Frm1 w(env.ctx);
            QVERIFY(w.load());
            QList<QPoint> shownAt;
            w.showExitScreen = [&](QPoint p) { shownAt << p; };
            w.show();
            w.close();
            QCOMPARE(shownAt, QList<QPoint>{QPoint(5000, 1500)});
        }
    }

    void escapePressesTheExitButton()
    {
        TestEnv env;
        Frm1 w(env.ctx);
        QVERIFY(w.load());
        int exits = 0;
        w.showExitScreen = [&](QPoint) { ++exits; };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(exits >= 1);
    }

    void standardButtonsAndLayoutArePersian()
    {
        // The test program configures the display as the product does.
        QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
        QVERIFY(QApplication::font().families().first().contains(QStringLiteral("Arabic")));
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("پيام"), QStringLiteral("x"),
                        QMessageBox::Yes | QMessageBox::No);
        const QString yes = box.button(QMessageBox::Yes)->text();
        QVERIFY2(!yes.contains(QStringLiteral("Yes")), qPrintable(yes));
        QVERIFY(yes.contains(QRegularExpression(QStringLiteral("[\\x{0600}-\\x{06FF}]"))));
        // The report's customary faces resolve to installed Persian faces.
        TAVORA_SKIP_WITHOUT_PERSIAN_FONTS();
        QCOMPARE(QFontInfo(QFont(QStringLiteral("B Nazanin"))).family(), QStringLiteral("Nazli"));
        QCOMPARE(QFontInfo(QFont(QStringLiteral("B Titr"))).family(), QStringLiteral("Titr"));
    }

    void updateCheckRunsOnceAfterItsTimer()
    {
        TestEnv env;
        Frm1 w(env.ctx);
        int checks = 0;
        w.startupUpdateCheck = [&] { ++checks; };
        QVERIFY(w.load());
        w.Timer3->setInterval(10);
        w.Timer3->start();
        QTRY_COMPARE(checks, 1);
        // Single-shot: nothing is left to start a second check.
        QVERIFY(w.Timer3->isSingleShot());
        QVERIFY(!w.Timer3->isActive());
        QCoreApplication::processEvents();
        QCOMPARE(checks, 1);
    }
};

TAVORA_TEST(TestMainWindow)
#include "tst_main_window.moc"
