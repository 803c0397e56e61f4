// The road of one examinee from the main menu to a saved interpretation.
#include "examinees/identity.h"
#include "app/main_window.h"
#include "kit/texts.h"
#include "profile/profile_screen.h"
#include "profile/interpretation_text.h"
#include "scoring/scoring_screen.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QApplication>
#include <QTest>

class TestProfileFlow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fromTheKeyingButtonToASavedInterpretation()
    {
        TestEnv env;
        // A steady mixture of answers with three items left empty.
        QStringList responses;
        for (int i = 1; i <= 71; ++i)
            responses << ((i * 7) % 3 == 0 ? QStringLiteral("1") : QStringLiteral("2"));
        responses[2] = responses[16] = responses[69] = QString();
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("12"), responses,
                                             {{QStringLiteral("Jens"), examinees::kFemale},
                                              {QStringLiteral("Tahsil"), examinees::kDiplomaOrLess}}));
        Frm1 main(env.ctx);
        QVERIFY(main.load());
        main.show();
        main.Command3->click();
        FrmkLID* scoring = main.scoringScreen();
        QVERIFY(scoring && scoring->isVisible());
        QVERIFY(main.isHidden());

        env.dialogs.inputAnswers.enqueue(QStringLiteral("12"));
        scoring->Command1->click();
        QCOMPARE(scoring->LblKhali->text(), QStringLiteral("3"));

        auto openProfile = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<FrmNemudar*>(w); p && p->isVisible())
                    return p;
            return static_cast<FrmNemudar*>(nullptr);
        };
        scoring->Command8->click();
        FrmNemudar* profile = openProfile();
        QVERIFY(profile);
        QVERIFY(scoring->isHidden());
        QTRY_VERIFY(!profile->lblt.first()->text().isEmpty());
        QCOMPARE(profile->normTableName(), QStringLiteral("EvabaliniDAFMIR"));

        // The interpretation panel ranks what the profile shows.
        profile->CmdTaf->click();
        InterpretationPanel* panel = profile->FramTaf;
        QVERIFY(panel->isVisible());
        // Rank 1 is the clinical scale with the highest T on the profile.
        int highest = 3;
        for (int i = 4; i < 11; ++i)
            if (profile->lblt[i]->text().toDouble() > profile->lblt[highest]->text().toDouble())
                highest = i;
        QCOMPARE(panel->Lblnm3.at(3)->text(), profile->lblt[highest]->text());
        QCOMPARE(panel->Lblnm.at(3)->text(), store::scaleColumns().at(highest));

        panel->CmdTafneuBoland->click();
        const QString built = panel->interpretationText();
        QVERIFY(built.startsWith(QStringLiteral("اين يك تفسير سيستمي")));
        QVERIFY(built.count(QLatin1Char('\n')) > 20); // three unanswered items pass the long gate

        env.dialogs.questionAnswers.enqueue(true);
        panel->CmdSave->click();
        QCOMPARE(env.dialogs.lastMessage()->text, texts::kSaved);
        store::View ide(env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"));
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("12")));
        QVERIFY(ide.value(QStringLiteral("TT1")).startsWith(QStringLiteral("اين يك تفسير سيستمي")));
        QVERIFY(ide.value(QStringLiteral("TT1")).contains(QStringLiteral("\r\n")));
        QCOMPARE(panel->savedInterpretation(), ide.value(QStringLiteral("TT1")));

        // Leaving the profile brings the scoring screen back; leaving that, the main window.
        profile->Cmdexit->click();
        QTRY_VERIFY(scoring->isVisible());
        scoring->Command4->click();
        QTRY_VERIFY(main.isVisible());
        QVERIFY(!main.closeShowsExitScreen()); // closing now ends without the exit screen
    }
};

TAVORA_TEST(TestProfileFlow)
#include "tst_profile_flow.moc"
