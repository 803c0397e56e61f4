#include "profile/ranking.h"
#include "support/test_registry.h"

#include <QTest>
#include <algorithm>

using namespace profile;
using namespace Qt::Literals::StringLiterals;

namespace {

// T texts in scale order L F K Hs D Hy Pd Pa Pt Sc Ma.
ScaleTexts tRow(std::initializer_list<const char*> texts)
{
    ScaleTexts row;
    int i = 0;
    for (const char* t : texts)
        row[std::size_t(i++)] = QString::fromUtf8(t);
    return row;
}

QString clinicalNumbers(const RankingTable& table)
{
    QString s;
    for (const RankEntry& e : table.clinical)
        s += e.number;
    return s;
}

QString validityNames(const RankingTable& table)
{
    QString s;
    for (const RankEntry& e : table.validity)
        s += e.name;
    return s;
}

} // namespace

class TestRanking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workTableRows();
    void clinicalBlock();
    void orderIsNumeric_data();
    void orderIsNumeric();
    void tiesKeepScaleOrder_data();
    void tiesKeepScaleOrder();
    void unreadableTextsRankLowest();
    void readBackFromWorkTable();
};

void TestRanking::workTableRows()
{
    const ScaleTexts t = tRow({"41", "62", "57", "48", "73", "55", "66", "59", "70", "64", "45"});
    const Ranking r = RankScales(t);
    QCOMPARE(r.sortt2.size(), 8);
    const QStringList ids{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s};
    const QStringList names{u"Hs"_s, u"D"_s, u"Hy"_s, u"Pd"_s, u"Pa"_s, u"Pt"_s, u"Sc"_s, u"Ma"_s};
    for (int k = 0; k < 8; ++k) {
        const Sortt2Row& row = r.sortt2[k];
        QCOMPARE(row.id, ids[k]);
        QCOMPARE(row.Name, names[k]);
        QCOMPARE(row.Numb, t[std::size_t(3 + k)]);
        if (k < 3) {
            QCOMPARE(row.Name2, QStringList({u"L"_s, u"F"_s, u"K"_s})[k]);
            QCOMPARE(row.etebari, t[std::size_t(k)]);
        } else {
            QVERIFY(row.Name2.isEmpty());
            QVERIFY(row.etebari.isEmpty());
        }
    }
}

void TestRanking::clinicalBlock()
{
    const ScaleTexts t = tRow({"41", "62", "57", "48", "73", "55", "66", "59", "70", "64", "45"});
    const RankingTable table = RankScales(t).table;
    const QStringList numbers{u"2"_s, u"7"_s, u"4"_s, u"8"_s, u"6"_s, u"3"_s, u"1"_s, u"9"_s};
    const QStringList names{u"D"_s, u"Pt"_s, u"Pd"_s, u"Sc"_s, u"Pa"_s, u"Hy"_s, u"Hs"_s, u"Ma"_s};
    const QStringList ts{u"73"_s, u"70"_s, u"66"_s, u"64"_s, u"59"_s, u"55"_s, u"48"_s, u"45"_s};
    for (int r = 0; r < 8; ++r) {
        QCOMPARE(table.clinical[std::size_t(r)].number, numbers[r]);
        QCOMPARE(table.clinical[std::size_t(r)].name, names[r]);
        QCOMPARE(table.clinical[std::size_t(r)].t, ts[r]);
    }
    // Validity block: highest leftmost, names and T texts, no number.
    QCOMPARE(validityNames(table), QStringLiteral("FKL"));
    QCOMPARE(table.validity[0].t, QStringLiteral("62"));
    QCOMPARE(table.validity[1].t, QStringLiteral("57"));
    QCOMPARE(table.validity[2].t, QStringLiteral("41"));
    QVERIFY(table.validity[0].number.isEmpty());
}

