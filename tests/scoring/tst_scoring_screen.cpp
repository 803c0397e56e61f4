#include "examinees/identity.h"
#include "kit/texts.h"
#include "store/schema.h"
#include "scoring/scoring_screen.h"
#include "scoring/scoring_texts.h"
#include "store/data_files.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

namespace {

const QString kLabel = QStringLiteral("شماره پرونده");

QStringList all(const QString& response)
{
    return QStringList(71, response);
}

QHash<QString, QString> identity(const QString& name, const QString& sex, const QString& education)
{
    return {{QStringLiteral("FName"), name},      {QStringLiteral("LName"), QStringLiteral("رضايي")},
            {QStringLiteral("Jens"), sex},        {QStringLiteral("Sen"), QStringLiteral("34")},
            {QStringLiteral("Taahol"), QStringLiteral("متاهل")},
            {QStringLiteral("Tahsil"), education}, {QStringLiteral("Date"), QStringLiteral("1401/05/30")},
            {QStringLiteral("Time"), QStringLiteral("10:30:15")}, {QStringLiteral("Group"), QStringLiteral("الف")}};
}

// The scoring screen on a fresh program folder, opened as the main window opens it.
struct Screen {
    TestEnv env;
    QWidget mainWindow;
    QString label = kLabel;
    std::unique_ptr<FrmkLID> form;
    int profileOpened = 0;
    examinees::ExamineeRecord handedOver;

    Screen()
    {
        form = std::make_unique<FrmkLID>(env.ctx, &mainWindow, [this] { return label; });
        QObject::connect(form.get(), &FrmkLID::profileRequested, form.get(),
                         [this](const examinees::ExamineeRecord& e) {
                             ++profileOpened;
                             handedOver = e;
                         });
        form->load();
        form->show();
    }

    void select(const std::optional<QString>& code)
    {
        env.dialogs.inputAnswers.enqueue(code);
        form->Command1->click();
    }

    QString stored(const QString& code, const QString& column)
    {
        store::View ide(env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"));
        (void)ide.refresh();
        (void)ide.setFilter(QStringLiteral("Code"), code);
        return ide.value(column);
    }

    QStringList scores() const
    {
        QStringList out;
        for (QLineEdit* f : form->scoreFields())
            out << f->text();
        return out;
    }

    bool selected() const
    {
        return !form->Text5->text().isEmpty() && form->Frame5->isVisible() && form->Frame3->isVisible();
    }

    bool nothingSelected() const
    {
        return form->Text5->text().isEmpty() && !form->Frame5->isVisible() && !form->Frame3->isVisible();
    }
};

} // namespace

namespace examinees {
// So that a failed comparison shows both values.
char* toString(const ExamineeRecord& e)
{
    const QStringList fields{e.code, e.givenName, e.familyName, e.sex, e.age, e.maritalStatus, e.education, e.group,
                             e.date, e.time, e.interpretation, e.responses.value_or(QStringList()).join(u',')};
    return QTest::toString(fields.join(QStringLiteral(" | ")));
}
} // namespace examinees

class TestScoringScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithNothingSelected();
    void allAnsweredShowsNoWarning();
    void emptyItemsAreListedAndCounted();
    void zeroIsNeitherUnansweredNorScored();
    void missingOrCancelledCodeChangesNothing();
    void unknownCodeAfterSelectionReturnsToNoExaminee();
    void secondExamineeReplacesEverything();
    void examineeRegisteredMeanwhileIsFound();
    void apostropheInCodeIsJustACharacter();
    void answerRowWithoutIdentityIsScored();
    void viewProfileNeedsASelection();
    void viewProfileHandsOverTheExamineeAsShown();
    void sexAndEducationFollowTheLists();
    void sexChangeIsSavedToJens();
    void unmatchedStoredValueShowsNoChoiceAndStays();
    void failedSaveIsReportedNotConfirmed();
    void helpPanelOpensAndCloses();
};

void TestScoringScreen::opensWithNothingSelected()
{
    Screen s;
    QVERIFY(s.env.isValid());
    QVERIFY(s.nothingSelected());
    QVERIFY(!s.form->Frame2->isVisible());
    QCOMPARE(s.form->SkinLbl->text(), kLabel);
    QCOMPARE(s.form->windowTitle(), texts::kCaptionKeying);
    QCOMPARE(s.form->Txt3.size(), 71);
    QCOMPARE(s.form->responseField(71)->objectName(), QStringLiteral("Txt3_71"));
    for (QLineEdit* f : s.form->Txt3)
        QVERIFY(f->isReadOnly()); // responses are stored only by the capture screens
    QVERIFY(s.scores().join(QString()).isEmpty());
}

