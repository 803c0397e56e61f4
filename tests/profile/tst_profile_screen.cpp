#include "examinees/identity.h"
#include "app/main_window.h"
#include "app/profile_flow.h"
#include "kit/texts.h"
#include "kit/twips.h"
#include "profile/profile_screen.h"
#include "profile/line_ends.h"
#include "profile/profile_chart.h"
#include "scoring/answered_percentages.h"
#include "scoring/scoring_key.h"
#include "scoring/scoring_screen.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QApplication>
#include <QPointer>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNorms = QStringLiteral("ThemeTB.skn");
const QString kCode = QStringLiteral("31");

// Yes to a spread of items, so that the scales get different raw scores.
QStringList mixedResponses()
{
    const QString pattern = QStringLiteral("12211212211121221211222112121122112121211221221121221211122121211212212");
    QStringList r;
    for (const QChar c : pattern)
        r << QString(c);
    return r;
}

QHash<QString, QString> identity(const QString& sex, const QString& education)
{
    return {{QStringLiteral("FName"), QStringLiteral("سارا")}, {QStringLiteral("LName"), QStringLiteral("احمدي")},
            {QStringLiteral("Jens"), sex}, {QStringLiteral("Tahsil"), education}};
}

// The eleven scale values of the row whose key column holds key, read through a fresh view.
QStringList rowOf(const QString& file, const QString& table, const QString& keyColumn, const QString& key,
                  const QStringList& columns = store::scaleColumns())
{
    store::View v(file, table);
    if (!v.refresh() || !v.setFilter(keyColumn, key) || !v.hasCurrent())
        return {};
    QStringList out;
    for (const QString& c : columns)
        out << v.value(c);
    return out;
}

int rowsWithCode(const QString& file, const QString& table, const QString& code)
{
    store::View v(file, table);
    if (!v.refresh() || !v.setFilter(QStringLiteral("Code"), code))
        return -1;
    return v.count();
}

bool execOn(const QString& file, const QString& sql)
{
    store::Connection c(file);
    if (!c.open())
        return false;
    QSqlQuery q(c.database());
    return q.exec(sql);
}

// The scoring screen with one examinee, and the profile screens it opens.
struct Fixture {
    TestEnv env;
    QWidget mainWindow;
    std::unique_ptr<FrmkLID> scoring;
    QPointer<FrmNemudar> screen;
    int opened = 0;
    int activations = 0;
    int ready = 0;

    explicit Fixture(const QString& sex = examinees::kMale, const QString& education = examinees::kUniversity,
                     const QStringList& responses = mixedResponses())
    {
        testing_support::addExaminee(env.folder(), kCode, responses, identity(sex, education));
        scoring = std::make_unique<FrmkLID>(env.ctx, &mainWindow, [] { return texts::kDefaultIdentifierLabel; });
        AttachProfileScreen(env.ctx, *scoring, [this](FrmNemudar& s) {
            screen = &s;
            ++opened;
            QObject::connect(&s, &FrmNemudar::activated, &s, [this] { ++activations; });
            QObject::connect(&s, &FrmNemudar::profileReady, &s, [this] { ++ready; });
        });
        scoring->load();
        scoring->show();
        env.dialogs.inputAnswers.enqueue(kCode);
        scoring->Command1->click();
    }

    QString norms() const { return env.path(kNorms); }

    // Opens the profile and waits until the deferred step has run.
    bool open()
    {
        const int before = ready;
        scoring->Command8->click();
        return screen && QTest::qWaitFor([&] { return ready > before; });
    }

    QStringList raw() const
    {
        QStringList out;
        for (const QLineEdit* f : scoring->scoreFields())
            out << f->text();
        return out;
    }

    // T scores of the raw scores on the scoring screen, looked up in a norm table directly.
    QStringList expectedT(const QString& table) const
    {
        QStringList normColumns = store::scaleColumns();
        normColumns.last() = QStringLiteral("MA");
        QStringList out;
        const QStringList r = raw();
        for (int i = 0; i < r.size(); ++i) {
            const QStringList row = rowOf(norms(), table, QStringLiteral("KHam"), r[i], normColumns);
            out << (row.isEmpty() ? QString() : row[i]);
        }
        return out;
    }

