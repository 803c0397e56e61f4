// The lookup and deletion screen, opened from the main window on real data files.
#include "examinees/registration_panel.h"
#include "settings/clinic_details_panel.h"
#include "support/test_registry.h"
#include "support/test_env.h"
#include "app/main_window.h"
#include "examinees/lookup_screen.h"
#include "store/schema.h"
#include "store/view.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Code, first name, family name, group.
const QList<QStringList> kPeople{{u"1"_s, u"مريم"_s, u"کريمي"_s, u"A"_s},
                                 {u"2"_s, u"علي"_s, u"احمدي"_s, u"A"_s},
                                 {u"3"_s, u"زهرا"_s, u"کريمي"_s, u"B"_s},
                                 {u"4"_s, u"مريم"_s, u"ا'وحدي"_s, u"C"_s}};

struct Lookup {
    TestEnv env;
    Frm1 w{env.ctx};
    bool loaded = w.load();
    FrmCode* screen = nullptr;

    explicit Lookup(const QList<QStringList>& people = kPeople)
    {
        for (const QStringList& p : people)
            (void)testing_support::addExaminee(env.folder(), p.at(0), {},
                                               {{u"FName"_s, p.at(1)}, {u"LName"_s, p.at(2)}, {u"Group"_s, p.at(3)}});
        (void)w.Adodc3.refresh();
    }
    FrmCode* open()
    {
        w.Command4->click();
        screen = w.findChild<FrmCode*>();
        return screen;
    }
    // The codes the grid shows, as far as it has fetched them.
    QStringList shown() const
    {
        QStringList codes;
        for (int row = 0; row < screen->examinees.rowCount(); ++row)
            codes << screen->examinees.index(row, 0).data().toString();
        return codes;
    }
    int rowsWithCode(const QString& file, const QString& table, const QString& code) const
    {
        store::View v(env.path(file), table);
        (void)v.setFilter(u"Code"_s, code);
        return v.count();
    }
    int examineeRows(const QString& code) const
    {
        return rowsWithCode(store::kExamineeFile, u"IDE"_s, code) + rowsWithCode(store::kExamineeFile, u"Answer"_s, code);
    }
    int scoreRows(const QString& code) const
    {
        return rowsWithCode(store::kNormsFile, u"NOMREKhamIR"_s, code) + rowsWithCode(store::kNormsFile, u"NOMREbikIR"_s, code);
    }
    void addScoreRows(const QString& code, int copies = 1)
    {
        QStringList sql;
        for (int i = 0; i < copies; ++i)
            for (const QString& table : {u"NOMREKhamIR"_s, u"NOMREbikIR"_s})
                sql << u"INSERT INTO %1 (Code, L) VALUES ('%2', '5')"_s.arg(table, code);
        QVERIFY(testing_support::execSql(env.path(store::kNormsFile), sql));
    }
};

} // namespace

class TestLookupScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOnlyWhenResponsesExist();
    void identifierLabelInItsThreePlaces();
    void oneFilterAtATime();
    void anEmptiedFilterShowsEveryone();
    void deleteRemovesEveryRowOfTheCode_data();
    void deleteRemovesEveryRowOfTheCode();
    void refusals_data();
    void refusals();
    void failedWriteLeavesTheExamineeDatabaseWhole_data();
    void failedWriteLeavesTheExamineeDatabaseWhole();
    void deletionLeavesNothingOfHimInTheFiles();
    void findsByTheCheckCodeOfTheAnswers();
};

void TestLookupScreen::opensOnlyWhenResponsesExist()
{
    Lookup none(QList<QStringList>{});
    QVERIFY(none.loaded);
    QVERIFY(!none.open());

    Lookup r;
    r.w.registrationPanel()->show();
    QVERIFY(r.open());
    QVERIFY(r.w.Frame10->isHidden()); // the main window's panels are closed first
    QCOMPARE(r.screen->windowModality(), Qt::ApplicationModal);
    QVERIFY(r.screen->isVisible());
    QCOMPARE(r.screen->pos(), r.w.pos()); // where the main window stands
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    QVERIFY(!r.screen->currentFilter());
    r.screen->Command6->click();
    QVERIFY(!r.screen->isVisible());
}

