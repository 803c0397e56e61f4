#include "settings/clinic_details_panel.h"
#include "support/test_registry.h"
#include "support/test_env.h"
#include "app/main_window.h"
#include "kit/twips.h"
#include "examinees/registration_panel.h"
#include "examinees/registration_texts.h"
#include "store/schema.h"
#include "store/view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kMessageTitle = u"پيام"_s;
const QString kErrorTitle = u"خطا"_s;

// The main window on a fresh program folder, loaded, with its registration panel.
struct MainWindow {
    TestEnv env;
    Frm1 w{env.ctx};
    RegistrationPanel* panel = w.registrationPanel();
    bool loaded = w.load();

    QString file() const { return env.path(u"Tavora71.mdb"_s); }
    // Rows of a table whose Code is the given text.
    int rowsWithCode(const QString& table, const QString& code) const
    {
        store::View v(file(), table);
        (void)v.refresh();
        (void)v.setFilter(u"Code"_s, code);
        return v.count();
    }
    int rows(const QString& table) const
    {
        store::View v(file(), table);
        (void)v.refresh();
        return v.count();
    }
    void fill(const QString& code, const QString& age = u"34"_s)
    {
        panel->Text11->setText(code);
        panel->Text6->setText(u"مهسا"_s);
        panel->Text4->setText(u"کريمي"_s);
        panel->Combo2->setCurrentIndex(1);
        panel->Text5->setText(age);
        panel->Combo1->setCurrentIndex(2);
        panel->Combo3->setCurrentIndex(4);
        panel->Combo4->setCurrentIndex(0);
    }
    QStringList messages() const { return env.dialogs.messageTexts(); }
    // Runs a statement on the examinee file from outside the program (to make stores fail).
    bool exec(const QString& sql) const
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outside"_s);
            db.setDatabaseName(file());
            ok = db.open() && QSqlQuery(db).exec(sql);
            db.close();
        }
        QSqlDatabase::removeDatabase(u"outside"_s);
        return ok;
    }
};

} // namespace

class TestRegistrationPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openPreparesTheEntries();
    void codeProposal_data();
    void codeProposal();
    void proposalAfterEarlierRegistrations();
    void longRunProposedAtOnce();
    void allEmptyThenCheckOrder();
    void takenCodeRefusedWithNothingStored();
    void saveStoresBothRows();
    void normListsStartEmptyOthersKeepTheirChoice();
    void leavingStoresNothing_data();
    void leavingStoresNothing();
    void digitFilterOnAgeAndCode();
    void failedStoreKeepsThePanel_data();
    void failedStoreKeepsThePanel();
};

void TestRegistrationPanel::openPreparesTheEntries()
{
    MainWindow m;
    QVERIFY(m.loaded);
    m.w.show();
    QVERIFY(m.w.Command1->isEnabled());
    m.w.Command1->click();
    QVERIFY(!m.panel->isHidden());
    QCOMPARE(m.panel->objectName(), u"Frame10"_s);
    QCOMPARE(m.panel->geometry(), twipsRect(675, 855, 7440, 2895));
    QVERIFY(!m.w.Command1->isEnabled());
    QCOMPARE(m.panel->Text11->text(), QString()); // nothing registered: the code is typed
    QCOMPARE(m.panel->Text8->text(), u"1401/05/30"_s); // the fixed clock's 21 August 2022
    QVERIFY2(m.panel->Text9->text().startsWith(u"10:30:15"_s), qPrintable(m.panel->Text9->text()));
    QCOMPARE(m.w.focusWidget(), m.panel->Text6);
    QVERIFY(m.w.registrationPanel()->Adodc2.isNew());

    // Under a Persian system locale the stamp is a clean time too.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Persian, QLocale::Iran));
    m.panel->Command10->click();
    m.w.Command1->click();
    QLocale::setDefault(before);
    QCOMPARE(m.panel->Text9->text(), u"10:30:15"_s);
}

void TestRegistrationPanel::codeProposal_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("empty table") << QStringList{} << QString();
    QTest::newRow("1 2 3 5") << QStringList{u"1"_s, u"2"_s, u"3"_s, u"5"_s} << u"6"_s;
    QTest::newRow("1 2 5 3") << QStringList{u"1"_s, u"2"_s, u"5"_s, u"3"_s} << u"4"_s;
    QTest::newRow("8 7") << QStringList{u"8"_s, u"7"_s} << u"9"_s;
}

void TestRegistrationPanel::codeProposal()
{
    QFETCH(QStringList, registered);
    QFETCH(QString, proposed);
    MainWindow m;
    for (const QString& code : registered)
        QVERIFY(testing_support::addExaminee(m.env.folder(), code));
    QVERIFY(m.loaded);
    m.w.Command1->click();
    QCOMPARE(m.panel->Text11->text(), proposed);
}

