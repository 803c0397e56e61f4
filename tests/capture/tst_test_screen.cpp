#include "settings/clinic_details_panel.h"
#include "support/test_registry.h"
#include "support/test_env.h"
#include "app/main_window.h"
#include "kit/twips.h"
#include "capture/test_screen.h"
#include "examinees/registration_panel.h"
#include "store/view.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kMessageTitle = u"پيام"_s;
const QString kErrorTitle = u"خطا"_s;

QString itemText(int n)
{
    return u"متن پرسش شماره "_s + QString::number(n);
}

bool execOn(const QString& file, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outside"_s);
        db.setDatabaseName(file);
        ok = db.open();
        for (const QString& sql : statements)
            ok = ok && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"outside"_s);
    return ok;
}

// Item texts of our own, whatever the delivered table holds.
bool seedItems(const QString& file)
{
    QStringList sql{u"DELETE FROM QUS"_s};
    for (int n = 1; n <= 71; ++n)
        sql << u"INSERT INTO QUS (ID, QU) VALUES ('%1', '%2')"_s.arg(n).arg(itemText(n));
    return execOn(file, sql);
}

const QHash<QString, QString> kIdentity{
    {u"FName"_s, u"مريم"_s}, {u"LName"_s, u"احمدي"_s}, {u"Sen"_s, u"34"_s}, {u"Jens"_s, u"زن"_s},
    {u"Taahol"_s, u"متأهل"_s}, {u"Tahsil"_s, u"دانشگاهي"_s}, {u"Date"_s, u"1401/05/30"_s},
    {u"Time"_s, u"10:30:15"_s}};

// The main window loaded on a folder that holds examinee "7" (and whatever seed adds).
struct TestRun {
    TestEnv env;
    bool seeded;
    Frm1 w{env.ctx};
    bool loaded = false;

    explicit TestRun(const QStringList& responses = {}, const std::function<bool(const QString&)>& seed = {})
        : seeded(seedItems(env.path(u"Tavora71.mdb"_s))
                 && testing_support::addExaminee(env.folder(), u"7"_s, responses, kIdentity)
                 && (!seed || seed(env.folder())))
    {
        loaded = w.load();
    }
    QString file() const { return env.path(u"Tavora71.mdb"_s); }
    FrmTest* open(const std::optional<QString>& code = u"7"_s)
    {
        env.dialogs.inputAnswers.enqueue(code);
        w.Command2->click();
        return w.testScreen();
    }
    FrmTest* started()
    {
        FrmTest* t = open();
        if (t)
            t->Command1->click();
        return t;
    }
    QString stored(int item, const QString& code = u"7"_s) const
    {
        store::View v(file(), u"Answer"_s);
        (void)v.refresh();
        (void)v.setFilter(u"Code"_s, code);
        return v.value(QString::number(item));
    }
    QString identity(const QString& column) const
    {
        store::View v(file(), u"IDE"_s);
        (void)v.refresh();
        (void)v.setFilter(u"Code"_s, u"7"_s);
        return v.value(column);
    }
    QStringList messages() const { return env.dialogs.messageTexts(); }
};

bool shows(FrmTest* t, int item)
{
    return t->SkinLbl5->text() == itemText(item) && t->Frame2->title() == QString::number(item)
        && t->currentItem() == item;
}

} // namespace

class TestRunTestButton : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void doesNothingOnEmptyAnswerTable();
    void readFailureIsSaidNotTakenForNone();
    void asksForTheCode();
    void emptyCodeRefused();
    void codeWithoutAnswerRowRefused();
};

void TestRunTestButton::doesNothingOnEmptyAnswerTable()
{
    TestEnv env;
    QVERIFY(env.isValid());
    QVERIFY(execOn(env.path(u"Tavora71.mdb"_s), {u"INSERT INTO IDE (Code) VALUES ('3')"_s}));
    Frm1 w(env.ctx);
    QVERIFY(w.load());
    w.Command1->click();
    w.Command2->click();
    QVERIFY(env.dialogs.shown.isEmpty());
    QVERIFY(!w.testScreen());
    QVERIFY(!w.registrationPanel()->isHidden()); // not even the panels are hidden
}