void TestLookupScreen::identifierLabelInItsThreePlaces()
{
    Lookup r;
    r.w.clinicDetailsPanel()->Text23->setText(u"شماره پرونده"_s); // edited in the clinic details, not yet saved
    QVERIFY(r.open());
    QCOMPARE(r.screen->examinees.headerData(0, Qt::Horizontal).toString(), u"شماره پرونده"_s);
    QCOMPARE(r.screen->SkinLabel1->text(), u"شماره پرونده را وارد کنيد"_s);
    r.screen->Command2->click(); // no code typed
    const auto box = r.env.dialogs.lastMessage();
    QVERIFY(box);
    QCOMPARE(box->title, u"پيام"_s);
    QCOMPARE(box->text, u"شما بايد شماره پرونده  مورد نظر را وارد كنيد "_s);
    QCOMPARE(box->autoCloseMs, 1000);
}

void TestLookupScreen::oneFilterAtATime()
{
    Lookup r;
    QVERIFY(r.open());
    FrmCode& s = *r.screen;
    s.Combo3->setEditText(u"A"_s);
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"2"_s}));

    // A family name after a group clears the group: every examinee of that name, whatever his group.
    s.DataCombo1->setEditText(u"کريمي"_s);
    QVERIFY(s.Combo3->currentText().isEmpty());
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"3"_s}));
    QCOMPARE(s.currentFilter(), (store::ColumnFilter{u"LName"_s, u"کريمي"_s}));
    QStringList codes;
    QVERIFY(s.codesInView(codes));
    QCOMPARE(codes, (QStringList{u"1"_s, u"3"_s}));

    s.DataCombo6->setEditText(u"مريم"_s);
    QVERIFY(s.DataCombo1->currentText().isEmpty());
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"4"_s}));

    // Exact equality, on every change: part of a name shows nobody.
    s.DataCombo1->setEditText(u"کري"_s);
    QVERIFY(r.shown().isEmpty());
    QVERIFY(s.DataCombo6->currentText().isEmpty());
    s.DataCombo1->setEditText(u"ا'وحدي"_s); // an apostrophe is just a character
    QCOMPARE(r.shown(), QStringList{u"4"_s});

    // The lists offer each stored name once; choosing one filters by it.
    QCOMPARE(s.DataCombo1->count(), 3);
    s.DataCombo6->setCurrentIndex(s.DataCombo6->findText(u"علي"_s));
    QCOMPARE(r.shown(), QStringList{u"2"_s});
    QVERIFY(s.DataCombo1->currentText().isEmpty());
}

void TestLookupScreen::anEmptiedFilterShowsEveryone()
{
    Lookup r;
    QVERIFY(r.open());
    r.screen->DataCombo1->setEditText(u"کريمي"_s);
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"3"_s}));
    r.screen->DataCombo1->clearEditText();
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    QVERIFY(!r.screen->currentFilter());
}

void TestLookupScreen::deleteRemovesEveryRowOfTheCode_data()
{
    QTest::addColumn<int>("scoreCopies");
    QTest::addColumn<bool>("duplicateResponseRow");
    QTest::addColumn<bool>("viaEnter"); // Enter in the code field, or the delete button
    QTest::newRow("never profiled: no score rows") << 0 << false << true;
    QTest::newRow("profiled") << 1 << false << false;
    QTest::newRow("rows kept twice") << 2 << true << true;
}

void TestLookupScreen::deleteRemovesEveryRowOfTheCode()
{
    QFETCH(int, scoreCopies);
    QFETCH(bool, duplicateResponseRow);
    QFETCH(bool, viaEnter);
    Lookup r;
    r.addScoreRows(u"3"_s, scoreCopies);
    r.addScoreRows(u"2"_s);
    if (duplicateResponseRow)
        QVERIFY(testing_support::execSql(r.env.path(store::kExamineeFile), {u"INSERT INTO Answer (Code) VALUES ('3')"_s}));
    QVERIFY(r.open());
    FrmCode& s = *r.screen;
    s.Combo3->setEditText(u"B"_s);
    r.env.dialogs.questionAnswers.enqueue(true);
    QTest::keyClicks(s.Text5, u"3"_s);
    s.DataGrid1->setFocus();
    if (viaEnter)
        QTest::keyClick(s.Text5, Qt::Key_Return);
    else
        s.Command2->click();

    const QList<ScriptedDialogs::Shown> boxes = r.env.dialogs.shown;
    QCOMPARE(boxes.size(), 2); // one question, asked once, and the notice
    QCOMPARE(boxes[0].kind, ScriptedDialogs::Kind::Question);
    QCOMPARE(boxes[0].title, u"Tavora-II-71"_s);
    QCOMPARE(boxes[0].text, u"آيا براي حذف کردن مطمئن هستيد؟"_s);
    QCOMPARE(boxes[0].icon, Dialogs::Icon::None);
    QCOMPARE(boxes[1].title, u"پيام"_s);
    QCOMPARE(boxes[1].text, u"حذف با موفقيت انجام گرفت"_s);
    QCOMPARE(r.examineeRows(u"3"_s), 0);
    QCOMPARE(r.scoreRows(u"3"_s), 0);
    QCOMPARE(r.examineeRows(u"2"_s), 2); // nobody else is touched
    QCOMPARE(r.scoreRows(u"2"_s), 2);
    QVERIFY(s.Text5->text().isEmpty());
    QCOMPARE(s.focusWidget(), s.Text5);
    QCOMPARE(r.shown(), (QStringList{u"1"_s, u"2"_s, u"4"_s})); // unfiltered again
    QVERIFY(s.Combo3->currentText().isEmpty());
}

