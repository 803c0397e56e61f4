#include "settings/clinic_details_panel.h"
#include "support/test_registry.h"
#include "support/test_env.h"
#include "app/main_window.h"
#include "capture/answer_sheet_entry.h"
#include "capture/answer_sheet_screen.h"
#include "phone/stored_answers.h"
#include "store/view.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using answer_sheet::KeyVerdict;

namespace {

// The main window on a folder with examinee "7" (stored responses as given) and the answer
// sheet opened from its button.
struct Sheet {
    TestEnv env;
    bool seeded;
    Frm1 w{env.ctx};
    Frmpas2* s = nullptr;

    explicit Sheet(const QStringList& responses = {})
        : seeded(testing_support::addExaminee(env.folder(), u"7"_s, responses,
                                              {{u"FName"_s, u"مريم"_s}, {u"LName"_s, u"احمدي"_s}}))
    {
        seeded = seeded && w.load();
        w.CmdPasokh->click();
        s = w.findChild<Frmpas2*>();
    }
    QString file() const { return env.path(u"Tavora71.mdb"_s); }
    bool select(const QString& code = u"7"_s)
    {
        s->Text4->setText(code);
        QTest::keyClick(s->Text4, Qt::Key_Return);
        return !s->Frame1->isHidden();
    }
    // The response as committed to the file.
    QString stored(int item, const QString& code = u"7"_s) const
    {
        store::View v(file(), u"Answer"_s);
        (void)v.refresh();
        (void)v.setFilter(u"Code"_s, code);
        return v.value(QString::number(item));
    }
    // Keys as a keyboard sends them, Persian ones included.
    void type(int item, const QString& keys)
    {
        s->entryField(item)->setFocus();
        for (const QChar c : keys) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(s->focusWidget(), c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
                QApplication::sendEvent(s->focusWidget(), &press);
            }
        }
    }
};

} // namespace

class TestAnswerSheetEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void classifiesKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<KeyVerdict::Rule>("rule");
        QTest::addColumn<QString>("code");
        QTest::newRow("1") << int(Qt::Key_1) << u"1"_s << KeyVerdict::Rule::Answer << u"1"_s;
        QTest::newRow("0") << int(Qt::Key_0) << u"0"_s << KeyVerdict::Rule::Answer << u"0"_s;
        QTest::newRow("Persian 2") << 0x06F2 << u"۲"_s << KeyVerdict::Rule::Answer << u"2"_s;
        QTest::newRow("3") << int(Qt::Key_3) << u"3"_s << KeyVerdict::Rule::Refuse << QString();
        QTest::newRow("Persian 3") << 0x06F3 << u"۳"_s << KeyVerdict::Rule::Refuse << QString();
        QTest::newRow("a letter") << int(Qt::Key_A) << u"a"_s << KeyVerdict::Rule::Refuse << QString();
        QTest::newRow("Enter") << int(Qt::Key_Return) << u"\r"_s << KeyVerdict::Rule::Refuse << QString();
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << u"\b"_s << KeyVerdict::Rule::Erase << QString();
        QTest::newRow("Delete") << int(Qt::Key_Delete) << QString() << KeyVerdict::Rule::Erase << QString();
        QTest::newRow("Tab") << int(Qt::Key_Tab) << u"\t"_s << KeyVerdict::Rule::Pass << QString();
        QTest::newRow("arrow") << int(Qt::Key_Left) << QString() << KeyVerdict::Rule::Pass << QString();
    }
    void classifiesKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(KeyVerdict::Rule, rule);
        QFETCH(QString, code);
        const KeyVerdict v = answer_sheet::ClassifyKey(key, text);
        QCOMPARE(v.rule, rule);
        QCOMPARE(v.code, code);
    }

    void commitsEveryTenEntries()
    {
        answer_sheet::Entry e;
        for (int item = 1; item <= 9; ++item) {
            const auto step = e.fieldChanged(item, u"1"_s);
            QVERIFY(step && !step->commit);
            QCOMPARE(step->focusItem, item + 1);
        }
        e.fieldChanged(9, QString()); // an erasure counts for nothing
        e.keystroke();
        QCOMPARE(e.counter(), 9);
        QVERIFY(e.fieldChanged(10, u"2"_s)->commit);
        QCOMPARE(e.counter(), 0);

        const auto last = e.fieldChanged(71, u"0"_s); // stored, neither advancing nor counting
        QCOMPARE(last->stored, u"0"_s);
        QVERIFY(!last->focusItem);
        QCOMPARE(e.counter(), 0);
    }

    void loadingIsNotTyping()
    {
        answer_sheet::Entry e;
        e.loading();
        QVERIFY(!e.fieldChanged(4, u"1"_s));
        QCOMPARE(e.counter(), 0);
        e.keystroke();
        QVERIFY(e.fieldChanged(4, u"1"_s));
        QVERIFY(!e.fieldChanged(5, u"7"_s)); // only a response code is ever stored
    }
};

