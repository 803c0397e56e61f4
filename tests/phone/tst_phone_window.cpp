#include "support/test_registry.h"
#include "support/test_env.h"
#include "page_client.h"
#include "app/main_window.h"
#include "capture/test_screen.h"
#include "phone/phone_desk.h"
#include "phone/phone_texts.h"
#include "phone/phone_window.h"
#include "phone/stored_answers.h"
#include "store/view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using phone::PhoneDesk;

namespace {

QString stored(const TestEnv& env, int item)
{
    store::View v(env.path(u"Tavora71.mdb"_s), u"Answer"_s);
    (void)v.refresh();
    (void)v.setFilter(u"Code"_s, u"7"_s);
    return v.value(QString::number(item));
}

// The main window over examinee 7 (first name Sara, two items answered), his test screen open
// and its phone sessions served on loopback.
struct Run {
    TestEnv env;
    bool seeded = testing_support::addExaminee(env.folder(), u"7"_s, {u"1"_s, u"2"_s},
                                               {{u"FName"_s, u"سارا"_s}, {u"LName"_s, u"کريمي"_s}});
    Frm1 w{env.ctx};
    FrmTest* test = nullptr;

    Run()
    {
        if (!seeded || !w.load())
            return;
        env.dialogs.inputAnswers.enqueue(u"7"_s);
        w.Command2->click();
        test = w.testScreen();
        if (!test)
            return;
        test->phoneDesk().setPort(0);
        QString ignored;
        (void)test->phoneDesk().setAddress(QHostAddress(QHostAddress::LocalHost), ignored);
    }
    FrmPhone* window() const { return test ? test->phoneWindows().value(0) : nullptr; }
    QUrl link() const { return QUrl(window()->TxtLink->text()); }
};

} // namespace

class TestPhoneWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttonOpensTheSessionWindow();
    void closingABegunSessionAsks();
    void answerFromThePhoneNotReplacedUnasked_data();
    void answerFromThePhoneNotReplacedUnasked();
};

void TestPhoneWindow::buttonOpensTheSessionWindow()
{
    Run r;
    QVERIFY(r.test && r.test->isVisible());
    QVERIFY(r.test->CmdPhone->isVisible());
    QCOMPARE(r.test->CmdPhone->text(), u"پاسخ با تلفن همراه"_s);
    r.test->CmdPhone->click();
    FrmPhone* w = r.window();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->LblName->text(), u"7  سارا کريمي"_s);
    QVERIFY(r.link().toString().startsWith(u"http://127.0.0.1:"_s));
    QVERIFY(!w->LblQr->pixmap().isNull());
    QCOMPARE(w->LblProgress->text(), u"2 / 71"_s);
    QCOMPARE(w->LblState->text(), phone::texts::kStateWaiting);

    PageClient phone;
    QCOMPARE(phone.post(PageClient::action(r.link(), u"open"_s)).status, 200);
    QCOMPARE(w->LblState->text(), phone::texts::kStateBegun);
    QCOMPARE(phone.answer(r.link(), 38, "no").status, 200);
    QCOMPARE(w->LblProgress->text(), u"3 / 71"_s);
    QCOMPARE(stored(r.env, 38), u"2"_s);

    // The button again shows the same session; it does not open another.
    r.test->CmdPhone->click();
    QCOMPARE(r.test->phoneWindows().size(), 1);

    QVERIFY(r.test->phoneDesk().isServing());
    QCOMPARE(r.link(), QUrl(r.test->phoneDesk().link(r.window()->session())));
    QCOMPARE(phone.post(PageClient::action(r.link(), u"finish"_s)).status, 200);
    QCOMPARE(w->LblState->text(), phone::texts::kStateFinished);
    QVERIFY(!r.test->phoneDesk().isServing());
    // The session outlives the test screen: the examinee answers while the operator goes on.
    r.test->Command5->click();
    QVERIFY(!r.test->isVisible());
    QVERIFY(w->isVisible());
}

void TestPhoneWindow::closingABegunSessionAsks()
{
    Run r;
    QVERIFY(r.test);
    r.test->CmdPhone->click();
    const QUrl link = r.link();
    PageClient phone;
    QCOMPARE(phone.post(PageClient::action(link, u"open"_s)).status, 200);

    r.env.dialogs.questionAnswers.enqueue(false);
    r.window()->CmdClose->click();
    QCOMPARE(r.env.dialogs.shown.last().text, phone::texts::kAskClose);
    QVERIFY(r.window() && r.window()->isVisible());
    QCOMPARE(phone.answer(link, 4, "yes").status, 200);

    r.env.dialogs.questionAnswers.enqueue(true);
    r.window()->CmdClose->click();
    QTRY_VERIFY(r.test->phoneWindows().isEmpty());
    QVERIFY(!r.test->phoneDesk().isServing());
    QCOMPARE(phone.answer(link, 5, "yes").status, 0); // nobody listens any more
    QCOMPARE(stored(r.env, 5), QString());
}

// The operator answers item 3 on the test screen, the examinee answers it (or item 5) on his
// phone meanwhile; the screen's store asks before it replaces the phone's answer.
void TestPhoneWindow::answerFromThePhoneNotReplacedUnasked_data()
{
    QTest::addColumn<int>("phoneItem");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("item3");
    QTest::newRow("same item, phone's kept") << 3 << false << true << u"2"_s;
    QTest::newRow("same item, replaced") << 3 << true << true << u"1"_s;
    QTest::newRow("another item: nothing to ask") << 5 << false << false << u"1"_s;
}

void TestPhoneWindow::answerFromThePhoneNotReplacedUnasked()
{
    QFETCH(int, phoneItem);
    QFETCH(bool, replace);
    QFETCH(bool, asked);
    QFETCH(QString, item3);

    Run r;
    QVERIFY(r.test);
    r.test->Command1->click();
    r.test->Text6->setText(u"3"_s);
    r.test->Option1->click(); // yes, not stored before the next step
    phone::StoredAnswers page(r.env.folder());
    int answered = 0;
    QVERIFY(page.storeAnswer(u"7"_s, phoneItem, u"2"_s, answered));
    r.env.dialogs.clear();
    r.env.dialogs.questionAnswers.enqueue(replace);
    r.test->CmdNext->click();
    QCOMPARE(r.env.dialogs.shown.size(), asked ? 1 : 0);
    QCOMPARE(stored(r.env, 3), item3);
    QCOMPARE(stored(r.env, phoneItem), phoneItem == 3 ? item3 : u"2"_s);
    QCOMPARE(r.test->currentItem(), 4);
    // Back on item 3 the screen shows what is stored.
    r.test->CmdBack->click();
    QCOMPARE(r.test->Option2->isChecked(), item3 == u"2");
}

TAVORA_TEST(TestPhoneWindow)
#include "tst_phone_window.moc"
