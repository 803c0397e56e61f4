#include "profile/interpretation_panel.h"
#include "profile/line_ends.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using profile::ScaleTexts;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kOpening = QStringLiteral("اين يك تفسير سيستمي مي باشد و حتما بايد توسط يك روانشناس مجرب تائيد گردد.");
const QString kGate = QStringLiteral("با توجه به تعداد سوالات بدون پاسخهاي پروفايل قابل تفسير نمي باشد.");
const QString kTwoHeading = QStringLiteral("كد دونقطه اي: ");
const QString kThreeHeading = QStringLiteral("كد سه نقطه اي: ");
const QString kValidityHeading = QStringLiteral("مقياسهاي اعتباري: ");
const QString kClinicalHeading = QStringLiteral("مقياسهاي باليني: ");
const QString kTwoInterpretation = QStringLiteral("تفسير كد دونقطه اي: ");
const QString kThreeInterpretation = QStringLiteral("تفسير كد سه نقطه اي: ");
const QString kScale = QStringLiteral("مقياس ");
const QString kWithScore = QStringLiteral(" بانمره ");
const QString kWithScoreFirst = QStringLiteral(" با نمره ");
const QString kAnd = QStringLiteral(" و ");
const QString kTwoTail = QStringLiteral(" بيشترين نمره را كسب كرده اند در نتيجه كد دو نقطه اي ما مي شود:  ");
const QString kThreeTail = QStringLiteral(" بيشترين نمره را كسب كرده اند در نتيجه كد سه نقطه اي ما مي شود:  ");
const QString kHeadF = QStringLiteral("مقياس F: ");
const QString kSaveQuestion = QStringLiteral("آيا ميخواهيد تغييرات جديد را ذخيره كنيد؟");

const QString kCode = QStringLiteral("1024");
const QString kCrLf = QStringLiteral("\r\n");

// T texts in scale order L F K Hs D Hy Pd Pa Pt Sc Ma.
ScaleTexts tRow(const QStringList& texts)
{
    ScaleTexts row;
    for (int i = 0; i < texts.size() && i < profile::kScaleCount; ++i)
        row[std::size_t(i)] = texts.at(i);
    return row;
}

// Ranks D 78, Pt 76, Sc 73, Pa 67: codes 27 and 278, both with delivered texts.
ScaleTexts realistic()
{
    return tRow({QStringLiteral("53"), QStringLiteral("72"), QStringLiteral("46"), QStringLiteral("64"),
                 QStringLiteral("78"), QStringLiteral("58"), QStringLiteral("62"), QStringLiteral("67"),
                 QStringLiteral("76"), QStringLiteral("73"), QStringLiteral("44")});
}