    // Another window of the program takes the focus, then the profile screen gets it back.
    bool comeBack()
    {
        const int before = ready;
        QWidget other;
        other.show();
        if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }))
            return false;
        QApplication::setActiveWindow(screen);
        return QTest::qWaitFor([&] { return ready > before; });
    }
};

} // namespace

class TestProfileScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void normTableBySexAndEducation_data();
    void normTableBySexAndEducation();
    void rawZeroAndMissingNormRow();
    void correctedSexChangesTableOnNextActivation();
    void comingBackConvertsAndRedrawsTheSame();
    void activationOncePerActivation();
    void storedRowsCreatedOnceAndOverwritten();
    void codeStoredTrimmed();
    void failingStepDoesNotStopTheRest();
    void closingBringsBackScoringScreen_data();
    void closingBringsBackScoringScreen();
    void openedFromTheMainWindow();
    void worksFromTheHandedOverValueAlone();
};

void TestProfileScreen::normTableBySexAndEducation_data()
{
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("education");
    QTest::addColumn<QString>("table");
    QTest::newRow("man, university") << examinees::kMale << examinees::kUniversity << QStringLiteral("EvabaliniDJMIR");
    QTest::newRow("man, diploma") << examinees::kMale << examinees::kDiplomaOrLess << QStringLiteral("EvabaliniDAMIR");
    QTest::newRow("woman, university") << examinees::kFemale << examinees::kUniversity << QStringLiteral("EvabaliniDJFMIR");
    QTest::newRow("woman, diploma") << examinees::kFemale << examinees::kDiplomaOrLess << QStringLiteral("EvabaliniDAFMIR");
    QTest::newRow("unknown sex") << QStringLiteral("نامعلوم") << examinees::kUniversity << QString();
}

void TestProfileScreen::normTableBySexAndEducation()
{
    QFETCH(QString, sex);
    QFETCH(QString, education);
    QFETCH(QString, table);
    Fixture f(sex, education);
    // A T row stored by an earlier opening.
    QStringList earlier;
    for (int i = 0; i < 11; ++i)
        earlier << QString::number(41 + i);
    {
        store::View v(f.norms(), QStringLiteral("NOMREbikIR"));
        QVERIFY(v.refresh());
        v.addNew();
        QVERIFY(v.setValue(QStringLiteral("Code"), kCode));
        for (int i = 0; i < 11; ++i)
            QVERIFY(v.setValue(store::scaleColumns()[i], earlier[i]));
        QVERIFY(v.update());
    }
    QVERIFY(f.open());
    FrmNemudar* s = f.screen;
    QCOMPARE(s->pos(), twipsPoint(2085, 145));
    QVERIFY(!s->FramTaf->isVisible());
    QVERIFY(!f.scoring->isVisible());

    QCOMPARE(s->rawScoreTexts(), f.raw());
    if (table.isEmpty()) {
        // Without a table: no T scores (never the ones stored earlier), the reason on the chart,
        // nothing drawn, and the interpretation refused.
        QCOMPARE(s->normTableName(), QString());
        QCOMPARE(s->tScoreTexts(), QStringList(11, QString()));
        QVERIFY(!s->tScoreProblem().isEmpty());
        QVERIFY(!s->LblTNotice->isHidden());
        QVERIFY(s->chart->segments()->front().isNull());
        s->CmdTaf->click();
        s->FramTaf->CmdTafneuBoland->click();
        QCOMPARE(f.env.dialogs.lastMessage()->text, s->tScoreProblem());
        QVERIFY(s->FramTaf->Txttaf1->toPlainText().isEmpty());
        return;
    }
    const QStringList t = f.expectedT(table);
    QCOMPARE(s->Lblj->text(), sex);
    QCOMPARE(s->normTableName(), table);
    QVERIFY(s->LblTNotice->isHidden());
    QVERIFY(!t.contains(QString()));
    QCOMPARE(s->tScoreTexts(), t);
    QCOMPARE(s->findChild<QLabel*>(QStringLiteral("lblt_10"))->text(), t[10]);
    QCOMPARE(rowOf(f.norms(), QStringLiteral("NOMREbikIR"), QStringLiteral("Code"), kCode), t);
    QCOMPARE(rowOf(f.norms(), QStringLiteral("NOMREKhamIR"), QStringLiteral("Code"), kCode), f.raw());
    // The chart draws the T row: L at the first end, Ma at the last.
    QCOMPARE(s->chart->segments()->front().p1(), QPointF(1245, 7965 - 60 * t[0].toInt()));
    QCOMPARE(s->chart->segments()->back().p2(), QPointF(8460, 7965 - 60 * t[10].toInt()));
    QCOMPARE(s->percentTexts(), QStringList(11, QStringLiteral("100")));
    // Nothing of this is reported on screen.
    QVERIFY(f.env.dialogs.messages().isEmpty());
    QVERIFY2(s->stepFailures().isEmpty(), qPrintable(s->stepFailures().join(QLatin1Char('\n'))));
}

