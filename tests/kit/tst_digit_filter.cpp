#include "support/test_registry.h"
#include "support/test_env.h"
#include "kit/digit_filter.h"
#include "kit/texts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

class TestDigitFilter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void digitsPass();
    void othersRefused_data();
    void othersRefused();
    void editingKeysPass();
    void pasteOfLettersRefused();
    void pasteOfDigitsAccepted();
};

namespace {

struct Field {
    TestEnv env;
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    Field() { DigitFilter::install(edit, env.ctx); }
    int refusals() const { return env.dialogs.messageTexts().count(texts::kMustEnterNumber); }
};

// Key presses carrying any character (QTest's own helpers know only Latin-1 keys).
void typeChars(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

} // namespace

void TestDigitFilter::digitsPass()
{
    Field f;
    QTest::keyClicks(f.edit, QStringLiteral("0123456789"));
    QCOMPARE(f.edit->text(), QStringLiteral("0123456789"));
    QCOMPARE(f.env.dialogs.beeps, 0);
    QCOMPARE(f.refusals(), 0);
}

void TestDigitFilter::othersRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("latin letter") << "a";
    QTest::newRow("blank") << " ";
    QTest::newRow("minus") << "-";
    QTest::newRow("dot") << ".";
    QTest::newRow("persian digit") << QStringLiteral("۵");
    QTest::newRow("persian letter") << QStringLiteral("ب");
}

void TestDigitFilter::othersRefused()
{
    QFETCH(QString, typed);
    Field f;
    QTest::keyClicks(f.edit, QStringLiteral("12"));
    typeChars(f.edit, typed);
    QCOMPARE(f.edit->text(), QStringLiteral("12"));
    QCOMPARE(f.env.dialogs.beeps, 1);
    QCOMPARE(f.refusals(), 1);
    const auto box = f.env.dialogs.lastMessage();
    QVERIFY(box);
    QCOMPARE(box->title, titles::kMessage);
    QCOMPARE(box->autoCloseMs, 1000);
}

void TestDigitFilter::editingKeysPass()
{
    Field f;
    QTest::keyClicks(f.edit, QStringLiteral("123"));
    QTest::keyClick(f.edit, Qt::Key_Backspace);
    QCOMPARE(f.edit->text(), QStringLiteral("12"));
    QTest::keyClick(f.edit, Qt::Key_Home);
    QTest::keyClick(f.edit, Qt::Key_Delete);
    QCOMPARE(f.edit->text(), QStringLiteral("2"));
    QTest::keyClick(f.edit, Qt::Key_Return);
    QTest::keyClick(f.edit, Qt::Key_Enter);
    QCOMPARE(f.edit->text(), QStringLiteral("2"));
    QCOMPARE(f.env.dialogs.beeps, 0);
}

void TestDigitFilter::pasteOfLettersRefused()
{
    Field f;
    f.edit->setText(QStringLiteral("4"));
    QGuiApplication::clipboard()->setText(QStringLiteral("5x"));
    QTest::keyClick(f.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.edit->text(), QStringLiteral("4"));
    QCOMPARE(f.env.dialogs.beeps, 1);
    QCOMPARE(f.refusals(), 1);
    // The context menu's paste goes round the keyboard: the field still takes no letter.
    f.edit->paste();
    QCOMPARE(f.edit->text(), QStringLiteral("4"));
}

void TestDigitFilter::pasteOfDigitsAccepted()
{
    Field f;
    QGuiApplication::clipboard()->setText(QStringLiteral("905"));
    QTest::keyClick(f.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.edit->text(), QStringLiteral("905"));
    QCOMPARE(f.env.dialogs.beeps, 0);
}

TAVORA_TEST(TestDigitFilter)
#include "tst_digit_filter.moc"