void TestRunTestButton::readFailureIsSaidNotTakenForNone()
{
    TestEnv env;
    QVERIFY(env.isValid());
    Frm1 w(env.ctx);
    QVERIFY(w.load());
    QVERIFY(execOn(env.path(u"Tavora71.mdb"_s), {u"ALTER TABLE Answer RENAME TO Answer_gone"_s}));
    w.Command2->click();
    QCOMPARE(env.dialogs.messages().size(), 1);
    QCOMPARE(env.dialogs.lastMessage()->title, u"خطا"_s);
    QVERIFY(!w.testScreen());
}

void TestRunTestButton::asksForTheCode()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    r.w.clinicDetailsPanel()->Text23->setText(u"شماره پرونده"_s);
    r.w.Command1->click();
    FrmTest* t = r.open();
    QVERIFY(t);
    QCOMPARE(r.env.dialogs.shown.size(), 1);
    const auto& box = r.env.dialogs.shown.first();
    QCOMPARE(box.kind, ScriptedDialogs::Kind::Input);
    QCOMPARE(box.text, u" Enter Code "_s);
    QCOMPARE(box.title, u"شماره پرونده"_s + u"  "_s + u"را وارد کنيد"_s);
    QVERIFY(r.w.registrationPanel()->isHidden());
    QVERIFY(r.w.Command1->isEnabled());
    QVERIFY(t->isVisible());
    QCOMPARE(t->windowModality(), Qt::ApplicationModal);
    QCOMPARE(t->windowTitle(), u"صفحه اجراي تست"_s);
    QCOMPARE(t->pos(), twipsPoint(2340, 765));
}

void TestRunTestButton::emptyCodeRefused()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    const QString expected = u"شما بايد "_s + r.w.IdentifierLabel() + u"  مورد نظر را وارد كنيد "_s;
    for (const std::optional<QString>& answer : {std::optional<QString>(), std::optional(QString())}) {
        r.env.dialogs.clear();
        FrmTest* t = r.open(answer);
        QCOMPARE(r.messages(), QStringList{expected});
        QCOMPARE(r.env.dialogs.lastMessage()->title, kMessageTitle);
        QVERIFY(t && !t->isVisible());
    }
}

void TestRunTestButton::codeWithoutAnswerRowRefused()
{
    TestRun r({}, [](const QString& folder) {
        return execOn(folder + u"/Tavora71.mdb"_s, {u"INSERT INTO IDE (Code, FName) VALUES ('8', 'x')"_s});
    });
    QVERIFY(r.seeded && r.loaded);
    for (const QString& code : {u"8"_s, u"99"_s, u" 7"_s}) {
        r.env.dialogs.clear();
        FrmTest* t = r.open(code);
        QCOMPARE(r.messages(), QStringList{u"فردي با اين مشخصات وجود ندارد"_s});
        QVERIFY(t && !t->isVisible());
    }
    QVERIFY(r.open()->isVisible());
}

class TestTestScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void beforeTheStart();
    void startShowsTheFirstItem();
    void answersStoredAsOneAndTwo();
    void counterEdges();
    void reopeningShowsStoredAnswers();
    void saveIdentity();
    void saveAndExitThenNextRun();
    void closingStoresTheAnswer_data();
    void closingStoresTheAnswer();
    void failedStoresAreReported();
};