QStringList lines(const QString& crLfText)
{
    QStringList out = crLfText.split(kCrLf);
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

// The panel on a fresh program folder with one registered examinee, handed what the profile
// screen would hand it.
struct Fixture {
    TestEnv env;
    ScaleTexts tScores = realistic();
    std::unique_ptr<InterpretationPanel> panel;

    Fixture()
    {
        testing_support::addExaminee(env.folder(), kCode);
        panel = std::make_unique<InterpretationPanel>(env.ctx);
        // As in the program, which runs right to left.
        panel->setLayoutDirection(Qt::RightToLeft);
        handOver(kCode, 0);
        panel->show();
    }

    // What an activation of the profile screen hands the panel: a profile of these T scores.
    void handOver(const QString& who, int empty)
    {
        panel->showResult(resultOf(who, empty));
    }

    profile::ProfileResult resultOf(const QString& who, int empty) const
    {
        profile::ProfileResult r;
        r.examinee.code = who;
        r.unanswered = empty;
        r.tScores = QStringList(tScores.begin(), tScores.end());
        profile::RankAndRead(r);
        return r;
    }

    // The interpretation button: the profile ranked (handed over again when the scores changed).
    void rank()
    {
        panel->showResult(resultOf(code, unanswered));
        panel->RankScales();
    }
    QString code = kCode;
    int unanswered = 0;

    QString norms() const { return env.path(QStringLiteral("ThemeTB.skn")); }
    QString examinees() const { return env.path(QStringLiteral("Tavora71.mdb")); }

    QString storedTT1(const QString& who = kCode) const
    {
        store::View ide(examinees(), QStringLiteral("IDE"));
        (void)ide.refresh();
        (void)ide.setFilter(QStringLiteral("Code"), who);
        return ide.value(QStringLiteral("TT1"));
    }

    QString taff(const QString& id, const QString& field) const
    {
        store::View taff(norms(), QStringLiteral("Taff"));
        (void)taff.refresh();
        (void)taff.setFilter(QStringLiteral("id"), id);
        return taff.value(field);
    }

    // Sortt2 as stored: id -> {Numb, etebari}.
    QMap<QString, QPair<QString, QString>> storedSortt2() const
    {
        QMap<QString, QPair<QString, QString>> rows;
        store::View sortt2(norms(), QStringLiteral("Sortt2"));
        (void)sortt2.refresh();
        for (; sortt2.hasCurrent(); (void)sortt2.moveNext())
            rows.insert(sortt2.value(QStringLiteral("id")),
                        {sortt2.value(QStringLiteral("Numb")), sortt2.value(QStringLiteral("etebari"))});
        return rows;
    }

    void setSortt2(const QString& id, const QString& column, const QString& value) const
    {
        store::View sortt2(norms(), QStringLiteral("Sortt2"));
        (void)sortt2.refresh();
        (void)sortt2.setFilter(QStringLiteral("id"), id);
        QVERIFY(sortt2.setValue(column, value).ok);
        QVERIFY(sortt2.update().ok);
    }

    // Txttaf1 as the stored form would hold it.
    QString shownText() const { return profile::toCrLf(panel->interpretationText()); }

    void save(bool yes)
    {
        env.dialogs.questionAnswers.enqueue(yes);
        panel->CmdSave->click();
    }

    bool sawSaved() const { return env.dialogs.messageTexts().contains(QStringLiteral("ذخيره شد")); }

    // Runs SQL on a data file through a connection of its own.
    static bool exec(const QString& file, const QString& sql)
    {
        const QString name = QStringLiteral("test-exec");
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(file);
            ok = db.open() && QSqlQuery(db).exec(sql);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }
};

QStringList latin(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromLatin1(t);
    return out;
}

QStringList labelTexts(const QVector<QLabel*>& labels, int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << labels.at(i)->text();
    return out;
}

} // namespace

class TestInterpretationPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rankScalesStoresAndShows_data();
    void rankScalesStoresAndShows();
    void buildsLongAndShortText();
    void gateStopsOnlyTheLongText();
    void savedTextIsWhatIsPrinted();
    void failedWritesAreReported();
};

void TestInterpretationPanel::rankScalesStoresAndShows_data()
{
    QTest::addColumn<QStringList>("scores");     // L F K Hs D Hy Pd Pa Pt Sc Ma
    QTest::addColumn<QStringList>("numbers");    // ranks 1..8
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ts");
    QTest::addColumn<QStringList>("validity");   // names, highest first
    QTest::addColumn<QStringList>("validityTs");

    QTest::newRow("ties: lower number ranks higher")
        << latin({"50", "60", "60", "65", "70", "65", "70", "55", "55", "48", "40"})
        << latin({"2", "4", "1", "3", "6", "7", "8", "9"})
        << latin({"D", "Pd", "Hs", "Hy", "Pa", "Pt", "Sc", "Ma"})
        << latin({"70", "70", "65", "65", "55", "55", "48", "40"})
        << latin({"F", "K", "L"}) << latin({"60", "60", "50"});
    QTest::newRow("100 ranks above 55 and 9")
        << latin({"55", "100", "9", "55", "100", "9", "45", "60", "61", "62", "63"})
        << latin({"2", "9", "8", "7", "6", "1", "4", "3"})
        << latin({"D", "Ma", "Sc", "Pt", "Pa", "Hs", "Pd", "Hy"})
        << latin({"100", "63", "62", "61", "60", "55", "45", "9"})
        << latin({"F", "L", "K"}) << latin({"100", "55", "9"});
}

