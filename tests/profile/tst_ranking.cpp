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
    std::transform(texts.begin(), texts.end(), row.begin(), [](const char* t) { return QString::fromUtf8(t); });
    return row;
}

// Clinical block as "number name T" per rank, validity block as its names left to right.
QString clinical(const RankingTable& table)
{
    QStringList s;
    for (const RankEntry& e : table.clinical)
        s << e.number + u' ' + e.name + u' ' + e.t;
    return s.join(u", ");
}

QString validity(const RankingTable& table)
{
    QStringList s;
    for (const RankEntry& e : table.validity)
        s << e.name + u' ' + e.t;
    return s.join(u", ");
}

} // namespace

class TestRanking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workTableAndBlocks();
    void order_data();
    void order();
    void workTableRowsCarryTheirScales();
};

void TestRanking::workTableAndBlocks()
{
    const ScaleTexts t = tRow({"41", "62", "57", "48", "73", "55", "66", "59", "70", "64", "45"});
    const Ranking r = RankScales(t);
    QStringList rows;
    for (const Sortt2Row& row : r.sortt2)
        rows << QStringList{row.id, row.Name, row.Numb, row.Name2, row.etebari}.join(u'|');
    QCOMPARE(rows, QStringList({u"1|Hs|48|L|41"_s, u"2|D|73|F|62"_s, u"3|Hy|55|K|57"_s, u"4|Pd|66||"_s,
                                u"6|Pa|59||"_s, u"7|Pt|70||"_s, u"8|Sc|64||"_s, u"9|Ma|45||"_s}));
    QCOMPARE(clinical(r.table), u"2 D 73, 7 Pt 70, 4 Pd 66, 8 Sc 64, 6 Pa 59, 3 Hy 55, 1 Hs 48, 9 Ma 45"_s);
    QCOMPARE(validity(r.table), u"F 62, K 57, L 41"_s);
}

void TestRanking::order_data()
{
    QTest::addColumn<ScaleTexts>("t");
    QTest::addColumn<QString>("numbers"); // clinical ranks 1..8
    QTest::addColumn<QString>("names");   // validity, highest first
    // As texts "55" would rank above "100" and "9" above "10".
    QTest::newRow("100 above 55") << tRow({"55", "100", "9", "100", "55", "9", "10", "70.5", "70", "-5", "0"})
                                  << u"16724398"_s << u"FLK"_s;
    QTest::newRow("decimals, blanks") << tRow({"99.5", "100", " 99.6", "60.25", "60.3", " 61", "60", "59.99", "7", "80", "8"})
                                      << u"83214697"_s << u"FKL"_s;
    // Ties: the lower scale number ranks higher; L before F before K.
    QTest::newRow("all equal") << tRow({"50", "50", "50", "50", "50", "50", "50", "50", "50", "50", "50"})
                               << u"12346789"_s << u"LFK"_s;
    QTest::newRow("tie at ranks 1, 2") << tRow({"50", "60", "60", "60", "70", "70", "50", "50", "50", "50", "50"})
                                       << u"23146789"_s << u"FKL"_s;
    QTest::newRow("tie across ranks 2, 3") << tRow({"40", "50", "50", "50", "50", "50", "80", "75", "50", "50", "75"})
                                           << u"46912378"_s << u"FKL"_s;
    QTest::newRow("equal numbers written apart") << tRow({"60.0", "60", "70", "50", "65", "50", "50", "065", "50", "50", "50"})
                                                 << u"26134789"_s << u"KLF"_s;
    // Texts without a number rank below every number, among themselves in scale order.
    QTest::newRow("unreadable lowest") << tRow({"", "abc", "0", "", "abc", "0", "-5", "50", "50", "50", "50"})
                                       << u"67893412"_s << u"KLF"_s;
}

void TestRanking::order()
{
    QFETCH(ScaleTexts, t);
    QFETCH(QString, numbers);
    QFETCH(QString, names);
    for (int run = 0; run < 2; ++run) { // the same ranking every time
        const RankingTable table = RankScales(t).table;
        QString gotNumbers, gotNames;
        for (const RankEntry& e : table.clinical) {
            gotNumbers += e.number;
            // Each entry shows the T text of its own scale, as written.
            QCOMPARE(e.t, t[std::size_t(3 + int(QStringView(u"12346789").indexOf(e.number)))]);
        }
        for (const RankEntry& e : table.validity)
            gotNames += e.name;
        QCOMPARE(gotNumbers, numbers);
        QCOMPARE(gotNames, names);
    }
}

void TestRanking::workTableRowsCarryTheirScales()
{
    // Each of the eight rows, found by its id, holds the T text of its clinical scale, and the
    // rows 1..3 those of L, F, K; nothing else.
    const ScaleTexts t = tRow({"41", "62", "57", "48", "73", "55", "66.5", "59", "70", "", "45"});
    QList<Sortt2Row> rows = RankScales(t).sortt2;
    std::reverse(rows.begin(), rows.end());
    ScaleTexts carried;
    for (const Sortt2Row& row : rows) {
        const int scale = 3 + int(QStringView(u"12346789").indexOf(row.id));
        QCOMPARE(row.Name, scaleName(scale));
        carried[std::size_t(scale)] = row.Numb;
        if (scale - 3 < 3) {
            QCOMPARE(row.Name2, scaleName(scale - 3));
            carried[std::size_t(scale - 3)] = row.etebari;
        } else {
            QVERIFY(row.Name2.isEmpty() && row.etebari.isEmpty());
        }
    }
    QCOMPARE(rows.size(), 8);
    QCOMPARE(carried, t);
}

TAVORA_TEST(TestRanking)
#include "tst_ranking.moc"