void TestTestScreen::beforeTheStart()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.open();
    QVERIFY(t && t->isVisible());
    for (QWidget* visible : std::initializer_list<QWidget*>{t->SkinLabel3, t->SkinLabel4, t->Command1})
        QVERIFY2(visible->isVisible(), qPrintable(visible->objectName()));
    for (QWidget* hidden : std::initializer_list<QWidget*>{t->Text6, t->CmdBack, t->CmdNext, t->Frame1, t->Frame2})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    QCOMPARE(t->SkinLabel3->text(), u"Tavora-II-71"_s);
    QCOMPARE(t->SkinLabel4->geometry(), twipsRect(1000, 3000, 9075, 4095));
    QCOMPARE(t->SkinLabel3->geometry(), twipsRect(900, 600, 9210, 1515));
    // The instructions as written, with the joins Persian spelling needs.
    const QString instructions = t->SkinLabel4->text();
    QCOMPARE(QString(instructions).remove(QChar(0x200C)), u"پرسشنامهاي كه در اختيار شما است، حاوي تعدادي جمله ميباشد با توجه به محتواي جملهها پاسخ خود را در پاسخنامه وارد كنيد  الف- اگر جملهاي هميشه يا در اغلب مواقع در مورد شما درست است در پاسخنامه پاسخ بلي را انتخاب كنيد\nب- اگر جملهاي هميشه يا در اغلب مواقع در مورد شما درست نيست در پاسخنامه پاسخ خير را انتخاب كنيد\nج- سعي نماييد به تمام سؤالات پاسخ دهيد و سؤالي را بيجواب نگذاريد \nتذكرات \nالف- در اين پرسشنامه جواب صحيح يا غلط وجود ندارد، بنابر اين طبق نظر و احساس خود پاسخ دهيد  \nب- اگر به جملاتي برخورديد كه به نظرتان عجيب ميآيد، نگران نشويد؛ و توجه داشته باشيد كه بعضي از جملات مربوط به گروههاي خاصي از افراد ميباشد\n"_s);
    for (const QString& word : {u"پرسشنامه\u200cاي"_s, u"مي\u200cباشد"_s, u"جمله\u200cها"_s, u"جمله\u200cاي"_s,
                                u"مي\u200cآيد"_s, u"گروه\u200cهاي"_s, u"بي\u200cجواب"_s})
        QVERIFY2(instructions.contains(word), qPrintable(word));
    QCOMPARE(instructions.count(u'\n'), 6);
}

void TestTestScreen::startShowsTheFirstItem()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    QVERIFY(t);
    QCOMPARE(t->Text6->text(), u"1"_s);
    QVERIFY(shows(t, 1));
    QCOMPARE(t->SkinLbl5->geometry(), twipsRect(1530, 3360, 8535, 1455));
    for (QWidget* visible : std::initializer_list<QWidget*>{t->Frame1, t->Frame2, t->Text6, t->SkinLbl5, t->CmdNext,
                                                           t->CmdBack, t->Command5})
        QVERIFY2(visible->isVisible(), qPrintable(visible->objectName()));
    for (QWidget* hidden : std::initializer_list<QWidget*>{t->SkinLabel3, t->SkinLabel4, t->SkinLabel5, t->SkinLabel6,
                                                          t->Command1})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    QCOMPARE(t->focusWidget(), t->Text1);
    QVERIFY(!t->Option1->isChecked() && !t->Option2->isChecked());
    // The examinee panel shows his identity row; the code cannot be changed here.
    QCOMPARE(t->Text1->text(), u"7"_s);
    QVERIFY(t->Text1->isReadOnly());
    QCOMPARE(t->Text3->text(), u"مريم"_s);
    QCOMPARE(t->Text11->text(), u"متأهل"_s);
    QCOMPARE(t->Combo2->currentText(), u"زن"_s);
    QCOMPARE(t->Combo4->currentText(), u"دانشگاهي"_s);
    QVERIFY(r.messages().isEmpty());
}

void TestTestScreen::answersStoredAsOneAndTwo()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    t->Option1->click();
    QCOMPARE(r.stored(1), QString()); // stored by the next move
    t->CmdNext->click();
    QCOMPARE(r.stored(1), u"1"_s);
    QVERIFY(shows(t, 2));
    QVERIFY(!t->Option1->isChecked() && !t->Option2->isChecked());
    t->Option2->click();
    t->CmdBack->click();
    QCOMPARE(r.stored(2), u"2"_s);
    QVERIFY(shows(t, 1));
    QVERIFY(t->Option1->isChecked() && !t->Option2->isChecked());
    // Changing an answer overwrites it; Enter in the counter presses next.
    t->Option2->click();
    QTest::keyClick(t->Text6, Qt::Key_Return);
    QCOMPARE(r.stored(1), u"2"_s);
    QVERIFY(shows(t, 2));
    QCOMPARE(r.stored(3), QString());
}