void TestProfileScreen::rawZeroAndMissingNormRow()
{
    // Every item empty: every raw score is 0, looked up under the KHam text "0".
    Fixture f(examinees::kFemale, examinees::kDiplomaOrLess, QStringList(71, QString()));
    QCOMPARE(f.raw(), QStringList(11, QStringLiteral("0")));
    QStringList normColumns = store::scaleColumns();
    normColumns.last() = QStringLiteral("MA");
    const QStringList zeroRow =
        rowOf(f.norms(), QStringLiteral("EvabaliniDAFMIR"), QStringLiteral("KHam"), QStringLiteral("0"), normColumns);
    QCOMPARE(zeroRow.size(), 11);
    QVERIFY(f.open());
    QCOMPARE(f.screen->tScoreTexts(), zeroRow);
    QCOMPARE(f.screen->percentTexts(), QStringList(11, QStringLiteral("0")));

    // Without that row in the table: every T empty, nothing drawn at T 0, and the reason shown.
    QVERIFY(execOn(f.norms(), QStringLiteral("DELETE FROM EvabaliniDAFMIR WHERE KHam = '0'")));
    QVERIFY(f.comeBack());
    QCOMPARE(f.screen->tScoreTexts(), QStringList(11, QString()));
    const profile::ProfileSegments segments = *f.screen->chart->segments();
    for (const QLineF& segment : segments)
        QVERIFY(segment.isNull());
    QVERIFY(f.screen->tScoreProblem().contains(QStringLiteral("EvabaliniDAFMIR")));
}

void TestProfileScreen::correctedSexChangesTableOnNextActivation()
{
    Fixture f(examinees::kMale, examinees::kUniversity);
    QVERIFY(f.open());
    FrmNemudar* s = f.screen;
    const QStringList male = s->tScoreTexts();

    // Corrected on the scoring screen but not saved.
    f.scoring->Combo2->setCurrentText(examinees::kFemale);
    QVERIFY(f.comeBack());
    QCOMPARE(s->normTableName(), QStringLiteral("EvabaliniDJFMIR"));
    QCOMPARE(s->Lblj->text(), examinees::kFemale);
    QCOMPARE(s->tScoreTexts(), f.expectedT(QStringLiteral("EvabaliniDJFMIR")));
    QVERIFY(s->tScoreTexts() != male);
    QCOMPARE(rowOf(f.env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"), QStringLiteral("Code"), kCode,
                   {QStringLiteral("Jens")}),
             QStringList{examinees::kMale});

    // The next opening chooses afresh as well.
    s->close();
    QTRY_VERIFY(!f.screen);
    f.scoring->Combo4->setCurrentText(examinees::kDiplomaOrLess);
    QVERIFY(f.open());
    QCOMPARE(f.screen->normTableName(), QStringLiteral("EvabaliniDAFMIR"));
}

