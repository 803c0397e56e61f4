// The profile result: computed once from the stored rows, and exactly what every screen shows,
// stores and writes; the stored values as they were before there was one value.
#include "app/profile_flow.h"
#include "examinees/identity.h"
#include "group/group_results.h"
#include "kit/texts.h"
#include "profile/interpretation_text.h"
#include "profile/line_ends.h"
#include "profile/profile_export.h"
#include "profile/profile_result.h"
#include "profile/profile_screen.h"
#include "reports/identity_line.h"
#include "scoring/scoring_key.h"
#include "scoring/scoring_screen.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kExaminees = u"Tavora71.mdb"_s;
const QString kNorms = u"ThemeTB.skn"_s;

// The stored row of a code in a table, as a fresh view reads it.
QStringList storedRow(const QString& file, const QString& table, const QString& key, const QString& value,
                      const QStringList& columns)
{
    store::View v(file, table);
    if (!v.refresh() || !v.setFilter(key, value) || !v.hasCurrent())
        return {};
    QStringList out;
    for (const QString& c : columns)
        out << v.value(c);
    return out;
}

QStringList labelTexts(const QVector<QLabel*>& labels, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << labels.at(i)->text();
    return out;
}

profile::TaffLookup taffOf(store::View& taff)
{
    return [&taff](const QString& id) -> std::optional<profile::TaffRow> {
        if (!taff.setFilter(u"id"_s, id) || !taff.hasCurrent())
            return std::nullopt;
        return profile::TaffRow{taff.value(u"Topp"_s), taff.value(u"Mediumm"_s), taff.value(u"Downn"_s)};
    };
}

// The scoring screen with the profile screens it opens, as the program wires them.
struct Flow {
    TestEnv env;
    QWidget mainWindow;
    QTemporaryDir documents;
    std::unique_ptr<FrmkLID> scoring;
    QPointer<FrmNemudar> screen;

    Flow()
    {
        scoring = std::make_unique<FrmkLID>(env.ctx, &mainWindow, [] { return texts::kDefaultIdentifierLabel; });
        AttachProfileScreen(env.ctx, *scoring, [this](FrmNemudar& s) {
            screen = &s;
            s.findChild<ProfileExport*>()->setDocumentsFolder(documents.path());
        });
        scoring->load();
        scoring->show();
    }

    void select(const QString& code)
    {
        env.dialogs.inputAnswers.enqueue(code);
        scoring->Command1->click();
    }

    // The profile shown and drawn for the selected examinee.
    bool open()
    {
        scoring->Command8->click();
        if (!screen)
            return false;
        return QTest::qWaitFor([this] { return screen->stepFailures().isEmpty() && !screen->Timer3->isActive()
                                                   && screen->percentTexts().first() != QString(); });
    }

    // The examinee as stored, read the way the group workbook reads him.
    examinees::ExamineeRecord stored(const QString& code) const
    {
        store::View ide(env.path(kExaminees), u"IDE"_s);
        store::View answer(env.path(kExaminees), u"Answer"_s);
        (void)ide.setFilter(u"Code"_s, code);
        (void)answer.setFilter(u"Code"_s, code);
        return examinees::RecordOfRows(ide, answer);
    }
};

} // namespace

class TestProfileResult : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameOnEveryScreen_data();
    void sameOnEveryScreen();
    void randomExamineesStoreAsBefore();
};

void TestProfileResult::sameOnEveryScreen_data()
{
    QTest::addColumn<QStringList>("responses");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("education");
    QTest::addColumn<bool>("interpretable");

    QStringList complete;
    for (int item = 1; item <= store::kItemCount; ++item)
        complete << (item % 3 == 0 ? u"1"_s : u"2"_s);
    QStringList manyEmpty = complete;
    for (int item = 5; item <= 60; item += 5)
        manyEmpty[item - 1] = QString();
    manyEmpty[6] = u"0"_s; // marked unanswered on paper: answered, scoring nothing

    QTest::newRow("complete") << complete << examinees::kMale << examinees::kUniversity << true;
    QTest::newRow("many unanswered") << manyEmpty << examinees::kFemale << examinees::kDiplomaOrLess << true;
    QTest::newRow("no norm group") << complete << examinees::kFemale << u"ليسانس"_s << false;
}