void TestLookupScreen::refusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QString>("notice"); // empty: no notice after the question
    // A registered examinee without a response row is not found here.
    QTest::newRow("no response row") << u"9"_s << true << u"فردي با اين کد وجود ندارد"_s;
    QTest::newRow("nobody has it") << u"77"_s << true << u"فردي با اين کد وجود ندارد"_s;
    QTest::newRow("answered No") << u"1"_s << false << QString();
}

void TestLookupScreen::refusals()
{
    QFETCH(QString, code);
    QFETCH(bool, answerYes);
    QFETCH(QString, notice);
    Lookup r;
    QVERIFY(testing_support::execSql(r.env.path(store::kExamineeFile), {u"INSERT INTO IDE (Code) VALUES ('9')"_s}));
    r.addScoreRows(u"1"_s);
    QVERIFY(r.open());
    r.screen->DataCombo1->setEditText(u"کريمي"_s);
    r.env.dialogs.questionAnswers.enqueue(answerYes);
    r.screen->Text5->setText(code);
    r.screen->Command2->click();

    if (notice.isEmpty()) {
        QCOMPARE(r.env.dialogs.shown.size(), 1); // the question alone
        QCOMPARE(r.shown(), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"9"_s})); // the whole list again
    } else {
        QCOMPARE(r.env.dialogs.messageTexts(), QStringList{notice});
        QVERIFY(r.env.dialogs.questionAnswers.size() == 1); // never asked
    }
    QCOMPARE(r.rowsWithCode(store::kExamineeFile, u"IDE"_s, u"9"_s), 1);
    QCOMPARE(r.examineeRows(u"1"_s), 2);
    QCOMPARE(r.scoreRows(u"1"_s), 2);
}

void TestLookupScreen::failedWriteLeavesTheExamineeDatabaseWhole_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("failingTable");
    QTest::addColumn<int>("scoreRowsLeft");
    // The scores go first: when they cannot, nothing is deleted at all.
    QTest::newRow("score file") << store::kNormsFile << u"NOMREbikIR"_s << 2;
    // His identity and responses go together: a failure keeps both. The scores, made again
    // whenever the profile is shown, are gone.
    QTest::newRow("examinee file") << store::kExamineeFile << u"IDE"_s << 0;
}

void TestLookupScreen::failedWriteLeavesTheExamineeDatabaseWhole()
{
    QFETCH(QString, file);
    QFETCH(QString, failingTable);
    QFETCH(int, scoreRowsLeft);
    Lookup r;
    r.addScoreRows(u"3"_s);
    QVERIFY(testing_support::execSql(
        r.env.path(file),
        {u"CREATE TRIGGER refuse BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'disk refused'); END"_s.arg(failingTable)}));
    QVERIFY(r.open());
    r.env.dialogs.questionAnswers.enqueue(true);
    r.screen->Text5->setText(u"3"_s);
    r.screen->Command2->click();

    const auto box = r.env.dialogs.lastMessage();
    QVERIFY(box);
    QCOMPARE(box->title, u"Error"_s);
    QVERIFY2(box->text.contains(u"disk refused"_s), qPrintable(box->text));
    QCOMPARE(box->icon, Dialogs::Icon::Warning);
    QVERIFY(!r.env.dialogs.messageTexts().contains(u"حذف با موفقيت انجام گرفت"_s));
    QCOMPARE(r.examineeRows(u"3"_s), 2);
    QCOMPARE(r.scoreRows(u"3"_s), scoreRowsLeft);
    QCOMPARE(r.shown().size(), 4);
}