void TestInterpretationPanel::rankScalesStoresAndShows()
{
    QFETCH(QStringList, scores);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, names);
    QFETCH(QStringList, ts);
    QFETCH(QStringList, validity);
    QFETCH(QStringList, validityTs);

    Fixture f;
    f.tScores = tRow(scores);
    // Left over from an earlier run: a validity score where none belongs.
    f.setSortt2(QStringLiteral("6"), QStringLiteral("etebari"), QStringLiteral("77"));
    f.rank();

    const auto stored = f.storedSortt2();
    const QStringList ids = latin({"1", "2", "3", "4", "6", "7", "8", "9"});
    QCOMPARE(stored.keys(), ids);
    for (int k = 0; k < ids.size(); ++k) {
        QCOMPARE(stored.value(ids[k]).first, scores.at(3 + k));
        QCOMPARE(stored.value(ids[k]).second, k < 3 ? scores.at(k) : QString());
    }

    QCOMPARE(labelTexts(f.panel->Lblnm2, 3, 10), numbers);
    QCOMPARE(labelTexts(f.panel->Lblnm, 3, 10), names);
    QCOMPARE(labelTexts(f.panel->Lblnm3, 3, 10), ts);
    QCOMPARE(labelTexts(f.panel->Lblnm3, 0, 2), validity);
    QCOMPARE(labelTexts(f.panel->Lblnm2, 0, 2), validityTs);
    QVERIFY(f.env.dialogs.shown.isEmpty());

    // Rank 1 stands leftmost, the validity block left of the clinical one.
    const auto x = [&](QLabel* l) { return l->mapTo(f.panel.get(), QPoint()).x(); };
    QVERIFY(x(f.panel->Lblnm[3]) < x(f.panel->Lblnm[10]));
    QVERIFY(x(f.panel->Lblnm3[0]) < x(f.panel->Lblnm3[2]));
    QVERIFY(x(f.panel->Lblnm3[2]) < x(f.panel->Lblnm[3]));
}

void TestInterpretationPanel::buildsLongAndShortText()
{
    Fixture f;
    f.rank();
    const QString two = kScale + u"D"_s + kWithScore + u"78"_s + kAnd + kScale + u"Pt"_s + kWithScore + u"76"_s + kTwoTail + u"27/72"_s;
    const QString three = kScale + u"D"_s + kWithScoreFirst + u"78"_s + kAnd + kScale + u"Pt"_s + kWithScore + u"76"_s + kAnd + kScale
                          + u"Sc"_s + kWithScore + u"73"_s + kThreeTail + u"278"_s;

    f.panel->CmdTafneuBoland->click();
    QStringList text = lines(f.shownText());
    QVERIFY(text.size() > 20);
    QCOMPARE(text.mid(0, 5), (QStringList{kOpening, kTwoHeading, two, kThreeHeading, three}));
    QVERIFY(text.contains(kValidityHeading));
    QVERIFY(text.contains(kClinicalHeading));
    QCOMPARE(text.mid(text.size() - 2), (QStringList{kTwoInterpretation, f.taff(u"27"_s, u"Topp"_s)}));
    QVERIFY(!f.taff(u"27"_s, u"Topp"_s).isEmpty());
    // F 72: the middle band of row 104.
    QCOMPARE(text.at(text.indexOf(kHeadF) + 1), f.taff(u"104"_s, u"Mediumm"_s));

    f.panel->CmdTafneuKotah->click();
    text = lines(f.shownText());
    QCOMPARE(text.mid(0, 5), (QStringList{kOpening, kTwoHeading, two, kThreeHeading, three}));
    QVERIFY(text.contains(kValidityHeading));
    QVERIFY(!text.contains(kClinicalHeading));
    QVERIFY(text.contains(kTwoInterpretation));
    QCOMPARE(text.mid(text.size() - 2), (QStringList{kThreeInterpretation, f.taff(u"278"_s, u"Topp"_s)}));

    // Building again gives the same text; an edit in between is discarded.
    const QString shortText = f.panel->interpretationText();
    f.panel->Txttaf1->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.panel->Txttaf1, QStringLiteral(" note"));
    QVERIFY(f.panel->interpretationText() != shortText);
    f.panel->CmdTafneuKotah->click();
    QCOMPARE(f.panel->interpretationText(), shortText);

    // The scores come from the profile in hand, never read back from Sortt2 (one table for every
    // computer of a clinic: another computer may have stored its ranking there in between).
    f.setSortt2(QStringLiteral("2"), QStringLiteral("etebari"), QStringLiteral("100"));
    f.panel->CmdTafneuBoland->click();
    text = lines(f.shownText());
    QCOMPARE(text.at(text.indexOf(kHeadF) + 1), f.taff(u"104"_s, u"Mediumm"_s));
    QVERIFY(f.env.dialogs.shown.isEmpty());
}