void TestProfileScreen::comingBackConvertsAndRedrawsTheSame()
{
    Fixture f;
    QVERIFY(f.open());
    FrmNemudar* s = f.screen;
    const QStringList t = s->tScoreTexts();
    const QStringList percents = s->percentTexts();
    const QImage before = s->chart->toImage(s->chart->size());

    // Spoil what is shown: coming back must convert, count and draw again, not keep it.
    for (QLabel* l : s->lblt + s->lbldarsad)
        l->setText(QStringLiteral("x"));
    s->chart->setTScores(QStringList(11, QStringLiteral("90")));
    QVERIFY(f.comeBack());
    QCOMPARE(s->tScoreTexts(), t);
    QCOMPARE(s->percentTexts(), percents);
    QCOMPARE(s->chart->toImage(s->chart->size()), before);
    QCOMPARE(rowOf(f.norms(), QStringLiteral("NOMREbikIR"), QStringLiteral("Code"), kCode), t);
}

void TestProfileScreen::activationOncePerActivation()
{
    Fixture f;
    QVERIFY(f.open());
    FrmNemudar* s = f.screen;
    QCOMPARE(f.activations, 1);
    QCOMPARE(f.ready, 1);
    QVERIFY(!s->Timer3->isActive());

    // Another program takes the focus and gives it back: not an activation of this program,
    // and no deferred step is pending (only Timer3 could bring one).
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(s);
    QVERIFY(s->isActiveWindow());
    QCoreApplication::processEvents();
    QCOMPARE(f.activations, 1);
    QVERIFY(!s->Timer3->isActive());
    QCOMPARE(f.ready, 1);

    // Another window of the program: one activation and one deferred step each time.
    for (int n = 2; n <= 3; ++n) {
        QVERIFY(f.comeBack());
        QCoreApplication::processEvents();
        QCOMPARE(f.activations, n);
        QVERIFY(!s->Timer3->isActive());
        QCOMPARE(f.ready, n);
    }

    // From another program back into another window of this one, then here: an activation.
    QApplication::setActiveWindow(nullptr);
    QWidget other;
    other.show();
    QTRY_VERIFY(QApplication::activeWindow() == &other);
    QApplication::setActiveWindow(s);
    QCOMPARE(f.activations, 4);
    QVERIFY(s->Timer3->isActive());
    // Drawing by hand (the hidden draw button) ends the pending deferred step: nothing is left
    // to run it.
    s->Cmdbik->click();
    QVERIFY(!s->Timer3->isActive());
    QCoreApplication::processEvents();
    QCOMPARE(f.ready, 3);
}

void TestProfileScreen::storedRowsCreatedOnceAndOverwritten()
{
    Fixture f;
    QVERIFY(f.open());
    for (const char* table : {"NOMREKhamIR", "NOMREbikIR"})
        QCOMPARE(rowsWithCode(f.norms(), QString::fromLatin1(table), kCode), 1);
    const QStringList firstT = f.screen->tScoreTexts();
    const QStringList firstRaw = f.screen->rawScoreTexts();

    f.screen->Cmdexit->click();
    QTRY_VERIFY(!f.screen);
    // The L items answered otherwise before the second opening, and the examinee selected again.
    QStringList changed = mixedResponses();
    for (int item : scoring::ScoringKey()[0].yesItems)
        changed[item - 1] = QStringLiteral("1");
    for (int item : scoring::ScoringKey()[0].noItems)
        changed[item - 1] = QStringLiteral("2");
    QStringList sql;
    for (int item = 1; item <= 71; ++item)
        sql << QStringLiteral("UPDATE Answer SET \"%1\" = '%2' WHERE Code = '%3'").arg(item).arg(changed[item - 1], kCode);
    QVERIFY(testing_support::execSql(f.env.path(QStringLiteral("Tavora71.mdb")), sql));
    const QString maximumL = QString::number(scoring::ScoringKey()[0].maximum());
    QVERIFY(firstRaw.first() != maximumL);
    f.env.dialogs.inputAnswers.enqueue(kCode);
    f.scoring->Command1->click();
    QVERIFY(f.open());
    for (const char* table : {"NOMREKhamIR", "NOMREbikIR"})
        QCOMPARE(rowsWithCode(f.norms(), QString::fromLatin1(table), kCode), 1);
    QCOMPARE(rowOf(f.norms(), QStringLiteral("NOMREKhamIR"), QStringLiteral("Code"), kCode).first(), maximumL);
    const QStringList t = rowOf(f.norms(), QStringLiteral("NOMREbikIR"), QStringLiteral("Code"), kCode);
    QCOMPARE(t, f.expectedT(QStringLiteral("EvabaliniDJMIR")));
    QVERIFY(t.first() != firstT.first());
}

