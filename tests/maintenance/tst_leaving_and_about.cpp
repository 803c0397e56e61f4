// Leaving through the exit confirmation, and the about screen, as the main window opens them.
#include "examinees/registration_panel.h"
#include "app/main_window.h"
#include "kit/twips.h"
#include "maintenance/about_screen.h"
#include "maintenance/exit_screen.h"
#include "maintenance/backup_screen.h"
#include "maintenance/maintenance_screens.h"
#include "maintenance/maintenance_texts.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QMouseEvent>
#include <QTest>

namespace mt = maintenance::texts;

namespace {

void moveOver(QWidget* w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

void clickOn(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

// The main window as the program shows it, left through its close step.
struct Leaving {
    TestEnv env;
    Frm1 main{env.ctx};
    exitpro* exit = nullptr;

    Leaving()
    {
        main.load();
        main.show();
        main.close();
        exit = main.maintenance()->exitScreen();
    }
};

} // namespace

class TestLeavingAndAbout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closingTheMainWindowAsks()
    {
        Leaving l;
        QVERIFY(l.exit && l.exit->isVisible());
        QVERIFY(l.main.isHidden());
        QCOMPARE(l.exit->pos(), twipsPoint(5000, 1500));
        QCOMPARE(l.exit->Label1->text(), mt::kExitQuestion);
        QVERIFY(!l.exit->Check1->isChecked());
        QVERIFY(l.exit->k1->isVisible() && l.exit->c1->isVisible());
        QVERIFY(l.exit->k2->isHidden() && l.exit->c2->isHidden());
        for (QTimer* t : {l.exit->Timer2, l.exit->Timer3, l.exit->tmCaptionAnimate})
            QVERIFY(t->isActive() && t->interval() == 500);
    }

    void escapeWithTheBoxTickedOpensTheBackupScreen()
    {
        Leaving l;
        l.exit->Check1->setChecked(true);
        QVERIFY(QTest::qWaitForWindowExposed(l.exit));
        QTest::keyClick(l.exit, Qt::Key_Escape);
        QVERIFY(l.exit->backupScreen() && l.exit->backupScreen()->isVisible());
        QVERIFY(l.exit->isHidden());
        QVERIFY(l.env.desktop.endCalls.isEmpty());
        l.exit->backupScreen()->close(); // closing it ends the program
        QCOMPARE(l.env.desktop.endCalls, QList<int>{0});
    }

    void onlyTheHighlightedPicturesTakeClicks()
    {
        Leaving l;
        clickOn(l.exit->k1); // the normal picture does nothing
        QVERIFY(l.env.desktop.endCalls.isEmpty());
        moveOver(l.exit->k1);
        QVERIFY(l.exit->k1->isHidden() && l.exit->k2->isVisible());
        moveOver(l.exit); // the bare form puts the normal pictures back
        QVERIFY(l.exit->k1->isVisible() && l.exit->k2->isHidden());
        moveOver(l.exit->k1);
        clickOn(l.exit->k2);
        QCOMPARE(l.env.desktop.endCalls, QList<int>{0}); // box not ticked: the program ends
        QVERIFY(l.exit->backupScreen() == nullptr);
    }

    void cancelReturnsToTheReloadedMainWindow()
    {
        Leaving l;
        Q_EMIT l.main.registrationPanel()->registered(); // a registration sets the flag
        l.main.Timer3->stop();
        moveOver(l.exit->c1);
        QVERIFY(l.exit->c2->isVisible());
        clickOn(l.exit->c2);
        QVERIFY(l.main.isVisible());
        QVERIFY(l.main.closeShowsExitScreen()); // the load step ran again
        QVERIFY(l.main.Timer3->isActive());
        QTRY_VERIFY(l.main.maintenance()->exitScreen() == nullptr); // closed and gone
        QVERIFY(l.env.desktop.endCalls.isEmpty());
    }

    void captionAlternatesAndTheBoxFollows()
    {
        Leaving l;
        QCOMPARE(l.exit->windowTitle(), mt::kMakeBackupCopy);
        QStringList titles;
        QStringList boxes;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                if (titles.isEmpty() || titles.last() != l.exit->windowTitle())
                    titles << l.exit->windowTitle();
                if (boxes.isEmpty() || boxes.last() != l.exit->Check1->text())
                    boxes << l.exit->Check1->text();
                return titles.size() >= 4 && boxes.size() >= 3;
            }(),
            4000);
        for (const QString& t : titles.mid(1))
            QVERIFY(t == mt::kBackingUp || t == mt::kMakeBackupCopyCaption);
        QVERIFY(titles.contains(mt::kBackingUp) && titles.contains(mt::kMakeBackupCopyCaption));
        QVERIFY(boxes.contains(mt::kBackingUp));
    }

    void aboutOpensOnlyWhenResponsesExist()
    {
        TestEnv env;
        Frm1 main(env.ctx);
        QVERIFY(main.load());
        main.Command12->click();
        QVERIFY(main.maintenance()->aboutScreen() == nullptr);
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("1")));
        QVERIFY(main.Adodc3.refresh());
        main.registrationPanel()->show();
        main.Command12->click();
        About* about = main.maintenance()->aboutScreen();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        QCOMPARE(about->windowTitle(), mt::kAboutCaption); // fixed, never an examinee's data
        QVERIFY(main.Frame10->isHidden());
        QCOMPARE(about->pos(), twipsPoint(2300, 1200));
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTest::keyClick(about, Qt::Key_Escape);
        QTRY_VERIFY(main.maintenance()->aboutScreen() == nullptr);
    }

    void aboutScrollsColoursAndClosesUpTheCreditLine()
    {
        TestEnv env;
        About about(env.ctx);
        for (QTimer* t : {about.Timer1, about.Timer10, about.Timer3})
            t->stop(); // stepped by hand below
        QCOMPARE(about.Timer10->interval(), 55);
        QCOMPARE(about.Timer1->interval(), 700);
        const QStringList credits = about.creditList();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(about.labels().at(i)->text(), credits.at(i));

        // The labels move up; the first to reach the top comes back at the bottom with entry 5.
        const int firstTop = about.labelTop(1);
        about.scrollTick();
        QCOMPARE(about.labelTop(1), firstTop - 15);
        for (int tick = 0; tick < 100 && about.labelTop(0) < firstTop; ++tick)
            about.scrollTick();
        QVERIFY(about.labelTop(0) > about.labelTop(3));
        QCOMPARE(about.Label1->text(), credits.at(4));

        about.colourTick();
        QCOMPARE(about.Label1->property("creditColour").value<QColor>(), QColor(0, 0, 0));
        about.colourTick();
        QCOMPARE(about.Label1->property("creditColour").value<QColor>(), QColor(0, 128, 0));

        QVERIFY(about.Text1->text().contains(QLatin1Char('.')));
        about.Timer3->start();
        QTRY_VERIFY(!about.Timer3->isActive());
        const QString closed = about.Text1->text();
        QVERIFY(!closed.contains(QLatin1Char('.')));
        QVERIFY(!closed.contains(QStringLiteral("  ")));
        QVERIFY(!closed.startsWith(QLatin1Char(' ')) && !closed.endsWith(QLatin1Char(' ')));
        QVERIFY(closed.contains(QLatin1Char(' ')));
    }
};

TAVORA_TEST(TestLeavingAndAbout)
#include "tst_leaving_and_about.moc"
