// The product's message boxes: only a box titled "پيام" closes by itself.
#include "kit/qt_dialogs.h"
#include "support/test_registry.h"

#include <QApplication>
#include <QPointer>
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
        int armedMs = 0;
        QTimer::singleShot(0, [&] {
            if (QMessageBox* box = shownBox()) {
                seenTitle = box->windowTitle();
                if (auto* timer = box->findChild<QTimer*>(QStringLiteral("autoClose")); timer && timer->isActive())
                    armedMs = timer->interval();
            }
        });
        // Nothing else closes it: returning at all means its own timer did.
        ShowAutoClosingMessage(dialogs, nullptr, QStringLiteral("ذخيره شد"), 300);
        QCOMPARE(seenTitle, QStringLiteral("پيام"));
        QCOMPARE(armedMs, 300);
    }

    void otherTitlesStayUntilClosed()
    {
        QtDialogs dialogs;
        bool stillOpen = false;
        // When the box's timer has fired the box is still there; then the "user" closes it.
        QTimer::singleShot(0, [&] {
            QMessageBox* box = shownBox();
            auto* timer = box ? box->findChild<QTimer*>(QStringLiteral("autoClose")) : nullptr;
            QVERIFY(timer);
            QObject::connect(timer, &QTimer::timeout, box, [&stillOpen, box] {
                stillOpen = box->isVisible() && box->windowTitle() == QStringLiteral("توجه");
                box->button(QMessageBox::Ok)->click();
            });
        });
        dialogs.message(nullptr, QStringLiteral("توجه"), QStringLiteral("x"), Dialogs::Icon::Information, 100);
        QVERIFY(stillOpen);
    }

    void closingEarlyLeavesTheTimerNothingToDo()
    {
        QtDialogs dialogs;
        QPointer<QTimer> timer;
        QTimer::singleShot(0, [&timer] {
            if (QMessageBox* box = shownBox())
                timer = box->findChild<QTimer*>(QStringLiteral("autoClose"));
            QVERIFY(CloseMessageBoxTitledMessage());
        });
        ShowAutoClosingMessage(dialogs, nullptr, QStringLiteral("x"), 400);
        QVERIFY(timer.isNull()); // gone with its box: nothing is left to close a later one
        QVERIFY(!CloseMessageBoxTitledMessage());
    }

private:
    static QMessageBox* shownBox()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                return box;
        return nullptr;
    }
};

TAVORA_TEST(TestAutoClosingMessage)
#include "tst_auto_closing_message.moc"