void TestInterpretationPanel::gateStopsOnlyTheLongText()
{
    Fixture f;
    f.unanswered = 5;
    f.rank();
    f.panel->CmdTafneuBoland->click();
    QCOMPARE(f.shownText(), kOpening + kCrLf + kGate + kCrLf);

    f.panel->CmdTafneuKotah->click();
    const QStringList text = lines(f.shownText());
    QVERIFY(!text.contains(kGate));
    QVERIFY(text.contains(kValidityHeading));
    QCOMPARE(text.last(), f.taff(u"278"_s, u"Topp"_s));
}

void TestInterpretationPanel::savedTextIsWhatIsPrinted()
{
    Fixture f;
    testing_support::addExaminee(f.env.folder(), QStringLiteral("2048"));
    f.rank();
    f.panel->CmdTafneuBoland->click();
    const QString longText = f.shownText();

    f.save(true);
    QCOMPARE(f.env.dialogs.shown.size(), 2);
    const auto& asked = f.env.dialogs.shown.at(0);
    QCOMPARE(asked.kind, ScriptedDialogs::Kind::Question);
    QCOMPARE(asked.title, QStringLiteral("هشدار"));
    QCOMPARE(asked.text, kSaveQuestion);
    QCOMPARE(asked.icon, Dialogs::Icon::Information);
    const auto& saved = f.env.dialogs.shown.at(1);
    QCOMPARE(saved.title, QStringLiteral("پيام"));
    QCOMPARE(saved.text, QStringLiteral("ذخيره شد"));
    QCOMPARE(saved.autoCloseMs, 1000);

    // Stored with CR LF after every line; shown without a stray CR.
    QCOMPARE(f.storedTT1(), longText);
    QCOMPARE(f.storedTT1().count(u'\n'), f.storedTT1().count(kCrLf));
    QCOMPARE(f.panel->savedInterpretation(), longText);

    // A new text that is not saved changes nothing the report carries.
    f.panel->CmdTafneuKotah->click();
    QVERIFY(f.shownText() != longText);
    QCOMPARE(f.storedTT1(), longText);
    QCOMPARE(f.panel->savedInterpretation(), longText);

    // An edit, then the saved text comes back.
    QTest::keyClicks(f.panel->Txttaf1, QStringLiteral("edit"));
    f.panel->CmdTafalt->click();
    QCOMPARE(f.shownText(), longText);

    // No keeps the stored text.
    f.env.dialogs.clear();
    f.panel->Txttaf1->setPlainText(QStringLiteral("متن ديگر"));
    f.save(false);
    QCOMPARE(f.storedTT1(), longText);
    QCOMPARE(f.env.dialogs.shown.size(), 1);

    // The saved text stays with the examinee: a panel opened later shows it; another
    // examinee has none.
    {
        InterpretationPanel later(f.env.ctx);
        later.showResult(f.resultOf(kCode, 0));
        QCOMPARE(later.savedInterpretation(), longText);
        later.showResult(f.resultOf(QStringLiteral("2048"), 0));
        later.Txttaf1->setPlainText(QStringLiteral("متن"));
        later.CmdTafalt->click();
        QCOMPARE(later.interpretationText(), QString());
    }

    // An empty text is stored empty.
    f.panel->Txttaf1->clear();
    f.save(true);
    QCOMPARE(f.storedTT1(), QString());
    QCOMPARE(f.panel->savedInterpretation(), QString());
    QCOMPARE(f.storedTT1(QStringLiteral("2048")), QString());

    f.panel->Cmdexit2->click();
    QVERIFY(f.panel->isHidden());
}