void TestRegistrationPanel::proposalAfterEarlierRegistrations()
{
    // The table was empty when the window loaded; each later opening still proposes.
    MainWindow m;
    QVERIFY(m.loaded);
    m.w.Command1->click();
    m.fill(u"1"_s);
    m.panel->Command8->click();
    QCOMPARE(m.rowsWithCode(u"IDE"_s, u"1"_s), 1);
    m.w.Command1->click();
    QCOMPARE(m.panel->Text11->text(), u"2"_s);
    // Leaving the panel through another menu action and coming back proposes again.
    m.w.HideAllPanels();
    m.w.Command1->click();
    QCOMPARE(m.panel->Text11->text(), u"2"_s);
}

void TestRegistrationPanel::longRunProposedAtOnce()
{
    // Codes 1 .. 40,000 taken, "1" registered last: the panel opens with the proposal.
    MainWindow m;
    QVERIFY(m.exec(u"WITH RECURSIVE n(i) AS (SELECT 2 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                   u"INSERT INTO IDE (Code) SELECT i FROM n"_s));
    QVERIFY(testing_support::addExaminee(m.env.folder(), u"1"_s));
    QVERIFY(m.loaded);
    m.w.Command1->click();
    QCOMPARE(m.panel->Text11->text(), u"40001"_s);
    m.fill(m.panel->Text11->text());
    m.panel->Command8->click();
    QCOMPARE(m.messages(), QStringList());
    QCOMPARE(m.rowsWithCode(u"IDE"_s, u"40001"_s), 1);
}

void TestRegistrationPanel::allEmptyThenCheckOrder()
{
    MainWindow m;
    QVERIFY(m.loaded);
    // The code caption and the code message follow the identifier label as it is typed.
    QCOMPARE(m.panel->codeCaption->text(), m.w.IdentifierLabel());
    m.w.clinicDetailsPanel()->Text23->setText(u"شماره پرونده"_s);
    QCOMPARE(m.panel->codeCaption->text(), u"شماره پرونده"_s);
    m.w.Command1->click();
    RegistrationPanel* p = m.panel;
    p->Text8->clear();
    p->Text9->clear();
    p->Command8->click();
    const auto box = m.env.dialogs.lastMessage();
    QVERIFY(box);
    QCOMPARE(box->title, kMessageTitle);
    QCOMPARE(box->autoCloseMs, 1000);
    QCOMPARE(m.messages(), QStringList{u"شما بايد "_s + u"شماره پرونده"_s + u"  مورد نظر را وارد كنيد "_s});
    QCOMPARE(m.w.focusWidget(), p->Text11);
    QVERIFY(!p->isHidden());

    // Filling the entries one by one in their order, each save names the next missing one.
    const struct {
        std::function<void()> fill;
        QString message;
        QWidget* focus;
    } steps[] = {
        {[p] { p->Text11->setText(u"31"_s); }, u"نام آزمودني را وارد کنيد"_s, p->Text6},
        {[p] { p->Text6->setText(u"سارا"_s); }, u"نام خانوادگي آزمودني را وارد کنيد"_s, p->Text4},
        {[p] { p->Text4->setText(u"نوري"_s); }, u"جنسيت آزمودني را مشخص کنيد"_s, p->Combo2},
        {[p] { p->Combo2->setCurrentIndex(0); }, u"سن آزمودني را وارد کنيد"_s, p->Text5},
        {[p] { p->Text5->setText(u"27"_s); }, u"وضعيت تاهل آزمودني را مشخص کنيد"_s, p->Combo1},
        {[p] { p->Combo1->setCurrentIndex(0); }, u"گروه را مشخص کنيد"_s, p->Combo3},
        {[p] { p->Combo3->setCurrentIndex(6); }, u"ميزان تحصيلات آزمودني را وارد کنيد"_s, p->Combo4},
    };
    for (const auto& step : steps) {
        step.fill();
        m.env.dialogs.clear();
        p->Command8->click();
        QCOMPARE(m.messages(), QStringList{step.message});
        QCOMPARE(m.w.focusWidget(), step.focus);
    }
    // A later entry filled does not hide an earlier empty one.
    p->Combo4->setCurrentIndex(1);
    p->Text4->clear();
    m.env.dialogs.clear();
    p->Command8->click();
    QCOMPARE(m.messages(), QStringList{u"نام خانوادگي آزمودني را وارد کنيد"_s});
    QCOMPARE(m.rows(u"IDE"_s), 0);
    p->Text4->setText(u"نوري"_s);
    m.env.dialogs.clear();
    p->Command8->click();
    QCOMPARE(m.messages(), QStringList{}); // no message confirms a save
    QCOMPARE(m.rowsWithCode(u"IDE"_s, u"31"_s), 1);
}

void TestRegistrationPanel::takenCodeRefusedWithNothingStored()
{
    MainWindow m;
    QVERIFY(testing_support::addExaminee(m.env.folder(), u"5"_s));
    QVERIFY(m.loaded);
    m.w.Command1->click();
    m.fill(u"5"_s);
    m.panel->Command8->click();
    QCOMPARE(m.messages(), QStringList{u"فردديگري با اين کد ثبت شده"_s});
    QCOMPARE(m.env.dialogs.lastMessage()->title, kMessageTitle);
    QCOMPARE(m.rows(u"IDE"_s), 1);
    QCOMPARE(m.rows(u"Answer"_s), 1);
    // The panel stays open with everything entered.
    QVERIFY(!m.panel->isHidden());
    QVERIFY(!m.w.Command1->isEnabled());
    QCOMPARE(m.panel->Text6->text(), u"مهسا"_s);
    QCOMPARE(m.panel->Combo3->currentText(), u"E"_s);
    QVERIFY(m.w.closeShowsExitScreen());
    // A free code then saves.
    m.panel->Text11->setText(u"6"_s);
    m.panel->Command8->click();
    QCOMPARE(m.rowsWithCode(u"IDE"_s, u"6"_s), 1);
}

void TestRegistrationPanel::saveStoresBothRows()
{
    MainWindow m;
    QVERIFY(m.loaded);
    m.w.Command1->click();
    m.fill(QString());
    m.panel->Text11->setText(u" 15"_s); // only a program puts a blank here; the response row trims it
    m.panel->Command8->click();
    QVERIFY(m.panel->isHidden());
    QVERIFY(m.w.Command1->isEnabled());
    QVERIFY(!m.w.closeShowsExitScreen());

    store::View ide(m.file(), u"IDE"_s);
    (void)ide.refresh();
    QCOMPARE(ide.count(), 1);
    const QHash<QString, QString> expected{
        {u"Code"_s, u" 15"_s}, {u"FName"_s, u"مهسا"_s}, {u"LName"_s, u"کريمي"_s}, {u"Sen"_s, u"34"_s},
        {u"Jens"_s, m.panel->Combo2->itemText(1)}, {u"Taahol"_s, m.panel->Combo1->itemText(2)},
        {u"Group"_s, u"E"_s}, {u"Tahsil"_s, m.panel->Combo4->itemText(0)},
        {u"Date"_s, u"1401/05/30"_s}, {u"Time"_s, m.panel->Text9->text()},
    };
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(ide.value(it.key()), it.value());
    QVERIFY(!ide.value(u"Time"_s).isEmpty());

    store::View answer(m.file(), u"Answer"_s);
    (void)answer.refresh();
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.value(u"Code"_s), u"15"_s);
    for (const QString& item : store::itemColumns()) {
        QVERIFY(!answer.rawValue(item).isNull()); // empty text, not missing
        QCOMPARE(answer.value(item), QString());
    }
    // The main window sees the new response row: the run-test button asks for the code.
    m.env.dialogs.inputAnswers << u"15"_s;
    m.w.Command2->click();
    QVERIFY(m.env.dialogs.inputAnswers.isEmpty());
}

void TestRegistrationPanel::normListsStartEmptyOthersKeepTheirChoice()
{
    MainWindow m;
    QVERIFY(m.loaded);
    m.w.Command1->click();
    m.fill(u"40"_s);
    m.panel->Command8->click();
    m.w.Command1->click();
    QCOMPARE(m.panel->Text11->text(), u"41"_s);
    // Sex and education choose the norm table: never inherited from the examinee before.
    QCOMPARE(m.panel->Combo2->currentIndex(), -1);
    QCOMPARE(m.panel->Combo4->currentIndex(), -1);
    QCOMPARE(m.panel->Combo1->currentIndex(), 2);
    QCOMPARE(m.panel->Combo3->currentText(), u"E"_s);
    m.panel->Text6->setText(u"رضا"_s);
    m.panel->Text4->setText(u"امیني"_s);
    m.panel->Text5->setText(u"51"_s);
    m.panel->Command8->click();
    QCOMPARE(m.messages().last(), texts::kSpecifySex);
    QVERIFY(!m.panel->isHidden());
    m.panel->Combo2->setCurrentIndex(0);
    m.panel->Combo4->setCurrentIndex(1);
    m.panel->Command8->click();
    store::View ide(m.file(), u"IDE"_s);
    QVERIFY(ide.refresh());
    QVERIFY(ide.setFilter(u"Code"_s, u"41"_s));
    QCOMPARE(ide.value(u"Group"_s), u"E"_s);
    QCOMPARE(ide.value(u"Taahol"_s), m.panel->Combo1->itemText(2));
    QCOMPARE(ide.value(u"Jens"_s), m.panel->Combo2->itemText(0));
    QCOMPARE(ide.value(u"Tahsil"_s), m.panel->Combo4->itemText(1));
    QCOMPARE(ide.value(u"Sen"_s), u"51"_s);
}

void TestRegistrationPanel::leavingStoresNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("another menu action") << false; // HideAllPanels on an empty IDE table
}