void TestScoringScreen::allAnsweredShowsNoWarning()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("مريم"), examinees::kFemale, examinees::kUniversity)));
    s.select(QStringLiteral("5"));

    QCOMPARE(s.env.dialogs.shown.size(), 1); // the input box only
    QCOMPARE(s.env.dialogs.shown.first().title, texts::EnterCodeTitle(kLabel));
    QCOMPARE(s.env.dialogs.shown.first().text, texts::kEnterCodePrompt);
    QVERIFY(s.selected());
    QCOMPARE(s.form->Text5->text(), QStringLiteral("5"));
    QCOMPARE(s.form->LblKhali->text(), QStringLiteral("0"));
    QCOMPARE(s.scores(), (QStringList{QStringLiteral("0"), QStringLiteral("12"), QStringLiteral("0"),
                                      QStringLiteral("4"), QStringLiteral("9"), QStringLiteral("4"),
                                      QStringLiteral("12"), QStringLiteral("9"), QStringLiteral("13"),
                                      QStringLiteral("16"), QStringLiteral("10")}));
    QCOMPARE(s.form->Text15->text(), QStringLiteral("5"));
    QCOMPARE(s.form->Text3_3->text(), QStringLiteral("مريم"));
    QCOMPARE(s.form->Text12->text(), QStringLiteral("رضايي"));
    QCOMPARE(s.form->Text6->text(), QStringLiteral("34"));
    QCOMPARE(s.form->Text11->text(), QStringLiteral("متاهل"));
    QCOMPARE(s.form->Text8->text(), QStringLiteral("1401/05/30"));
    QCOMPARE(s.form->Text9->text(), QStringLiteral("10:30:15"));
    QCOMPARE(s.form->Text17->text(), QStringLiteral("الف"));
    QCOMPARE(s.form->Text10->text(), examinees::kFemale);
    QCOMPARE(s.form->Text7->text(), examinees::kUniversity);
    QCOMPARE(s.form->responseTexts(), all(QStringLiteral("1")));
}

void TestScoringScreen::emptyItemsAreListedAndCounted()
{
    Screen s;
    QStringList responses = all(QStringLiteral("2"));
    for (int item : {3, 17, 70})
        responses[item - 1].clear();
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("8"), responses));

    // The warning stays until closed; the examinee is already on screen while it is open.
    bool shownWhileWarning = false;
    s.env.dialogs.onMessage = [&](const ScriptedDialogs::Shown&) { shownWhileWarning = s.selected(); };
    s.select(QStringLiteral("8"));

    const auto warning = s.env.dialogs.lastMessage();
    QVERIFY(warning);
    QCOMPARE(s.env.dialogs.messages().size(), 1);
    QCOMPARE(warning->title, titles::kError);
    QCOMPARE(warning->icon, Dialogs::Icon::Warning);
    QCOMPARE(warning->autoCloseMs, 0);
    QCOMPARE(warning->text, scoring::texts::kUnansweredIntro + QStringLiteral("\n\n3  17  70  "));
    QVERIFY(shownWhileWarning);
    QCOMPARE(s.form->LblKhali->text(), QStringLiteral("3"));
    // Against all "2": item 3 (no on D, Hy, Pd, Pt, Sc) and 70 (no on K) cost a point each;
    // 17 is yes-keyed only.
    QCOMPARE(s.scores(), (QStringList{QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("14"),
                                      QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("19"),
                                      QStringLiteral("6"), QStringLiteral("5"), QStringLiteral("2"),
                                      QStringLiteral("3"), QStringLiteral("1")}));
}

void TestScoringScreen::zeroIsNeitherUnansweredNorScored()
{
    Screen s;
    QStringList responses = all(QStringLiteral("2"));
    responses[4] = QStringLiteral("0"); // item 5: L no-keyed
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("9"), responses));
    s.select(QStringLiteral("9"));
    QVERIFY(s.env.dialogs.messages().isEmpty());
    QCOMPARE(s.form->LblKhali->text(), QStringLiteral("0"));
    QCOMPARE(s.form->TxtL->text(), QStringLiteral("4"));
    QCOMPARE(s.form->responseField(5)->text(), QStringLiteral("0"));
}

