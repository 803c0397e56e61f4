#include "reference_tables.h"
#include "scoring/scoring_key.h"
#include "store/schema.h"
#include "support/test_registry.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

using Scores = std::array<int, scoring::kScaleCount>;

QStringList all(const QString& response)
{
    return QStringList(scoring::kItemCount, response);
}

QStringList only(int item, const QString& response)
{
    QStringList r = all(QString());
    r[item - 1] = response;
    return r;
}

Scores scores(std::initializer_list<int> values)
{
    Scores s{};
    std::copy(values.begin(), values.end(), s.begin());
    return s;
}

// Scores of one scale named, all others 0.
Scores onlyScale(const QHash<QString, int>& byName)
{
    Scores s{};
    const QStringList names = store::scaleColumns();
    for (auto it = byName.begin(); it != byName.end(); ++it)
        s[names.indexOf(it.key())] = it.value();
    return s;
}

QString describe(const Scores& s)
{
    QStringList parts;
    const QStringList names = store::scaleColumns();
    for (int i = 0; i < scoring::kScaleCount; ++i)
        parts << names.at(i) + QLatin1Char('=') + QString::number(s[i]);
    return parts.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(Scores)

class TestScoringKey : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keyMatchesReferenceTable();
    void wholeVectors_data();
    void wholeVectors();
    void responseReading_data();
    void responseReading();
    void randomVectorsAgreeWithIndependentCount();
};

void TestScoringKey::keyMatchesReferenceTable()
{
    const QList<reference::Scale> expected = reference::scales();
    const auto& key = scoring::ScoringKey();
    QCOMPARE(expected.size(), scoring::kScaleCount);
    const QList<int> maxima{5, 15, 15, 13, 20, 24, 19, 14, 16, 20, 11};
    QSet<int> keyed;
    for (int s = 0; s < scoring::kScaleCount; ++s) {
        QCOMPARE(store::scaleColumns().at(s), expected[s].name);
        QCOMPARE(QVector<int>(key[s].yesItems.begin(), key[s].yesItems.end()), expected[s].yes);
        QCOMPARE(QVector<int>(key[s].noItems.begin(), key[s].noItems.end()), expected[s].no);
        QCOMPARE(key[s].maximum(), maxima.at(s));
        for (int item : key[s].yesItems)
            keyed << item;
        for (int item : key[s].noItems)
            keyed << item;
    }
    // Every item counts somewhere; none outside 1..71.
    QCOMPARE(keyed.size(), scoring::kItemCount);
    QCOMPARE(*std::min_element(keyed.begin(), keyed.end()), 1);
    QCOMPARE(*std::max_element(keyed.begin(), keyed.end()), 71);
}

void TestScoringKey::wholeVectors_data()
{
    QTest::addColumn<QStringList>("responses");
    QTest::addColumn<Scores>("expected");

    QTest::newRow("all empty") << all(QString()) << Scores{};
    QTest::newRow("no responses at all") << QStringList() << Scores{};
    QTest::newRow("all 0") << all(QStringLiteral("0")) << Scores{};
    QTest::newRow("all 1") << all(QStringLiteral("1")) << scores({0, 12, 0, 4, 9, 4, 12, 9, 13, 16, 10});
    QTest::newRow("all 2") << all(QStringLiteral("2")) << scores({5, 3, 15, 9, 11, 20, 7, 5, 3, 4, 1});
    QTest::newRow("all ' 1'") << all(QStringLiteral(" 1")) << scores({0, 12, 0, 4, 9, 4, 12, 9, 13, 16, 10});
    QTest::newRow("item 65 no") << only(65, QStringLiteral("2")) << onlyScale({{QStringLiteral("D"), 1}, {QStringLiteral("Pd"), 1}});
    QTest::newRow("item 65 yes") << only(65, QStringLiteral("1")) << onlyScale({{QStringLiteral("Sc"), 1}});
    // Opposite directions: 5 is no on L and yes on Pa, Pt, Sc.
    QTest::newRow("item 5 no") << only(5, QStringLiteral("2")) << onlyScale({{QStringLiteral("L"), 1}});
    QTest::newRow("item 5 yes") << only(5, QStringLiteral("1"))
                                << onlyScale({{QStringLiteral("Pa"), 1}, {QStringLiteral("Pt"), 1}, {QStringLiteral("Sc"), 1}});
    // 48 scores F, 49 scores Hy and Pd (the answered lists differ; the key does not).
    QTest::newRow("item 48 yes") << only(48, QStringLiteral("1")) << onlyScale({{QStringLiteral("F"), 1}});
    QTest::newRow("item 49 no") << only(49, QStringLiteral("2")) << onlyScale({{QStringLiteral("Hy"), 1}, {QStringLiteral("Pd"), 1}});
    QTest::newRow("item 49 yes") << only(49, QStringLiteral("1")) << Scores{};
}