void TestProfileResult::sameOnEveryScreen()
{
    QFETCH(QStringList, responses);
    QFETCH(QString, sex);
    QFETCH(QString, education);
    QFETCH(bool, interpretable);

    Flow f;
    const QString code = u"58"_s;
    QVERIFY(testing_support::addExaminee(f.env.folder(), code, responses,
                                         {{u"FName"_s, u"نيما"_s}, {u"LName"_s, u"صالحي"_s}, {u"Jens"_s, sex},
                                          {u"Tahsil"_s, education}, {u"Sen"_s, u"41"_s}, {u"Group"_s, u"C"_s}}));
    profile::NormTableCache norms(f.env.path(kNorms), {});
    const profile::ProfileResult expected = profile::ComputeProfileResult(f.stored(code), norms.tables());
    QCOMPARE(expected.interpretable(), interpretable);
    QCOMPARE(expected.normTable.isEmpty(), !interpretable);

    // The scoring screen.
    f.select(code);
    QStringList shownRaw;
    for (const QLineEdit* field : f.scoring->scoreFields())
        shownRaw << field->text();
    QCOMPARE(shownRaw, expected.rawScores);
    QCOMPARE(f.scoring->LblKhali->text(), expected.unansweredText());

    // The profile screen, and what it stores.
    QVERIFY(f.open());
    FrmNemudar& s = *f.screen;
    QCOMPARE(s.rawScoreTexts(), expected.rawScores);
    QCOMPARE(s.tScoreTexts(), expected.tScores);
    QCOMPARE(s.percentTexts(), expected.percentages);
    QCOMPARE(s.normTableName(), expected.normTable);
    QCOMPARE(s.tScoreProblem(), expected.problem);
    QCOMPARE(s.LblTNotice->isHidden(), interpretable);
    const QStringList scales = store::scaleColumns();
    QCOMPARE(storedRow(f.env.path(kNorms), u"NOMREKhamIR"_s, u"Code"_s, code, scales), expected.rawScores);
    QCOMPARE(storedRow(f.env.path(kNorms), u"NOMREbikIR"_s, u"Code"_s, code, scales), expected.tScores);

    // The interpretation panel: its ranking table and its text, or the reason there is none.
    s.CmdTaf->click();
    InterpretationPanel& panel = *s.FramTaf;
    panel.CmdTafneuBoland->click();
    if (interpretable) {
        QStringList numbers;
        for (const profile::RankEntry& e : expected.reading.ranking.clinical)
            numbers << e.number;
        QCOMPARE(labelTexts(panel.Lblnm2, 3, 10), numbers);
        store::View taff(f.env.path(kNorms), u"Taff"_s);
        QCOMPARE(profile::toCrLf(panel.interpretationText()),
                 profile::BuildLongInterpretation(expected.reading, taffOf(taff)));
    } else {
        QCOMPARE(labelTexts(panel.Lblnm, 3, 10), QStringList(8, QString()));
        QCOMPARE(f.env.dialogs.lastMessage()->text, expected.problem);
        QVERIFY(panel.interpretationText().isEmpty());
    }

    // The printed report and the Word document.
    auto* exporter = s.findChild<ProfileExport*>();
    QSignalSpy finished(exporter, &ProfileExport::finished);
    s.Command3->click();
    QVERIFY(finished.wait(3000));
    const reports::ReportPage& page = exporter->preview()->pages().first();
    QCOMPARE(page.find(u"Label170"_s)->text, code);
    QCOMPARE(page.find(u"Label176"_s)->text, sex);
    QCOMPARE(page.find(u"Label2"_s)->text, expected.unansweredText());
    delete exporter->preview();
    s.Cmdword->click();
    QVERIFY(finished.wait(3000));
    const reports::Identity identity{code,    u"C"_s, u"نيما"_s, u"صالحي"_s, sex, u"41"_s, QString(), education,
                                     QString()};
    QCOMPARE(exporter->identityLine(), reports::ComposeIdentityLine(identity));

    // The group workbook's row of the same examinee.
    const group::GroupResult row = group::ComputeGroupResult(f.stored(code), norms.tables());
    QCOMPARE(row.unanswered, expected.unanswered);
    QCOMPARE(row.rawScores, expected.rawScores);
    QCOMPARE(row.normTable, expected.normTable);
    QCOMPARE(row.tScores, interpretable ? expected.tScores : QStringList());
    QCOMPARE(row.twoPointCode, interpretable ? expected.reading.twoPointCode : QString());
    QCOMPARE(row.threePointCode, interpretable ? expected.reading.threePointCode : std::nullopt);
    QCOMPARE(row.note, expected.problem);
}

