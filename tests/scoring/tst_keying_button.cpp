#include "app/main_window.h"
#include "scoring/scoring_screen.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

class TestKeyingButton : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyExamineeTableDoesNothingButHidePanels();
    void opensScoringScreenInPlaceOfMainWindow();
};

void TestKeyingButton::emptyExamineeTableDoesNothingButHidePanels()
{
    TestEnv env;
    Frm1 main(env.ctx);
    QVERIFY(main.load());
    main.show();
    main.Frame8->show();
    main.Command3->click();
    QVERIFY(!main.Frame8->isVisible());
    QVERIFY(main.isVisible());
    QVERIFY(main.closeShowsExitScreen());
    QVERIFY(!main.scoringScreen());
    QVERIFY(env.dialogs.shown.isEmpty());
}

void TestKeyingButton::opensScoringScreenInPlaceOfMainWindow()
{
    TestEnv env;
    Frm1 main(env.ctx);
    QVERIFY(main.load());
    main.show();
    // Registered after the main window loaded: the button looks at the table afresh.
    QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("1"), QStringList(71, QStringLiteral("1"))));
    main.Frame8->show();
    main.Command3->click();

    FrmkLID* screen = main.scoringScreen();
    QVERIFY(screen);
    QVERIFY(!main.closeShowsExitScreen());
    QVERIFY(!main.Frame8->isVisible());
    QVERIFY(!main.isVisible());
    QVERIFY(screen->isVisible());
    QVERIFY(!screen->isModal());
    QCOMPARE(screen->SkinLbl->text(), main.IdentifierLabel());

    env.dialogs.inputAnswers.enqueue(QStringLiteral("1"));
    screen->Command1->click();
    QCOMPARE(screen->Text5->text(), QStringLiteral("1"));

    screen->close();
    QVERIFY(main.isVisible());
    QVERIFY(!screen->isVisible());

    // Opened again: the same screen, back to no examinee.
    main.Command3->click();
    QCOMPARE(main.scoringScreen(), screen);
    QVERIFY(screen->isVisible());
    QVERIFY(!main.isVisible());
    QVERIFY(screen->Text5->text().isEmpty());
    QVERIFY(!screen->Frame3->isVisible());
}

TAVORA_TEST(TestKeyingButton)
#include "tst_keying_button.moc"