void TestScoringScreen::missingOrCancelledCodeChangesNothing()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1"))));
    s.select(QStringLiteral("5"));
    const QStringList before = s.scores();
    s.label = QStringLiteral("کد مراجع"); // the label is read when it is needed
    for (const std::optional<QString>& answer : {std::optional<QString>(QString()), std::optional<QString>()}) {
        s.env.dialogs.clear();
        s.select(answer);
        QCOMPARE(s.env.dialogs.shown.first().title, texts::EnterCodeTitle(QStringLiteral("کد مراجع")));
        const auto m = s.env.dialogs.lastMessage();
        QVERIFY(m);
        QCOMPARE(m->title, titles::kMessage);
        QCOMPARE(m->text, texts::MustEnterCode(QStringLiteral("کد مراجع")));
        QCOMPARE(m->autoCloseMs, 1000);
        QVERIFY(s.selected());
        QCOMPARE(s.form->Text5->text(), QStringLiteral("5"));
        QCOMPARE(s.scores(), before);
    }
}

void TestScoringScreen::unknownCodeAfterSelectionReturnsToNoExaminee()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("علي"), examinees::kMale, examinees::kUniversity)));
    s.select(QStringLiteral("5"));
    QVERIFY(s.selected());
    s.env.dialogs.clear();

    s.select(QStringLiteral("999"));
    const auto m = s.env.dialogs.lastMessage();
    QVERIFY(m);
    QCOMPARE(m->title, titles::kMessage);
    QCOMPARE(m->text, texts::kNoSuchPerson);
    QCOMPARE(m->autoCloseMs, 1000);
    QVERIFY(s.nothingSelected());
    // Nothing of the first examinee is left for a reader of these fields.
    QVERIFY(s.scores().join(QString()).isEmpty());
    QVERIFY(s.form->responseTexts().join(QString()).isEmpty());
    QVERIFY(s.form->Text15->text().isEmpty());

    s.env.dialogs.clear();
    s.form->Command8->click();
    QCOMPARE(s.env.dialogs.lastMessage()->text, scoring::texts::kSelectFirst);
    QCOMPARE(s.profileOpened, 0);
}

void TestScoringScreen::secondExamineeReplacesEverything()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("1"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("علي"), examinees::kMale, examinees::kUniversity)));
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("2"), all(QString()),
                                         identity(QStringLiteral("سارا"), examinees::kFemale, examinees::kDiplomaOrLess)));
    s.select(QStringLiteral("1"));
    QCOMPARE(s.form->Combo2->currentText(), examinees::kMale);
    s.select(QStringLiteral("2"));
    QCOMPARE(s.scores(), QStringList(11, QStringLiteral("0")));
    QCOMPARE(s.form->LblKhali->text(), QStringLiteral("71"));
    QCOMPARE(s.form->responseTexts(), all(QString()));
    QCOMPARE(s.form->Text5->text(), QStringLiteral("2"));
    QCOMPARE(s.form->Text3_3->text(), QStringLiteral("سارا"));
    QCOMPARE(s.form->Combo2->currentText(), examinees::kFemale);
    QCOMPARE(s.form->Combo4->currentText(), examinees::kDiplomaOrLess);
}

void TestScoringScreen::examineeRegisteredMeanwhileIsFound()
{
    Screen s; // opened before the examinee exists
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("12"), all(QStringLiteral("2")),
                                         identity(QStringLiteral("رضا"), examinees::kMale, examinees::kUniversity)));
    s.select(QStringLiteral("12"));
    QVERIFY(s.selected());
    QCOMPARE(s.form->Text3_3->text(), QStringLiteral("رضا"));
    QCOMPARE(s.form->TxtK->text(), QStringLiteral("15"));
}

void TestScoringScreen::apostropheInCodeIsJustACharacter()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("3'"), all(QStringLiteral("2"))));
    s.select(QStringLiteral("3' OR '1'='1"));
    QCOMPARE(s.env.dialogs.lastMessage()->text, texts::kNoSuchPerson);
    QVERIFY(s.nothingSelected());
    s.select(QStringLiteral("3'"));
    QVERIFY(s.selected());
    QCOMPARE(s.form->Text15->text(), QStringLiteral("3'"));
}