// Random examinees through the screens, their stored rows compared with what the program has
// always stored: raw scores of the key, T scores looked up row by row in the norm table, the
// ranking of those T texts, and the long text built from them.
void TestProfileResult::randomExamineesStoreAsBefore()
{
    Flow f;
    QRandomGenerator random(7110);
    const QStringList answers{u"1"_s, u"2"_s, u"1"_s, u"2"_s, QString(), u"0"_s};
    const QStringList sexes = examinees::Sexes() + QStringList{QString()};
    const QStringList levels = examinees::EducationLevels();
    const QStringList normColumns = store::normColumns();
    store::View taff(f.env.path(kNorms), u"Taff"_s);
    constexpr int kCount = 12;
    int interpreted = 0;
    for (int n = 1; n <= kCount; ++n) {
        const QString code = QString::number(300 + n);
        QStringList responses;
        // Some answer sheets are nearly full, some have many gaps.
        const int gaps = int(random.bounded(n % 3 == 0 ? 20 : 3));
        for (int item = 1; item <= store::kItemCount; ++item)
            responses << (int(random.bounded(100)) < gaps ? QString() : answers.at(int(random.bounded(4))));
        responses[int(random.bounded(store::kItemCount))] = answers.at(int(random.bounded(int(answers.size()))));
        const QString sex = sexes.at(int(random.bounded(int(sexes.size()))));
        const QString education = levels.at(int(random.bounded(int(levels.size()))));
        QVERIFY(testing_support::addExaminee(f.env.folder(), code, responses, {{u"Jens"_s, sex}, {u"Tahsil"_s, education}}));

        f.select(code);
        QVERIFY(f.open());
        f.screen->CmdTaf->click();
        f.screen->FramTaf->CmdTafneuBoland->click();
        f.env.dialogs.questionAnswers.enqueue(true);
        f.screen->FramTaf->CmdSave->click();
        f.screen->close();
        QTRY_VERIFY(!f.screen);

        // The stored values as the program has always made them.
        const QStringList raw = scoring::RawScoreTexts(responses);
        const QString table = profile::SelectNormTable(sex, education);
        store::View norm(f.env.path(kNorms), table.isEmpty() ? u"Sortt2"_s : table);
        QStringList t;
        for (int i = 0; i < store::kScaleCount; ++i) {
            const bool found = !table.isEmpty() && norm.setFilter(u"KHam"_s, raw.at(i)) && norm.hasCurrent();
            t << (found ? norm.value(normColumns.at(i)) : QString());
        }
        const QString why = code + u" "_s + sex + u" "_s + education;
        QVERIFY2(storedRow(f.env.path(kNorms), u"NOMREKhamIR"_s, u"Code"_s, code, store::scaleColumns()) == raw, qPrintable(why));
        QVERIFY2(storedRow(f.env.path(kNorms), u"NOMREbikIR"_s, u"Code"_s, code, store::scaleColumns()) == t, qPrintable(why));
        const QString savedText = storedRow(f.env.path(kExaminees), u"IDE"_s, u"Code"_s, code, {u"TT1"_s}).value(0);
        if (table.isEmpty()) {
            QVERIFY2(savedText.isEmpty(), qPrintable(why)); // nothing interpreted without T scores
            continue;
        }
        profile::ScaleTexts scores;
        std::copy(t.cbegin(), t.cend(), scores.begin());
        const profile::Ranking ranking = profile::RankScales(scores);
        for (const profile::Sortt2Row& row : ranking.sortt2) {
            QCOMPARE(storedRow(f.env.path(kNorms), u"Sortt2"_s, u"id"_s, row.id, {u"Numb"_s, u"etebari"_s}),
                     (QStringList{row.Numb, row.etebari}));
        }
        const int unanswered = int(responses.count(QString()));
        QCOMPARE(savedText, profile::BuildLongInterpretation(
                                {ranking.table, scores, QString::number(unanswered), taffOf(taff)}));
        ++interpreted;
    }
    QVERIFY(interpreted >= kCount / 2); // the seed gives most of them a norm group
}

TAVORA_TEST(TestProfileResult)
#include "tst_profile_result.moc"
