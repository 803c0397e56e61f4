#include "settings/settings_panel.h"
#include "support/test_registry.h"
#include "support/test_env.h"
#include "app/main_window.h"
#include "kit/twips.h"
#include "capture/test_screen.h"
#include "capture/item_edit_panel.h"
#include "store/view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString deliveredText(const QString& file, int item)
{
    store::View v(file, u"QUS"_s);
    (void)v.setFilter(u"ID"_s, QString::number(item));
    return v.value(u"QU"_s);
}

// The main window with the item-edit panel opened from the settings panel.
struct Editing {
    TestEnv env;
    Frm1 w{env.ctx};
    bool loaded = w.load();
    ItemEditPanel* p = nullptr;

    Editing()
    {
        w.settingsPanel()->Cmndedit->click();
        p = qobject_cast<ItemEditPanel*>(w.Frame1);
    }
    QString file() const { return env.path(u"Tavora71.mdb"_s); }
    void number(const QString& text)
    {
        p->Text21->selectAll();
        p->Text21->setText(text);
    }
};

} // namespace

class TestItemEditPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensOverTheSettingsPanelOnItemOne()
    {
        Editing r;
        QVERIFY(r.loaded && r.p);
        QVERIFY(!r.p->isHidden());
        QVERIFY(!r.w.Frame8->isHidden());
        QCOMPARE(r.p->geometry(), twipsRect(135, 855, 7770, 3510));
        QCOMPARE(r.p->Text21->text(), u"1"_s);
        QCOMPARE(r.p->Text18->toPlainText(), deliveredText(r.file(), 1));
        QCOMPARE(r.w.settingsPanel()->Cmndedit->text(), u" ويرايش سوالات"_s);

        r.p->Command15->click(); // close: the settings panel stays
        QVERIFY(r.p->isHidden());
        QVERIFY(!r.w.Frame8->isHidden());
    }

    void itemNumberStaysWithinTheItems_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("step"); // then previous (-1) or next (+1), or 0
        QTest::addColumn<QString>("shown");
        QTest::newRow("99") << u"99"_s << 0 << u"71"_s;
        QTest::newRow("0") << u"0"_s << 0 << u"1"_s;
        QTest::newRow("a letter") << u"x"_s << 0 << u"1"_s;
        QTest::newRow("emptied") << QString() << 0 << u"1"_s;
        QTest::newRow("12") << u"12"_s << 0 << u"12"_s;
        QTest::newRow("previous on 1") << u"1"_s << -1 << u"1"_s;
        QTest::newRow("next on 71") << u"71"_s << +1 << u"71"_s;
        QTest::newRow("next on 12") << u"12"_s << +1 << u"13"_s;
    }
    void itemNumberStaysWithinTheItems()
    {
        QFETCH(QString, typed);
        QFETCH(int, step);
        QFETCH(QString, shown);
        Editing r;
        QVERIFY(r.loaded && r.p);
        r.number(typed);
        if (step < 0)
            r.p->Command18->click();
        else if (step > 0)
            r.p->Command14->click();
        QCOMPARE(r.p->Text21->text(), shown);
        QCOMPARE(r.p->currentItem(), shown.toInt());
        QCOMPARE(r.p->Text18->toPlainText(), deliveredText(r.file(), shown.toInt()));
    }

    // The test screen shows an edited item the next time it reaches it, also when it was
    // opened before the edit.
    void editedItemIsWhatTheTestScreenShows()
    {
        Editing r;
        QVERIFY(r.loaded && r.p);
        QVERIFY(testing_support::addExaminee(r.env.folder(), u"7"_s));
        QVERIFY(r.w.load()); // the menu sees the new examinee
        r.env.dialogs.inputAnswers.enqueue(u"7"_s);
        r.w.Command2->click();
        FrmTest* test = r.w.testScreen();
        QVERIFY(test);
        test->Command5->click();

        r.w.settingsPanel()->Cmndedit->click();
        r.number(u"5"_s);
        const QString edited = u"بيشتر وقت‌ها با آرامش از خواب بيدار مي‌شوم."_s;
        r.p->Text18->setPlainText(edited);
        r.env.dialogs.clear();
        r.p->Command16->click();
        QCOMPARE(r.env.dialogs.lastMessage()->text, u"تغييرات با موفقيت ذخيره شد"_s);
        QCOMPARE(r.env.dialogs.lastMessage()->autoCloseMs, 1000);
        QCOMPARE(deliveredText(r.file(), 5), edited);

        r.env.dialogs.inputAnswers.enqueue(u"7"_s);
        r.w.Command2->click();
        test->Command1->click();
        test->Text6->setText(u"5"_s);
        QCOMPARE(test->SkinLbl5->text(), edited);
    }

    // Leaving an item with an unsaved edit asks; the answer saves or drops the edit.
    void unsavedEditIsSettledOnLeaving_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<bool>("keep");
        QTest::newRow("next, kept") << 0 << true;
        QTest::newRow("next, dropped") << 0 << false;
        QTest::newRow("another number, kept") << 1 << true;
        QTest::newRow("close, dropped") << 2 << false;
        QTest::newRow("another menu button, kept") << 3 << true;
    }
    void unsavedEditIsSettledOnLeaving()
    {
        QFETCH(int, route);
        QFETCH(bool, keep);
        Editing r;
        QVERIFY(r.loaded && r.p);
        const QString before = deliveredText(r.file(), 1);
        r.p->Text18->setPlainText(u"متن تازه"_s);
        r.env.dialogs.questionAnswers.enqueue(keep);
        switch (route) {
        case 0:
            r.p->Command14->click();
            break;
        case 1:
            r.number(u"30"_s);
            break;
        case 2:
            r.p->Command15->click();
            break;
        case 3:
            r.w.Command1->click();
            break;
        }
        const auto asked = r.env.dialogs.shown.first();
        QCOMPARE(asked.kind, ScriptedDialogs::Kind::Question);
        QVERIFY(asked.text.contains(u'1'));
        QCOMPARE(deliveredText(r.file(), 1), keep ? u"متن تازه"_s : before);
        QCOMPARE(r.env.dialogs.shown.size(), 1); // asked once, no success notice
    }

    void failedSaveIsReported()
    {
        Editing r;
        QVERIFY(r.loaded && r.p);
        QVERIFY(testing_support::execSql(r.file(), {u"CREATE TRIGGER refuse BEFORE UPDATE ON QUS BEGIN SELECT RAISE(ABORT, 'read-only'); END"_s}));
        r.p->Text18->setPlainText(u"متن تازه"_s);
        r.p->Command16->click();
        QCOMPARE(r.env.dialogs.messages().size(), 1);
        QCOMPARE(r.env.dialogs.lastMessage()->title, u"خطا"_s);
        QVERIFY(r.env.dialogs.lastMessage()->text.contains(u"read-only"_s));
    }
};

TAVORA_TEST(TestItemEditPanel)
#include "tst_item_edit.moc"