// Deleted means gone: none of his names or his code remain in the bytes of any data file (not in
// free space, not in an index page), and his profile picture goes with him.
void TestLookupScreen::deletionLeavesNothingOfHimInTheFiles()
{
    Lookup r;
    const QString code = u"770077"_s;
    const QString given = u"فرخ‌لقا"_s;
    const QString family = u"زرين‌کمربند"_s;
    // Enough others before and after him for the tables and their name indexes to span many pages.
    const auto others = [](int from, int to) {
        return QStringList{
            u"WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
            "INSERT INTO IDE (Code, FName, LName, \"Group\", TT1) SELECT i, 'نام' || i, 'خانواده' || i, 'A', "
            "printf('%.300c', 'x') FROM n"_s.arg(from).arg(to),
            u"WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
            "INSERT INTO Answer (Code, \"1\") SELECT i, '1' FROM n"_s.arg(from).arg(to)};
    };
    QVERIFY(testing_support::execSql(r.env.path(store::kExamineeFile), others(100, 900)));
    QVERIFY(testing_support::addExaminee(r.env.folder(), code, QStringList(store::kItemCount, u"1"_s),
                                         {{u"FName"_s, u"نام پيشين"_s}, {u"LName"_s, family}, {u"TT1"_s, family + u" ..."_s}}));
    {
        // A name changed later leaves its first version behind unless the file erases it.
        store::View ide(r.env.path(store::kExamineeFile), u"IDE"_s);
        QVERIFY(ide.setFilter(u"Code"_s, code));
        QVERIFY(ide.setValue(u"FName"_s, given));
        QVERIFY(ide.update());
    }
    QVERIFY(testing_support::execSql(r.env.path(store::kExamineeFile), others(1000, 1800)));
    r.addScoreRows(code);
    const QString picture = r.env.path(code + u".bmp"_s);
    QFile bmp(picture);
    QVERIFY(bmp.open(QIODevice::WriteOnly) && bmp.write("BM") == 2);
    bmp.close();

    QVERIFY(r.open());
    r.env.dialogs.questionAnswers.enqueue(true);
    QTest::keyClicks(r.screen->Text5, code);
    r.screen->Command2->click();
    QCOMPARE(r.env.dialogs.lastMessage()->text, u"حذف با موفقيت انجام گرفت"_s);
    r.screen->close();

    QVERIFY(!QFileInfo::exists(picture));
    QCOMPARE(r.examineeRows(u"900"_s), 2); // the others stay
    for (const QString& file : {store::kExamineeFile, store::kNormsFile, store::kSettingsFile, store::kImportBufferFile}) {
        QFile f(r.env.path(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        for (const QString& trace : {given, family, u"نام پيشين"_s, code})
            QVERIFY2(!bytes.contains(trace.toUtf8()), qPrintable(file + u": "_s + trace));
    }
}

// The check code printed with a result leads back to the examinees whose stored answers give it:
// the first eight hex digits of the SHA-256 of the answers joined by commas.
void TestLookupScreen::findsByTheCheckCodeOfTheAnswers()
{
    Lookup l; // four examinees without answers
    QStringList mixed;
    for (int item = 1; item <= store::kItemCount; ++item)
        mixed << (item % 2 == 0 ? u"1"_s : u"2"_s);
    mixed[2].clear();
    mixed[5] = u"0"_s;
    QVERIFY(testing_support::addExaminee(l.env.folder(), u"5"_s, QStringList(store::kItemCount, u"1"_s)));
    QVERIFY(testing_support::addExaminee(l.env.folder(), u"6"_s, mixed));
    QVERIFY(testing_support::addExaminee(l.env.folder(), u"7"_s, QStringList(store::kItemCount, u"1"_s)));
    QVERIFY(l.open());
    auto find = [&l](const QString& typed) {
        l.screen->checkCode->setText(typed);
        l.screen->findByCheck->click();
        return l.shown();
    };
    QCOMPARE(find(u"b8f4f63b"_s), QStringList{u"6"_s});
    QCOMPARE(find(u" DBAFE11C"_s), (QStringList{u"5"_s, u"7"_s})); // the same answers, the same code
    QCOMPARE(find(u"2b967d95"_s), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));
    QStringList codes;
    QVERIFY(l.screen->codesInView(codes)); // what the group workbook would hold
    QCOMPARE(codes, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s}));

    l.env.dialogs.clear();
    QCOMPARE(find(u"00000000"_s), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s})); // the grid stays
    QVERIFY(l.env.dialogs.lastMessage()->text.contains(u"هيچ آزمودني"_s));
    find(u"1a2b"_s);
    QVERIFY(l.env.dialogs.lastMessage()->text.contains(u"هشت نويسه"_s));
}

TAVORA_TEST(TestLookupScreen)
#include "tst_lookup.moc"