void TestRanking::orderIsNumeric_data()
{
    QTest::addColumn<ScaleTexts>("t");
    QTest::addColumn<QString>("clinical");
    QTest::addColumn<QString>("validity");
    // Text order would put "55" above "100" and "9" above "10".
    QTest::newRow("100 above 55") << tRow({"55", "100", "9", "100", "55", "9", "10", "70.5", "70", "-5", "0"})
                                  << u"16724398"_s << u"FLK"_s;
    QTest::newRow("decimals and blanks") << tRow({"99.5", "100", " 99.6", "60.25", "60.3", " 61", "60", "59.99", "7", "80", "8"})
                                         << u"83214697"_s << u"FKL"_s;
}

void TestRanking::orderIsNumeric()
{
    QFETCH(ScaleTexts, t);
    QFETCH(QString, clinical);
    QFETCH(QString, validity);
    const RankingTable table = RankScales(t).table;
    QCOMPARE(clinicalNumbers(table), clinical);
    QCOMPARE(validityNames(table), validity);
}

void TestRanking::tiesKeepScaleOrder_data()
{
    QTest::addColumn<ScaleTexts>("t");
    QTest::addColumn<QString>("clinical");
    QTest::addColumn<QString>("validity");
    QTest::newRow("all equal") << tRow({"50", "50", "50", "50", "50", "50", "50", "50", "50", "50", "50"})
                               << u"12346789"_s << u"LFK"_s;
    QTest::newRow("tie at ranks 1 and 2") << tRow({"50", "60", "60", "60", "70", "70", "50", "50", "50", "50", "50"})
                                          << u"23146789"_s << u"FKL"_s;
    QTest::newRow("tie across ranks 2 and 3") << tRow({"40", "50", "50", "50", "50", "50", "80", "75", "50", "50", "75"})
                                              << u"46912378"_s << u"FKL"_s;
    QTest::newRow("equal as numbers, written apart") << tRow({"60.0", "60", "70", "50", "65", "50", "50", "065", "50", "50", "50"})
                                                     << u"26134789"_s << u"KLF"_s;
}

void TestRanking::tiesKeepScaleOrder()
{
    QFETCH(ScaleTexts, t);
    QFETCH(QString, clinical);
    QFETCH(QString, validity);
    // The same ranking every time.
    for (int run = 0; run < 3; ++run) {
        const RankingTable table = RankScales(t).table;
        QCOMPARE(clinicalNumbers(table), clinical);
        QCOMPARE(validityNames(table), validity);
    }
}

void TestRanking::unreadableTextsRankLowest()
{
    const ScaleTexts t = tRow({"", "abc", "0", "", "abc", "0", "-5", "50", "50", "50", "50"});
    const RankingTable table = RankScales(t).table;
    QCOMPARE(clinicalNumbers(table), QStringLiteral("67893412"));
    // The texts are shown as they are.
    QCOMPARE(table.clinical[6].t, QString());
    QCOMPARE(table.clinical[7].t, QStringLiteral("abc"));
    QCOMPARE(validityNames(table), QStringLiteral("KLF"));
}

void TestRanking::readBackFromWorkTable()
{
    const ScaleTexts t = tRow({"41", "62", "57", "48", "73", "55", "66.5", "59", "70", "", "45"});
    QList<Sortt2Row> rows = RankScales(t).sortt2;
    QCOMPARE(scoresFromSortt2(rows), t);

    // Found by id, not by position.
    std::reverse(rows.begin(), rows.end());
    QCOMPARE(scoresFromSortt2(rows), t);

    // A missing row leaves its scales empty (row 2 carries D and F).
    rows.erase(std::find_if(rows.begin(), rows.end(), [](const Sortt2Row& r) { return r.id == QLatin1String("2"); }));
    ScaleTexts expected = t;
    expected[1].clear();
    expected[4].clear();
    QCOMPARE(scoresFromSortt2(rows), expected);
}

TAVORA_TEST(TestRanking)
#include "tst_ranking.moc"