void TestRegistrationPanel::leavingStoresNothing()
{
    QFETCH(bool, cancel);
    MainWindow m;
    QVERIFY(m.loaded);
    m.w.Command1->click();
    m.fill(u"4"_s);
    if (cancel)
        m.panel->Command10->click();
    else
        m.w.HideAllPanels();
    QVERIFY(m.panel->isHidden());
    QVERIFY(m.w.Command1->isEnabled());
    QVERIFY(!m.w.registrationPanel()->Adodc2.isNew()); // the unsaved row is dropped
    QCOMPARE(m.rows(u"IDE"_s), 0);
    QCOMPARE(m.rows(u"Answer"_s), 0);
    QVERIFY(m.w.closeShowsExitScreen());
}

void TestRegistrationPanel::digitFilterOnAgeAndCode()
{
    MainWindow m;
    QVERIFY(m.loaded);
    m.w.show();
    m.w.Command1->click();
    QLineEdit* age = m.panel->Text5;
    QTest::keyClicks(age, u"3a"_s);
    QCOMPARE(age->text(), u"3"_s);
    QCOMPARE(m.env.dialogs.beeps, 1);
    QCOMPARE(m.messages(), QStringList{u"شما بايد عدد وارد كنيد"_s});
    QTest::keyClicks(age, u"45"_s); // two characters at most, without a complaint
    QCOMPARE(age->text(), u"34"_s);
    QTest::keyClick(age, Qt::Key_Backspace);
    QCOMPARE(age->text(), u"3"_s);
    QCOMPARE(m.env.dialogs.beeps, 1);

    m.panel->Text11->clear();
    QTest::keyClicks(m.panel->Text11, u"1x2"_s);
    QCOMPARE(m.panel->Text11->text(), u"12"_s);
    QCOMPARE(m.env.dialogs.beeps, 2);
}