void TestTestScreen::counterEdges()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    const auto notices = [&r] {
        QStringList n = r.messages();
        r.env.dialogs.clear();
        return n;
    };
    // Previous on item 1: counter 0 with item 1 still shown; once more: the start notice, item 1.
    t->CmdBack->click();
    QCOMPARE(t->Text6->text(), u"0"_s);
    QVERIFY(shows(t, 1));
    QVERIFY(notices().isEmpty());
    t->CmdBack->click();
    QCOMPARE(r.env.dialogs.lastMessage()->autoCloseMs, 1000);
    QCOMPARE(notices(), QStringList{u"شروع"_s});
    QCOMPARE(t->Text6->text(), u"1"_s);
    QVERIFY(shows(t, 1));

    // Typing: with the text selected, 8 shows item 8 (nothing stored); a following 0 makes 80,
    // which stores the row, brings the end notice and item 71.
    t->Option1->click();
    t->Text6->selectAll();
    QTest::keyClicks(t->Text6, u"8"_s);
    QVERIFY(shows(t, 8));
    QCOMPARE(r.stored(1), QString());
    QTest::keyClicks(t->Text6, u"0"_s);
    QCOMPARE(notices(), QStringList{u"پايان"_s});
    QCOMPARE(t->Text6->text(), u"71"_s);
    QVERIFY(shows(t, 71));
    QCOMPARE(r.stored(1), u"1"_s);

    // Next on item 71: the answer is stored before the end notice (600 ms); item 71 stays.
    t->Option2->click();
    QString storedAtNotice;
    r.env.dialogs.onMessage = [&](const ScriptedDialogs::Shown& box) {
        storedAtNotice = r.stored(71);
        QCOMPARE(box.autoCloseMs, 600);
        QCOMPARE(box.title, kMessageTitle);
    };
    t->CmdNext->click();
    r.env.dialogs.onMessage = nullptr;
    QCOMPARE(notices(), QStringList{u"پايان"_s});
    QCOMPARE(storedAtNotice, u"2"_s);
    QVERIFY(shows(t, 71));
    QVERIFY(t->Option2->isChecked());

    // Emptying the counter shows item 1 at once.
    t->Text6->selectAll();
    QTest::keyClick(t->Text6, Qt::Key_Backspace);
    QCOMPARE(t->Text6->text(), u"1"_s);
    QVERIFY(shows(t, 1));

    // Digits only: a letter is dropped with a beep; the panel's age field takes three digits.
    QTest::keyClicks(t->Text6, u"x"_s);
    QCOMPARE(t->Text6->text(), u"1"_s);
    QCOMPARE(r.env.dialogs.beeps, 1);
    QCOMPARE(notices(), QStringList{u"شما بايد عدد وارد كنيد"_s});
    t->Text5->clear();
    QTest::keyClicks(t->Text5, u"1a045"_s);
    QCOMPARE(t->Text5->text(), u"104"_s);
    QCOMPARE(r.env.dialogs.beeps, 1); // since notices() cleared the record
}

void TestTestScreen::reopeningShowsStoredAnswers()
{
    TestRun r({u"1"_s, u"2"_s, u"0"_s, QString(), u"2"_s});
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    QVERIFY(t->Option1->isChecked() && !t->Option2->isChecked());
    t->CmdNext->click();
    QVERIFY(!t->Option1->isChecked() && t->Option2->isChecked());
    t->CmdNext->click(); // "0" from a paper sheet: neither option
    QVERIFY(!t->Option1->isChecked() && !t->Option2->isChecked());
    t->CmdBack->click();
    QVERIFY(t->Option2->isChecked());
    t->Text6->setText(u"4"_s); // never answered
    QVERIFY(!t->Option1->isChecked() && !t->Option2->isChecked());
    t->Text6->setText(u"5"_s);
    QVERIFY(t->Option2->isChecked());
    // Moving over the items changed none of them.
    QCOMPARE(r.stored(3), u"0"_s);
    QCOMPARE(r.stored(4), QString());
}

void TestTestScreen::saveIdentity()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    t->Text3->setText(u"مرجان"_s);
    t->Text11->setText(u"مجرد"_s);
    t->Combo2->setCurrentIndex(t->Combo2->findText(u"مرد"_s));
    Q_EMIT t->Combo2->textActivated(t->Combo2->currentText()); // the user's choice
    t->Text5->setText(u"41"_s);
    t->CmdSave->click();
    QCOMPARE(r.messages(), QStringList{u"ذخيره شد"_s});
    QCOMPARE(r.env.dialogs.lastMessage()->title, kMessageTitle);
    QCOMPARE(r.identity(u"FName"_s), u"مرجان"_s);
    QCOMPARE(r.identity(u"Taahol"_s), u"مجرد"_s);
    QCOMPARE(r.identity(u"Jens"_s), u"مرد"_s);
    QCOMPARE(r.identity(u"Sen"_s), u"41"_s);
    QCOMPARE(r.identity(u"Tahsil"_s), u"دانشگاهي"_s);
    QCOMPARE(r.identity(u"Code"_s), u"7"_s);
}