class TestAnswerSheetScreen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithTheGridHidden()
    {
        Sheet r;
        QVERIFY(r.seeded && r.s);
        QVERIFY(r.s->isVisible());
        QVERIFY(r.s->isModal());
        QVERIFY(r.s->Frame1->isHidden());
    }

    void selectionRefusals()
    {
        Sheet r;
        QVERIFY(r.seeded && r.s);
        r.w.clinicDetailsPanel()->Text23->setText(u"شماره پرونده"_s);
        QVERIFY(!r.select(QString()));
        QCOMPARE(r.env.dialogs.lastMessage()->text, u"شما بايد شماره پرونده  مورد نظر را وارد كنيد "_s);
        QVERIFY(!r.select(u"8"_s));
        QCOMPARE(r.env.dialogs.lastMessage()->text, u"فردي با اين مشخصات وجود ندارد"_s);
        QCOMPARE(r.env.dialogs.lastMessage()->autoCloseMs, 1000);
    }

    void showsStoredResponsesAsLoadedNotTyped()
    {
        Sheet r({u"1"_s, u"2"_s, u"0"_s});
        QVERIFY(r.seeded && r.select());
        QCOMPARE(r.s->SkinLbl2->text(), u"مريم احمدي"_s);
        QCOMPARE(r.s->entryField(2)->text(), u"2"_s);
        QCOMPARE(r.s->entryField(3)->text(), u"0"_s);
        QCOMPARE(r.s->entryField(4)->text(), QString());
        QVERIFY(!r.s->answers.hasPendingEdit());
        QCOMPARE(r.s->entry().counter(), 0);
        QCOMPARE(r.s->focusWidget(), r.s->entryField(1));
    }

    void typedDigitIsStoredAndMovesOn()
    {
        QStringList responses(71);
        responses[5] = u"2"_s; // item 6 answered before
        Sheet r(responses);
        QVERIFY(r.seeded && r.select());
        r.type(5, u"1"_s);
        QCOMPARE(r.s->responseField(5)->text(), u"1"_s);
        QCOMPARE(r.s->answers.value(u"5"_s), u"1"_s); // in the row, committed with the next commit
        QCOMPARE(r.stored(5), QString());
        QCOMPARE(r.s->focusWidget(), r.s->entryField(6));
        QCOMPARE(r.s->entryField(6)->selectedText(), u"2"_s); // the next key replaces it
        QCOMPARE(r.s->Text13->text(), u"1"_s);

        r.type(6, u"۱"_s); // over the selected answer, with a Persian keyboard
        QCOMPARE(r.s->responseField(6)->text(), u"1"_s);
        QCOMPARE(r.s->focusWidget(), r.s->entryField(7));
    }

    void otherKeysBeepAndStoreNothing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("3") << u"3"_s;
        QTest::newRow("a letter") << u"x"_s;
        QTest::newRow("a Persian letter") << u"ب"_s;
        QTest::newRow("a Persian 3") << u"۳"_s;
    }
    void otherKeysBeepAndStoreNothing()
    {
        QFETCH(QString, keys);
        Sheet r;
        QVERIFY(r.seeded && r.select());
        r.type(4, keys);
        QCOMPARE(r.env.dialogs.beeps, 1);
        QCOMPARE(r.s->entryField(4)->text(), QString());
        QVERIFY(!r.s->answers.hasPendingEdit());
        QCOMPARE(r.s->focusWidget(), r.s->entryField(4));
    }

    void pastedOrDroppedTextIsRefused()
    {
        Sheet r;
        QVERIFY(r.seeded && r.select());
        QLineEdit* field = r.s->entryField(3);
        field->setFocus();
        QApplication::clipboard()->setText(u"1"_s);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        QMimeData mime;
        mime.setText(u"2"_s);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        QCOMPARE(field->text(), QString());
        QVERIFY(!r.s->answers.hasPendingEdit());
        QCOMPARE(r.env.dialogs.beeps, 2);
        QCOMPARE(field->contextMenuPolicy(), Qt::NoContextMenu);
    }

    // Text that reaches a field by any other way than a key (here as the middle button inserts
    // the primary selection) is taken back: the field keeps showing what the row holds.
    void textThatIsNoKeyIsTakenBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("a response code") << u"2"_s;
        QTest::newRow("another digit") << u"9"_s;
    }
    void textThatIsNoKeyIsTakenBack()
    {
        QFETCH(QString, text);
        Sheet r;
        QVERIFY(r.seeded && r.select());
        QLineEdit* field = r.s->entryField(5);
        field->setFocus();
        field->insert(text);
        QCOMPARE(field->text(), QString());
        QCOMPARE(r.s->responseField(5)->text(), QString());
        QVERIFY(!r.s->answers.hasPendingEdit());
        QCOMPARE(r.env.dialogs.beeps, 1);
        QCOMPARE(r.s->focusWidget(), field);
    }

    // Save says what is wrong, and stores nothing, when the grid is no examinee's or another's.
    void saveRefusesASheetNotChosenByTheCode_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::newRow("no examinee selected") << false;
        QTest::newRow("another code in the box") << true;
    }
    void saveRefusesASheetNotChosenByTheCode()
    {
        QFETCH(bool, selected);
        Sheet r;
        QVERIFY(r.seeded);
        if (selected) {
            QVERIFY(r.select());
            r.type(1, u"1"_s);
        }
        r.s->Text4->setText(u"8"_s);
        r.s->Command1->click();
        const auto box = r.env.dialogs.lastMessage();
        QVERIFY(box);
        QCOMPARE(box->title, u"توجه"_s);
        QVERIFY(box->text.contains(u"ذخيره نشد"_s));
        QCOMPARE(r.stored(1), QString());
    }

    void backspaceEmptiesTheResponse()
    {
        Sheet r({u"1"_s, u"1"_s, u"2"_s});
        QVERIFY(r.seeded && r.select());
        r.s->entryField(3)->setFocus();
        QTest::keyClick(r.s->entryField(3), Qt::Key_Backspace);
        QCOMPARE(r.s->responseField(3)->text(), QString());
        QCOMPARE(r.s->focusWidget(), r.s->entryField(3));
        r.s->Command1->click();
        QCOMPARE(r.stored(3), QString());
        QCOMPARE(r.stored(2), u"1"_s);
    }

    void tenEntriesAreCommittedWithoutSave()
    {
        Sheet r;
        QVERIFY(r.seeded && r.select());
        r.type(1, u"121212120"_s);
        QCOMPARE(r.stored(9), QString()); // nine entries: not yet
        QTest::keyClick(r.s->focusWidget(), '2');
        QTRY_COMPARE(r.stored(10), u"2"_s); // right after the keystroke
        for (int item = 1; item <= 10; ++item)
            QCOMPARE(r.stored(item), QStringList({u"1"_s, u"2"_s, u"1"_s, u"2"_s, u"1"_s, u"2"_s, u"1"_s, u"2"_s, u"0"_s, u"2"_s})[item - 1]);
        QCOMPARE(r.s->Text13->text(), u"0"_s);
        QVERIFY(r.env.dialogs.shown.isEmpty());
    }

    void itemSeventyOneIsCommittedBySave()
    {
        Sheet r;
        QVERIFY(r.seeded && r.select());
        r.type(71, u"2"_s);
        QCOMPARE(r.s->focusWidget(), r.s->entryField(71));
        QCOMPARE(r.s->Text13->text(), u"0"_s);
        QCOMPARE(r.stored(71), QString());
        r.s->Command1->click();
        QCOMPARE(r.stored(71), u"2"_s);
        QCOMPARE(r.env.dialogs.lastMessage()->text, u"تغييرات با موفقيت ذخيره گرديد"_s);
        QCOMPARE(r.env.dialogs.lastMessage()->autoCloseMs, 1000);
    }

    void registeredExamineeWithoutResponseRowGetsOne()
    {
        Sheet r;
        QVERIFY(r.seeded);
        QVERIFY(testing_support::execSql(r.file(), {u"INSERT INTO IDE (Code, FName, LName) VALUES ('12', 'علي', 'رضايي')"_s}));
        QVERIFY(r.select(u"12"_s));
        store::View answers(r.file(), u"Answer"_s);
        QVERIFY(answers.setFilter(u"Code"_s, u"12"_s).ok);
        QCOMPARE(answers.count(), 1);
        for (int item = 1; item <= 71; ++item)
            QVERIFY(r.s->entryField(item)->text().isEmpty());
        r.type(1, u"1"_s);
        r.s->Command1->click();
        QCOMPARE(r.stored(1, u"12"_s), u"1"_s);
    }

    // Entries not yet committed are kept whichever way the examinee is left.
    void leavingCommitsTheEntries_data()
    {
        QTest::addColumn<int>("route");
        QTest::newRow("another examinee") << 0;
        QTest::newRow("exit button") << 1;
        QTest::newRow("Escape") << 2;
        QTest::newRow("close box") << 3;
    }
    void leavingCommitsTheEntries()
    {
        QFETCH(int, route);
        Sheet r;
        QVERIFY(r.seeded && testing_support::addExaminee(r.env.folder(), u"8"_s));
        QVERIFY(r.select());
        r.type(69, u"102"_s); // 69, 70 counted, 71 not
        QPointer<Frmpas2> s = r.s;
        switch (route) {
        case 0:
            QVERIFY(r.select(u"8"_s));
            break;
        case 1:
            r.s->Command2->click();
            break;
        case 2:
            QTest::keyClick(r.s, Qt::Key_Escape);
            break;
        case 3:
            r.s->close();
            break;
        }
        QCOMPARE(r.stored(69) + r.stored(70) + r.stored(71), u"102"_s);
        if (route != 0) {
            QVERIFY(s->isHidden());
            QTRY_VERIFY(!s); // the main window lets it go
        }
    }

    void failedCommitsAreReported()
    {
        Sheet r;
        QVERIFY(r.seeded && r.select());
        QVERIFY(testing_support::execSql(r.file(), {u"CREATE TRIGGER refuse BEFORE UPDATE ON Answer BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s}));
        r.type(1, u"1111111111"_s); // the periodic commit
        QTRY_VERIFY(r.env.dialogs.lastMessage());
        QCOMPARE(r.env.dialogs.lastMessage()->title, u"خطا"_s);
        r.env.dialogs.clear();
        r.s->Command1->click();
        QCOMPARE(r.env.dialogs.messages().size(), 1); // the failure, and no "saved"
        QCOMPARE(r.env.dialogs.lastMessage()->title, u"خطا"_s);
        QVERIFY(r.env.dialogs.lastMessage()->text.contains(u"disk full"_s));
    }

    void keysAskBeforeReplacingAnAnswerGivenMeanwhile()
    {
        Sheet r;
        QVERIFY(r.seeded && r.select());
        int answered = 0;
        QVERIFY(phone::StoredAnswers(r.env.folder()).storeAnswer(u"7"_s, 3, u"2"_s, answered)); // on his phone
        r.type(3, u"11"_s); // items 3 and 4
        r.env.dialogs.questionAnswers.enqueue(false);
        r.s->Command1->click();
        QCOMPARE(r.env.dialogs.shown.first().kind, ScriptedDialogs::Kind::Question);
        QVERIFY(r.env.dialogs.shown.first().text.contains(u"سؤال 3:"_s));
        QCOMPARE(r.stored(3), u"2"_s);
        QCOMPARE(r.s->entryField(3)->text(), u"2"_s);
        QCOMPARE(r.stored(4), u"1"_s);
    }
};

TAVORA_TEST(TestAnswerSheetEntry)
TAVORA_TEST(TestAnswerSheetScreen)
#include "tst_answer_sheet.moc"