void TestScoringScreen::answerRowWithoutIdentityIsScored()
{
    Screen s;
    {
        store::View answer(s.env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("Answer"));
        QVERIFY(answer.refresh());
        answer.addNew();
        (void)answer.setValue(QStringLiteral("Code"), QStringLiteral("40"));
        for (int item = 1; item <= store::kItemCount; ++item)
            (void)answer.setValue(QString::number(item), QStringLiteral("2"));
        QVERIFY(answer.update());
    }
    s.select(QStringLiteral("40"));
    QVERIFY(s.selected());
    QVERIFY(s.form->Text15->text().isEmpty());
    QCOMPARE(s.form->Combo2->currentIndex(), -1);
    QCOMPARE(s.form->TxtHy->text(), QStringLiteral("20"));
    // No profile for it: its scores would have no examinee's row to go into.
    s.form->Command8->click();
    QCOMPARE(s.profileOpened, 0);
    QCOMPARE(s.env.dialogs.lastMessage()->text, scoring::texts::kNoIdentityRow);
}

void TestScoringScreen::viewProfileNeedsASelection()
{
    Screen s;
    s.form->Command8->click();
    const auto m = s.env.dialogs.lastMessage();
    QVERIFY(m);
    QCOMPARE(m->title, titles::kMessage);
    QCOMPARE(m->text, scoring::texts::kSelectFirst);
    QCOMPARE(m->autoCloseMs, 2000);
    QCOMPARE(s.profileOpened, 0);
    QVERIFY(s.form->isVisible());

    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1"))));
    s.select(QStringLiteral("5"));
    s.env.dialogs.clear();
    s.form->Command8->click();
    QCOMPARE(s.profileOpened, 1);
    QVERIFY(s.env.dialogs.messages().isEmpty());
    // Hidden, not closed: the profile screen reads the examinee from here.
    QVERIFY(!s.form->isVisible());
    QVERIFY(!s.mainWindow.isVisible());
    QCOMPARE(s.form->Text5->text(), QStringLiteral("5"));
    QCOMPARE(s.form->TxtF->text(), QStringLiteral("12"));
}

void TestScoringScreen::viewProfileHandsOverTheExamineeAsShown()
{
    Screen s;
    QStringList responses = all(QStringLiteral("1"));
    responses[2] = responses[16] = responses[69] = QString(); // items 3, 17 and 70
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("7"), responses,
                                         identity(QStringLiteral("نرگس"), examinees::kMale, examinees::kUniversity)));
    s.select(QStringLiteral("7"));
    QVERIFY(s.selected());
    // Corrected, not saved: what is shown is what goes.
    s.form->Combo2->setCurrentText(examinees::kFemale);
    s.form->Combo4->setCurrentText(examinees::kDiplomaOrLess);
    s.form->Command8->click();
    QCOMPARE(s.profileOpened, 1);

    examinees::ExamineeRecord expected;
    expected.code = QStringLiteral("7");
    expected.givenName = QStringLiteral("نرگس");
    expected.familyName = QStringLiteral("رضايي");
    expected.sex = examinees::kFemale;
    expected.age = QStringLiteral("34");
    expected.maritalStatus = QStringLiteral("متاهل");
    expected.education = examinees::kDiplomaOrLess;
    expected.group = QStringLiteral("الف");
    expected.date = QStringLiteral("1401/05/30");
    expected.time = QStringLiteral("10:30:15");
    expected.responses = responses;
    QCOMPARE(s.handedOver, expected);
    // All yes but items 3, 17 and 70: item 17 is yes-keyed on D, Pt and Sc.
    QCOMPARE(s.scores(), (QStringList{QStringLiteral("0"), QStringLiteral("12"), QStringLiteral("0"), QStringLiteral("4"),
                                      QStringLiteral("8"), QStringLiteral("4"), QStringLiteral("12"), QStringLiteral("9"),
                                      QStringLiteral("12"), QStringLiteral("15"), QStringLiteral("10")}));
    QCOMPARE(s.form->LblKhali->text(), QStringLiteral("3"));

    // Asked again later, sex and education are what the lists show then.
    s.form->Combo2->setCurrentText(examinees::kMale);
    QCOMPARE(s.form->normGroup().sex, examinees::kMale);
    QCOMPARE(s.form->normGroup().education, examinees::kDiplomaOrLess);
}

void TestScoringScreen::sexAndEducationFollowTheLists()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("علي"), examinees::kMale, examinees::kDiplomaOrLess)));
    QCOMPARE(s.form->Combo2->placeholderText(), texts::kChooseSex);
    QCOMPARE(s.form->Combo4->placeholderText(), texts::kChooseEducation);
    s.select(QStringLiteral("5"));
    QCOMPARE(s.form->Combo2->currentText(), examinees::kMale);
    QCOMPARE(s.form->Combo4->currentText(), examinees::kDiplomaOrLess);

    // Picking in a list sets the field the profile screen reads, before any save.
    s.form->Combo4->setCurrentIndex(s.form->Combo4->findText(examinees::kUniversity));
    QCOMPARE(s.form->Text7->text(), examinees::kUniversity);
    // And a field set from elsewhere selects its item.
    s.form->Text10->setText(examinees::kFemale);
    QCOMPARE(s.form->Combo2->currentText(), examinees::kFemale);
    QCOMPARE(s.stored(QStringLiteral("5"), QStringLiteral("Tahsil")), examinees::kDiplomaOrLess);
}