void TestRegistrationPanel::failedStoreKeepsThePanel_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("alsoRefused"); // a statement run before, to make more fail
    QTest::newRow("response row") << u"Answer"_s << QString(); // the examinee row goes with it
    QTest::newRow("examinee row") << u"IDE"_s << QString();
    // Both rows in one transaction: nothing needs deleting afterwards, so nothing is left half.
    QTest::newRow("response row, no deleting either")
        << u"Answer"_s << u"CREATE TRIGGER keep BEFORE DELETE ON IDE BEGIN SELECT RAISE(ABORT, 'locked'); END"_s;
}

void TestRegistrationPanel::failedStoreKeepsThePanel()
{
    QFETCH(QString, table);
    QFETCH(QString, alsoRefused);
    MainWindow m;
    QVERIFY(m.loaded);
    QVERIFY(m.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s.arg(table)));
    QVERIFY(alsoRefused.isEmpty() || m.exec(alsoRefused));
    m.w.Command1->click();
    m.fill(u"12"_s);
    m.panel->Command8->click();
    QCOMPARE(m.env.dialogs.messages().size(), 1);
    const auto box = m.env.dialogs.lastMessage();
    QCOMPARE(box->title, kErrorTitle);
    QVERIFY2(box->text.contains(u"disk full"_s), qPrintable(box->text));
    QCOMPARE(m.rows(u"IDE"_s), 0);
    QCOMPARE(m.rows(u"Answer"_s), 0);
    QVERIFY(!m.panel->isHidden());
    QVERIFY(!m.w.Command1->isEnabled());
    QCOMPARE(m.panel->Text4->text(), u"کريمي"_s);
    QVERIFY(m.w.closeShowsExitScreen());

    // Once the store works again, the same entries are saved once.
    QVERIFY(m.exec(u"DROP TRIGGER refuse"_s));
    m.panel->Command8->click();
    QCOMPARE(m.rowsWithCode(u"IDE"_s, u"12"_s), 1);
    QCOMPARE(m.rowsWithCode(u"Answer"_s, u"12"_s), 1);
    QCOMPARE(m.rows(u"IDE"_s), 1);
    QVERIFY(m.panel->isHidden());
    QVERIFY(!m.w.closeShowsExitScreen());
}

TAVORA_TEST(TestRegistrationPanel)
#include "tst_registration_panel.moc"