void TestTestScreen::saveAndExitThenNextRun()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    t->Option1->click();
    t->Text4->setText(u"احمدي نيا"_s); // edited, not saved with its own button
    t->Command5->click();
    QVERIFY(!t->isVisible());
    QCOMPARE(r.stored(1), u"1"_s);
    QCOMPARE(r.identity(u"LName"_s), u"احمدي نيا"_s);
    // The state the main window leaves the screen in.
    for (QWidget* shown : std::initializer_list<QWidget*>{t->SkinLabel4, t->Command1, t->Frame1, t->SkinLbl5})
        QVERIFY2(!shown->isHidden(), qPrintable(shown->objectName()));
    for (QWidget* hidden : std::initializer_list<QWidget*>{t->CmdBack, t->CmdNext, t->SkinLabel3})
        QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    QCOMPARE(t->Text6->text(), u"0"_s);

    // The next run starts like the first one and shows what was stored.
    QCOMPARE(r.open(), t);
    QVERIFY(t->isVisible());
    QVERIFY(t->SkinLabel3->isVisible());
    QVERIFY(!t->Frame1->isVisible());
    QVERIFY(!t->Text6->isVisible() && !t->Frame2->isVisible() && !t->Command5->isVisible());
    QVERIFY(t->SkinLbl5->text().isEmpty());
    QCOMPARE(t->Text4->text(), u"احمدي نيا"_s);
    t->Command1->click();
    QVERIFY(shows(t, 1));
    QVERIFY(t->Option1->isChecked());
}

void TestTestScreen::closingStoresTheAnswer_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("close box") << 0;
    QTest::newRow("Escape") << 1;
}

void TestTestScreen::closingStoresTheAnswer()
{
    QFETCH(int, way);
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    t->CmdNext->click();
    t->Option2->click();
    if (way == 0)
        QVERIFY(t->close());
    else
        QTest::keyClick(t, Qt::Key_Escape);
    QVERIFY(!t->isVisible());
    QCOMPARE(r.stored(2), u"2"_s);
    QVERIFY(!t->Command1->isHidden()); // the main window prepared the next run
}

void TestTestScreen::failedStoresAreReported()
{
    TestRun r;
    QVERIFY(r.seeded && r.loaded);
    FrmTest* t = r.started();
    QVERIFY(execOn(r.file(), {u"CREATE TRIGGER refuse BEFORE UPDATE ON Answer BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s,
                              u"CREATE TRIGGER refuse2 BEFORE UPDATE ON IDE BEGIN SELECT RAISE(ABORT, 'locked'); END"_s}));
    t->Option1->click();
    t->CmdNext->click();
    QCOMPARE(r.env.dialogs.lastMessage()->title, kErrorTitle);
    QVERIFY(r.env.dialogs.lastMessage()->text.contains(u"disk full"_s));
    QCOMPARE(t->Text6->text(), u"1"_s); // the unstored answer is not passed by
    r.env.dialogs.clear();
    t->Text3->setText(u"نام ديگر"_s);
    t->CmdSave->click();
    QCOMPARE(r.env.dialogs.messages().size(), 1);
    QCOMPARE(r.env.dialogs.lastMessage()->title, kErrorTitle); // and no "saved"
    QCOMPARE(r.identity(u"FName"_s), u"مريم"_s);
    // Leaving asks before what was not stored is dropped: No stays, Yes closes.
    r.env.dialogs.questionAnswers << false;
    QTest::keyClick(t, Qt::Key_Escape);
    QVERIFY(t->isVisible());
    r.env.dialogs.questionAnswers << true;
    QTest::keyClick(t, Qt::Key_Escape);
    QVERIFY(!t->isVisible());
}

TAVORA_TEST(TestRunTestButton)
TAVORA_TEST(TestTestScreen)
#include "tst_test_screen.moc"