void TestProfileScreen::codeStoredTrimmed()
{
    Fixture f;
    // Rows that hold the code with a trailing blank, selected as they are written.
    QVERIFY(testing_support::execSql(f.env.path(QStringLiteral("Tavora71.mdb")),
                                     {QStringLiteral("UPDATE IDE SET Code = '%1 ' WHERE Code = '%1'").arg(kCode),
                                      QStringLiteral("UPDATE Answer SET Code = '%1 ' WHERE Code = '%1'").arg(kCode)}));
    f.env.dialogs.inputAnswers.enqueue(kCode + QLatin1Char(' '));
    f.scoring->Command1->click();
    QCOMPARE(f.scoring->Text15->text(), kCode + QLatin1Char(' '));
    QVERIFY(f.open());
    QVERIFY(f.comeBack()); // found again, not added again
    for (const char* table : {"NOMREKhamIR", "NOMREbikIR"}) {
        QCOMPARE(rowsWithCode(f.norms(), QString::fromLatin1(table), kCode), 1);
        QCOMPARE(rowsWithCode(f.norms(), QString::fromLatin1(table), kCode + QLatin1Char(' ')), 0);
    }
}

void TestProfileScreen::failingStepDoesNotStopTheRest()
{
    Fixture f;
    QVERIFY(execOn(f.norms(), QStringLiteral("DROP TABLE NOMREKhamIR")));
    QVERIFY(f.open());
    FrmNemudar* s = f.screen;
    QVERIFY(!s->stepFailures().isEmpty());
    QCOMPARE(s->rawScoreTexts(), f.raw());
    QCOMPARE(s->tScoreTexts(), f.expectedT(QStringLiteral("EvabaliniDJMIR")));
    QCOMPARE(rowOf(f.norms(), QStringLiteral("NOMREbikIR"), QStringLiteral("Code"), kCode), s->tScoreTexts());
    QVERIFY(s->chart->hasProfile());
    // The failure is said once, not again at every return to the screen.
    QCOMPARE(f.env.dialogs.messages().size(), 1);
    QCOMPARE(f.env.dialogs.lastMessage()->title, u"خطا"_s);
    QVERIFY(f.comeBack());
    QCOMPARE(f.env.dialogs.messages().size(), 1);
}

void TestProfileScreen::closingBringsBackScoringScreen_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::newRow("exit button") << true;
    QTest::newRow("close box") << false;
}

void TestProfileScreen::closingBringsBackScoringScreen()
{
    QFETCH(bool, byButton);
    Fixture f;
    QVERIFY(f.open());
    f.screen->CmdTaf->click();
    QVERIFY(f.screen->FramTaf->isVisible());
    if (byButton)
        f.screen->Cmdexit->click();
    else
        f.screen->close(); // what the window's close box does
    QVERIFY(f.scoring->isVisible());
    QCOMPARE(f.scoring->Text5->text(), kCode);
    QTRY_VERIFY(!f.screen); // every data source goes with it
    QVERIFY(f.open());
    QCOMPARE(f.opened, 2);
    QVERIFY(!f.screen->FramTaf->isVisible());
}

