#include "reference_tables.h"
#include "scoring/answered_percentages.h"
#include "store/schema.h"
#include "support/test_registry.h"

#include <QRandomGenerator>
#include <QTest>
#include <cfenv>
#include <cmath>

namespace {

QStringList all(const QString& response)
{
    return QStringList(scoring::kItemCount, response);
}

// All answered except the given items.
QStringList allBut(std::initializer_list<int> empty)
{
    QStringList r = all(QStringLiteral("1"));
    for (int item : empty)
        r[item - 1].clear();
    return r;
}

// Only the first n items of one scale's reference list answered.
QStringList firstOfScale(const QString& scale, int n)
{
    QStringList r = all(QString());
    for (const reference::Scale& s : reference::scales())
        if (s.name == scale)
            for (int i = 0; i < n; ++i)
                r[s.examined.at(i) - 1] = QStringLiteral("2");
    return r;
}

QString at(const QStringList& texts, const char* scale)
{
    return texts.at(store::scaleColumns().indexOf(QString::fromLatin1(scale)));
}

} // namespace

class TestAnsweredPercentages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsMatchReferenceTable();
    void wholeVectors();
    void singleMissingItems();
    void halvesGoToEven_data();
    void halvesGoToEven();
    void roundingAgreesWithFloatingPoint();
    void randomVectorsAgreeWithIndependentCount();
};

void TestAnsweredPercentages::listsMatchReferenceTable()
{
    const QList<reference::Scale> expected = reference::scales();
    const auto& lists = scoring::AnsweredItemLists();
    for (int s = 0; s < scoring::kScaleCount; ++s) {
        QCOMPARE(QVector<int>(lists[s].begin(), lists[s].end()), expected[s].examined);
        QCOMPARE(int(lists[s].size()), expected[s].divisor);
    }
}

void TestAnsweredPercentages::wholeVectors()
{
    const QStringList hundred(scoring::kScaleCount, QStringLiteral("100"));
    const QStringList zero(scoring::kScaleCount, QStringLiteral("0"));
    QCOMPARE(scoring::ComputeAnsweredPercentages(all(QStringLiteral("1"))), hundred);
    // "0" marks an item unanswered on paper, yet it is not empty, so it counts here.
    QCOMPARE(scoring::ComputeAnsweredPercentages(all(QStringLiteral("0"))), hundred);
    QCOMPARE(scoring::ComputeAnsweredPercentages(all(QStringLiteral("x"))), hundred);
    QCOMPARE(scoring::ComputeAnsweredPercentages(all(QString())), zero);
    QCOMPARE(scoring::ComputeAnsweredPercentages({}), zero);
}

void TestAnsweredPercentages::singleMissingItems()
{
    // 48 is keyed on F but not examined for it.
    QCOMPARE(scoring::ComputeAnsweredPercentages(allBut({48})), QStringList(scoring::kScaleCount, QStringLiteral("100")));

    // 49 is examined for F and Hy, not for Pd (which scores it).
    const QStringList without49 = scoring::ComputeAnsweredPercentages(allBut({49}));
    QCOMPARE(at(without49, "F"), QStringLiteral("93"));
    QCOMPARE(at(without49, "Hy"), QStringLiteral("96"));
    QCOMPARE(at(without49, "Pd"), QStringLiteral("100"));
    for (const char* other : {"L", "K", "Hs", "D", "Pa", "Pt", "Sc", "Ma"})
        QCOMPARE(at(without49, other), QStringLiteral("100"));

    // Ma 6 of 11: 54.5... -> 55.
    QCOMPARE(at(scoring::ComputeAnsweredPercentages(firstOfScale(QStringLiteral("Ma"), 6)), "Ma"), QStringLiteral("55"));
}

void TestAnsweredPercentages::halvesGoToEven_data()
{
    QTest::addColumn<QString>("scale");
    QTest::addColumn<int>("answered");
    QTest::addColumn<QString>("expected");
    for (const QString& scale : {QStringLiteral("Pt"), QStringLiteral("Hy")}) {
        const int per = scale == QLatin1String("Pt") ? 2 : 3; // an eighth of the list
        QTest::addRow("%s 12.5", qPrintable(scale)) << scale << per << QStringLiteral("12");
        QTest::addRow("%s 37.5", qPrintable(scale)) << scale << 3 * per << QStringLiteral("38");
        QTest::addRow("%s 62.5", qPrintable(scale)) << scale << 5 * per << QStringLiteral("62");
        QTest::addRow("%s 87.5", qPrintable(scale)) << scale << 7 * per << QStringLiteral("88");
    }
}

void TestAnsweredPercentages::halvesGoToEven()
{
    QFETCH(QString, scale);
    QFETCH(int, answered);
    QFETCH(QString, expected);
    const QStringList texts = scoring::ComputeAnsweredPercentages(firstOfScale(scale, answered));
    QCOMPARE(at(texts, qPrintable(scale)), expected);
}

void TestAnsweredPercentages::roundingAgreesWithFloatingPoint()
{
    // nearbyint in the default mode rounds halves to even; every divisor the lists use.
    QCOMPARE(std::fegetround(), FE_TONEAREST);
    for (int divisor : {5, 11, 13, 14, 15, 16, 18, 20, 24})
        for (int count = 0; count <= divisor; ++count)
            QCOMPARE(scoring::PercentRoundedHalfEven(count, divisor),
                     int(std::nearbyint(count * 100.0 / divisor)));
}

void TestAnsweredPercentages::randomVectorsAgreeWithIndependentCount()
{
    const QStringList alphabet = {QString(), QString(), QStringLiteral("0"), QStringLiteral("1"),
                                  QStringLiteral("2"), QStringLiteral(" "), QStringLiteral("x")};
    const QList<reference::Scale> scales = reference::scales();
    QRandomGenerator rng(71);
    for (int round = 0; round < 3000; ++round) {
        QStringList responses;
        for (int item = 1; item <= scoring::kItemCount; ++item)
            responses << alphabet.at(int(rng.bounded(alphabet.size())));
        const auto got = scoring::AnsweredPercentages(responses);
        for (int s = 0; s < scoring::kScaleCount; ++s) {
            int answered = 0;
            for (int item : scales[s].examined)
                answered += !responses.at(item - 1).isEmpty();
            const int expected = int(std::nearbyint(answered * 100.0 / scales[s].divisor));
            QCOMPARE(got[s], expected);
            QVERIFY(got[s] >= 0 && got[s] <= 100);
        }
    }
}

TAVORA_TEST(TestAnsweredPercentages)
#include "tst_answered_percentages.moc"
