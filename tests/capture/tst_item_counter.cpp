#include "support/test_registry.h"
#include "capture/item_counter.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Notice = ItemCounterOutcome::Notice;
Q_DECLARE_METATYPE(Notice)
Q_DECLARE_METATYPE(std::optional<int>)

class TestItemCounter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showItem_data();
    void showItem();
    void value_data();
    void value();
    void steps();
};

void TestItemCounter::showItem_data()
{
    QTest::addColumn<QString>("counter");
    QTest::addColumn<std::optional<int>>("item");
    QTest::addColumn<QString>("after");
    QTest::addColumn<Notice>("notice");
    QTest::addColumn<bool>("store");
    QTest::addColumn<bool>("clear");
    const std::optional<int> rest;
    QTest::newRow("first") << u"1"_s << std::optional(1) << u"1"_s << Notice::None << false << false;
    QTest::newRow("middle") << u"35"_s << std::optional(35) << u"35"_s << Notice::None << false << false;
    QTest::newRow("last") << u"71"_s << std::optional(71) << u"71"_s << Notice::None << false << false;
    QTest::newRow("leading zero") << u"08"_s << std::optional(8) << u"08"_s << Notice::None << false << false;
    QTest::newRow("zero rests") << u"0"_s << rest << u"0"_s << Notice::None << false << false;
    QTest::newRow("zeros rest") << u"000"_s << rest << u"000"_s << Notice::None << false << false;
    QTest::newRow("emptied") << u""_s << std::optional(1) << u"1"_s << Notice::None << false << true;
    QTest::newRow("below 1") << u"-1"_s << std::optional(1) << u"1"_s << Notice::Start << false << false;
    QTest::newRow("far below") << u"-500"_s << std::optional(1) << u"1"_s << Notice::Start << false << false;
    QTest::newRow("one past") << u"72"_s << std::optional(71) << u"71"_s << Notice::End << true << false;
    QTest::newRow("eighty") << u"80"_s << std::optional(71) << u"71"_s << Notice::End << true << false;
    QTest::newRow("huge") << u"99999999999999"_s << std::optional(71) << u"71"_s << Notice::End << true << false;
}

void TestItemCounter::showItem()
{
    QFETCH(QString, counter);
    QFETCH(std::optional<int>, item);
    QFETCH(QString, after);
    QFETCH(Notice, notice);
    QFETCH(bool, store);
    QFETCH(bool, clear);
    const ItemCounterOutcome out = ShowItemFor(counter);
    QCOMPARE(out.item, item);
    QCOMPARE(out.counterText, after);
    QCOMPARE(out.notice, notice);
    QCOMPARE(out.storeResponses, store);
    QCOMPARE(out.clearItemText, clear);
}

void TestItemCounter::value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << u"12"_s << 12;
    QTest::newRow("negative") << u"-3"_s << -3;
    QTest::newRow("plus") << u"+4"_s << 4;
    QTest::newRow("trailing text") << u"7x"_s << 7;
    QTest::newRow("letters") << u"x7"_s << 0;
    QTest::newRow("empty") << u""_s << 0;
    QTest::newRow("too large") << u"123456789012"_s << std::numeric_limits<int>::max();
    QTest::newRow("too small") << u"-123456789012"_s << std::numeric_limits<int>::min();
}

void TestItemCounter::value()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(CounterValue(text), value);
}

void TestItemCounter::steps()
{
    QCOMPARE(SteppedCounter(QStringLiteral("1"), -1), QStringLiteral("0"));
    QCOMPARE(SteppedCounter(QStringLiteral("0"), -1), QStringLiteral("-1"));
    QCOMPARE(SteppedCounter(QStringLiteral("71"), +1), QStringLiteral("72"));
    QCOMPARE(SteppedCounter(QStringLiteral("08"), +1), QStringLiteral("9"));
    QCOMPARE(SteppedCounter(QStringLiteral("2147483647"), +1), QStringLiteral("2147483648"));
    // Going back from item 1 rests at 0; once more brings the start notice and item 1.
    QCOMPARE(ShowItemFor(SteppedCounter(QStringLiteral("1"), -1)).item, std::nullopt);
    const ItemCounterOutcome again = ShowItemFor(SteppedCounter(QStringLiteral("0"), -1));
    QCOMPARE(again.notice, Notice::Start);
    QCOMPARE(again.item, std::optional(1));
}

TAVORA_TEST(TestItemCounter)
#include "tst_item_counter.moc"