void TestProfileScreen::openedFromTheMainWindow()
{
    TestEnv env;
    QVERIFY(testing_support::addExaminee(env.folder(), kCode, mixedResponses(), identity(examinees::kFemale, examinees::kUniversity)));
    Frm1 main(env.ctx);
    QVERIFY(main.load());
    main.show();
    main.Command3->click();
    FrmkLID* scoring = main.scoringScreen();
    QVERIFY(scoring);
    env.dialogs.inputAnswers.enqueue(kCode);
    scoring->Command1->click();
    scoring->Command8->click();
    FrmNemudar* profile = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<FrmNemudar*>(w); p && p->isVisible())
            profile = p;
    QVERIFY(profile);
    QVERIFY(!scoring->isVisible() && !main.isVisible());
    QTRY_COMPARE(profile->normTableName(), QStringLiteral("EvabaliniDJFMIR"));
    profile->close();
    QVERIFY(scoring->isVisible() && !main.isVisible());
}

// No scoring screen at all: what the screen shows, stores and interprets comes from the value it
// was given and from the sex and education it asks for.
void TestProfileScreen::worksFromTheHandedOverValueAlone()
{
    TestEnv env;
    QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("44")));
    examinees::ExamineeRecord examinee;
    examinee.code = QStringLiteral("44");
    examinee.sex = examinees::kMale; // as handed over; the group source says otherwise
    examinee.education = examinees::kUniversity;
    QStringList responses(71, QStringLiteral("2"));
    for (int item : {49, 2, 3, 4, 5}) // five items empty: the long text stops at its gate
        responses[item - 1] = QString();
    examinee.responses = responses;
    examinees::NormGroup group{examinees::kFemale, examinees::kDiplomaOrLess};

    FrmNemudar screen(env.ctx, examinee, [&group] { return group; });
    int ready = 0;
    QObject::connect(&screen, &FrmNemudar::profileReady, &screen, [&ready] { ++ready; });
    int closed = 0;
    QObject::connect(&screen, &FrmNemudar::closed, &screen, [&closed] { ++closed; });
    screen.show();
    screen.activateWindow();
    QVERIFY(QTest::qWaitFor([&] { return ready == 1; }));

    const QString norms = env.path(kNorms);
    const QStringList raw = scoring::RawScoreTexts(responses);
    QCOMPARE(screen.rawScoreTexts(), raw);
    QCOMPARE(rowOf(norms, QStringLiteral("NOMREKhamIR"), QStringLiteral("Code"), u"44"_s), raw);
    QCOMPARE(screen.normTableName(), QStringLiteral("EvabaliniDAFMIR"));
    QCOMPARE(screen.result().examinee.sex, examinees::kFemale);
    QCOMPARE(screen.result().examinee.education, examinees::kDiplomaOrLess);
    QCOMPARE(screen.result().unanswered, 5);
    QCOMPARE(screen.percentTexts(), scoring::ComputeAnsweredPercentages(responses));

    // The interpretation is about this examinee: its unanswered count stops the long text, and
    // the text is saved with its code.
    screen.CmdTaf->click();
    screen.FramTaf->CmdTafneuBoland->click();
    QCOMPARE(screen.FramTaf->interpretationText().count(u'\n'), 2);
    env.dialogs.questionAnswers.enqueue(true);
    screen.FramTaf->CmdSave->click();
    QCOMPARE(env.dialogs.lastMessage()->text, texts::kSaved);
    QCOMPARE(rowOf(env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"), QStringLiteral("Code"), u"44"_s,
                   {QStringLiteral("TT1")}).value(0),
             profile::toCrLf(screen.FramTaf->interpretationText()));

    screen.close();
    QCOMPARE(closed, 1);
}

TAVORA_TEST(TestProfileScreen)
#include "tst_profile_screen.moc"