void TestScoringKey::wholeVectors()
{
    QFETCH(QStringList, responses);
    QFETCH(Scores, expected);
    const Scores got = scoring::RawScores(responses);
    QVERIFY2(got == expected, qPrintable(describe(got) + QStringLiteral("  expected  ") + describe(expected)));
}

void TestScoringKey::responseReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("0") << QStringLiteral("0") << 0;
    QTest::newRow("1") << QStringLiteral("1") << 1;
    QTest::newRow("2") << QStringLiteral("2") << 2;
    QTest::newRow("leading blank") << QStringLiteral(" 1") << 1;
    QTest::newRow("several blanks") << QStringLiteral("   2") << 2;
    QTest::newRow("trailing blank") << QStringLiteral("2 ") << 2;
    QTest::newRow("3") << QStringLiteral("3") << 0;
    QTest::newRow("x") << QStringLiteral("x") << 0;
    QTest::newRow("letter first") << QStringLiteral("x1") << 0;
    QTest::newRow("number then text") << QStringLiteral("1a") << 1;
    QTest::newRow("12 is not 1") << QStringLiteral("12") << 0;
    QTest::newRow("21 is not 2") << QStringLiteral("21") << 0;
    QTest::newRow("leading zero") << QStringLiteral("01") << 1;
    QTest::newRow("1.0 is one") << QStringLiteral("1.0") << 1;
    QTest::newRow("1.5 is neither") << QStringLiteral("1.5") << 0;
    QTest::newRow("minus one") << QStringLiteral("-1") << 0;
    QTest::newRow("plus two") << QStringLiteral("+2") << 2;
    QTest::newRow("blank only") << QStringLiteral("  ") << 0;
    QTest::newRow("huge number") << QStringLiteral("100000000000000000001") << 0;
    QTest::newRow("Persian digit one") << QStringLiteral("\u06F1") << 0;
}

void TestScoringKey::responseReading()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(scoring::KeyedResponse(text), code);
}

void TestScoringKey::randomVectorsAgreeWithIndependentCount()
{
    // Texts with the code they stand for, the odd ones included.
    const QList<QPair<QString, int>> alphabet = {
        {QString(), 0}, {QStringLiteral("0"), 0}, {QStringLiteral("1"), 1}, {QStringLiteral("2"), 2},
        {QStringLiteral(" 1"), 1}, {QStringLiteral("  2"), 2}, {QStringLiteral("3"), 0},
        {QStringLiteral("x"), 0}, {QStringLiteral("12"), 0}, {QStringLiteral("2x"), 2},
    };
    const QList<reference::Scale> key = reference::scales();
    QRandomGenerator rng(20220821);
    for (int round = 0; round < 5000; ++round) {
        // Vary the mix so that near-full and near-empty vectors occur too.
        const int weightYes = int(rng.bounded(100));
        QStringList responses;
        QVector<int> codes(scoring::kItemCount + 1, 0);
        for (int item = 1; item <= scoring::kItemCount; ++item) {
            const auto& [text, code] = int(rng.bounded(100)) < weightYes
                ? alphabet.at(2 + int(rng.bounded(2)))
                : alphabet.at(int(rng.bounded(alphabet.size())));
            responses << text;
            codes[item] = code;
        }
        const Scores got = scoring::RawScores(responses);
        for (int s = 0; s < scoring::kScaleCount; ++s) {
            int expected = 0;
            for (int item : key[s].yes)
                expected += codes[item] == 1;
            for (int item : key[s].no)
                expected += codes[item] == 2;
            if (got[s] != expected)
                QFAIL(qPrintable(QStringLiteral("round %1, scale %2: %3 instead of %4; responses %5")
                                     .arg(round).arg(key[s].name).arg(got[s]).arg(expected)
                                     .arg(responses.join(QLatin1Char('|')))));
            QVERIFY(got[s] >= 0 && got[s] <= int(key[s].yes.size() + key[s].no.size()));
        }
    }
}

TAVORA_TEST(TestScoringKey)
#include "tst_scoring_key.moc"