void TestInterpretationPanel::failedWritesAreReported()
{
    // Saving for a code that has no IDE row.
    {
        Fixture f;
        f.rank();
        f.panel->CmdTafneuBoland->click();
        f.handOver(QStringLiteral("999"), 0);
        f.save(true);
        QCOMPARE(f.env.dialogs.lastMessage()->title, QStringLiteral("خطا"));
        QVERIFY(!f.sawSaved());
        QCOMPARE(f.panel->savedInterpretation(), QString());
        store::View ide(f.examinees(), QStringLiteral("IDE"));
        (void)ide.refresh();
        QCOMPARE(ide.count(), 1);
    }
    // The examinee table cannot be written.
    {
        Fixture f;
        f.panel->Txttaf1->setPlainText(QStringLiteral("متن"));
        QVERIFY(Fixture::exec(f.examinees(), QStringLiteral("ALTER TABLE IDE RENAME TO IDE_gone")));
        f.save(true);
        QCOMPARE(f.env.dialogs.lastMessage()->title, QStringLiteral("خطا"));
        QVERIFY(!f.sawSaved());
    }
    // A row of Sortt2 that went missing is put back; a Sortt2 that cannot be written is
    // reported, and the ranking table and the texts are made all the same: they come from the
    // profile in hand.
    {
        Fixture f;
        QVERIFY(Fixture::exec(f.norms(), QStringLiteral("DELETE FROM Sortt2 WHERE id = '9'")));
        f.rank();
        QCOMPARE(f.storedSortt2().value(QStringLiteral("9")).first, QStringLiteral("44"));
        QVERIFY(f.env.dialogs.shown.isEmpty());

        QVERIFY(Fixture::exec(f.norms(), QStringLiteral("ALTER TABLE Sortt2 RENAME TO Sortt2_gone")));
        f.tScores = tRow(latin({"50", "50", "50", "90", "50", "50", "50", "50", "50", "50", "50"}));
        f.rank();
        QCOMPARE(f.env.dialogs.lastMessage()->title, QStringLiteral("خطا"));
        QCOMPARE(f.panel->Lblnm[3]->text(), QStringLiteral("Hs"));

        f.env.dialogs.clear();
        f.panel->CmdTafneuBoland->click();
        QVERIFY(f.env.dialogs.shown.isEmpty());
        QVERIFY(f.panel->interpretationText().contains(QStringLiteral("مقياس Hs بانمره 90")));
    }
    // The texts are read whole for each text: a table that cannot be read gives no text at all
    // rather than one with parts left out.
    {
        Fixture f;
        f.rank();
        QVERIFY(Fixture::exec(f.norms(), QStringLiteral("ALTER TABLE Taff RENAME TO Taff_gone")));
        f.panel->CmdTafneuBoland->click();
        QCOMPARE(f.env.dialogs.lastMessage()->title, QStringLiteral("خطا"));
        QVERIFY(f.panel->interpretationText().isEmpty());
    }
    // A Sortt2 that can be read but not written still holds the previous examinee's ranking;
    // the text is about this one.
    {
        Fixture f;
        f.rank();
        QVERIFY(Fixture::exec(f.norms(), QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Sortt2 "
                                                        "BEGIN SELECT RAISE(ABORT, 'read-only'); END")));
        f.tScores = tRow(latin({"50", "50", "50", "90", "50", "50", "50", "50", "50", "50", "50"}));
        f.rank();
        QCOMPARE(f.env.dialogs.lastMessage()->title, QStringLiteral("خطا"));
        f.env.dialogs.clear();
        f.panel->CmdTafneuKotah->click();
        QVERIFY(f.env.dialogs.shown.isEmpty());
        QVERIFY(f.panel->interpretationText().contains(QStringLiteral("مقياس Hs بانمره 90")));
        QCOMPARE(f.storedSortt2().value(QStringLiteral("1")).first, QStringLiteral("64")); // the earlier ranking
    }
}

class TestLineEnds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convertsEveryLineEnd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lf");
        QTest::addColumn<QString>("crLf");
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("LF") << u"الف\nب\n"_s << u"الف\nب\n"_s << u"الف\r\nب\r\n"_s;
        QTest::newRow("lone CR and mixed") << u"a\rb\n\r\nc"_s << u"a\nb\n\nc"_s << u"a\r\nb\r\n\r\nc"_s;
        QTest::newRow("empty lines") << u"\n\n"_s << u"\n\n"_s << u"\r\n\r\n"_s;
    }
    void convertsEveryLineEnd()
    {
        QFETCH(QString, text);
        QFETCH(QString, lf);
        QFETCH(QString, crLf);
        QCOMPARE(profile::toLf(text), lf);
        QCOMPARE(profile::toCrLf(text), crLf);
        QCOMPARE(profile::toCrLf(profile::toLf(text)), crLf);
    }
};

TAVORA_TEST(TestInterpretationPanel)
TAVORA_TEST(TestLineEnds)
#include "tst_interpretation_panel.moc"