void TestScoringScreen::sexChangeIsSavedToJens()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("علي"), examinees::kMale, examinees::kUniversity)));
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("6"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("حسن"), examinees::kMale, examinees::kUniversity)));
    s.select(QStringLiteral("5"));
    s.form->Combo2->setCurrentIndex(s.form->Combo2->findText(examinees::kFemale));
    QCOMPARE(s.form->Text10->text(), examinees::kFemale);
    s.env.dialogs.clear();
    s.form->CmdSave->click();

    const auto m = s.env.dialogs.lastMessage();
    QVERIFY(m);
    QCOMPARE(m->title, titles::kMessage);
    QCOMPARE(m->text, texts::kSaved);
    QCOMPARE(m->autoCloseMs, 1000);
    QCOMPARE(s.stored(QStringLiteral("5"), QStringLiteral("Jens")), examinees::kFemale);
    QCOMPARE(s.stored(QStringLiteral("5"), QStringLiteral("Tahsil")), examinees::kUniversity);
    QCOMPARE(s.stored(QStringLiteral("5"), QStringLiteral("FName")), QStringLiteral("علي"));
    QCOMPARE(s.stored(QStringLiteral("6"), QStringLiteral("Jens")), examinees::kMale);
}

void TestScoringScreen::unmatchedStoredValueShowsNoChoiceAndStays()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("علي"), QStringLiteral("M"), QStringLiteral("ليسانس"))));
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("6"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("حسن"), examinees::kFemale, examinees::kUniversity)));
    // A list left on the previous examinee's choice must not carry it over.
    s.select(QStringLiteral("6"));
    s.select(QStringLiteral("5"));
    QCOMPARE(s.form->Combo2->currentIndex(), -1);
    QCOMPARE(s.form->Combo4->currentIndex(), -1);
    QCOMPARE(s.form->Text10->text(), QStringLiteral("M"));
    QCOMPARE(s.form->Text7->text(), QStringLiteral("ليسانس"));
    s.form->CmdSave->click();
    QCOMPARE(s.env.dialogs.lastMessage()->text, texts::kSaved);
    QCOMPARE(s.stored(QStringLiteral("5"), QStringLiteral("Jens")), QStringLiteral("M"));
    QCOMPARE(s.stored(QStringLiteral("5"), QStringLiteral("Tahsil")), QStringLiteral("ليسانس"));
}

void TestScoringScreen::failedSaveIsReportedNotConfirmed()
{
    Screen s;
    QVERIFY(testing_support::addExaminee(s.env.folder(), QStringLiteral("5"), all(QStringLiteral("1")),
                                         identity(QStringLiteral("علي"), examinees::kMale, examinees::kUniversity)));
    s.select(QStringLiteral("5"));
    s.form->Combo2->setCurrentIndex(s.form->Combo2->findText(examinees::kFemale));
    {
        // The row goes away behind the screen's back (another screen deleted the examinee).
        store::View ide(s.env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("5")));
        QVERIFY(ide.deleteCurrent());
    }
    s.env.dialogs.clear();
    s.form->CmdSave->click();
    QCOMPARE(s.env.dialogs.messages().size(), 1);
    QCOMPARE(s.env.dialogs.lastMessage()->title, titles::kError);
    QVERIFY(s.env.dialogs.lastMessage()->text.startsWith(scoring::texts::kCannotSaveIdentity));
    QVERIFY(!s.env.dialogs.messageTexts().contains(texts::kSaved));
}

void TestScoringScreen::helpPanelOpensAndCloses()
{
    Screen s;
    s.form->Command5->click();
    QVERIFY(s.form->Frame2->isVisible());
    const QStringList lines = s.form->Text4->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 6); // five lines, each ending in a line break
    QCOMPARE(lines.mid(0, 5), scoring::texts::kHelpLines);
    QVERIFY(lines.last().isEmpty());
    s.form->Command7->click();
    QVERIFY(!s.form->Frame2->isVisible());
}

TAVORA_TEST(TestScoringScreen)
#include "tst_scoring_screen.moc"
