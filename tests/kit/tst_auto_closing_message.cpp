// The product's message boxes: only a box titled "پيام" closes by itself.
#include "kit/qt_dialogs.h"
#include "support/test_registry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

class TestAutoClosingMessage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messageBoxClosesByItselfAsIfOkWerePressed()
    {
        QtDialogs dialogs;
        QString seenTitle;
        QTimer::singleShot(50, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                    seenTitle = box->windowTitle();
        });
        QElapsedTimer t;
        t.start();
        ShowAutoClosingMessage(dialogs, nullptr, QStringLiteral("ذخيره شد"), 300);
        QCOMPARE(seenTitle, QStringLiteral("پيام"));
        QVERIFY(t.elapsed() >= 250);
        QVERIFY(t.elapsed() < 5000);
    }

    void otherTitlesStayUntilClosed()
    {
        QtDialogs dialogs;
        bool stillOpen = false;
        // Well after the delay the box is still there; then the "user" closes it.
        QTimer::singleShot(700, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    stillOpen = box->windowTitle() == QStringLiteral("توجه");
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        dialogs.message(nullptr, QStringLiteral("توجه"), QStringLiteral("x"), Dialogs::Icon::Information, 100);
        QVERIFY(stillOpen);
    }

    void closingEarlyLeavesTheTimerNothingToDo()
    {
        QtDialogs dialogs;
        QTimer::singleShot(30, [] { QVERIFY(CloseMessageBoxTitledMessage()); });
        ShowAutoClosingMessage(dialogs, nullptr, QStringLiteral("x"), 400);
        QTest::qWait(500); // the box's own timer fires into nothing
        QVERIFY(!CloseMessageBoxTitledMessage());
    }
};

TAVORA_TEST(TestAutoClosingMessage)
#include "tst_auto_closing_message.moc"
