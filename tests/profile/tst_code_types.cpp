#include "profile/code_types.h"
#include "profile/profile_reading.h"
#include "scoring/leading_number.h"
#include "support/test_registry.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace profile;
using namespace Qt::Literals::StringLiterals;

namespace {

RankingTable rankingOf(std::initializer_list<const char*> clinicalTs)
{
    ScaleTexts t;
    t.fill(u"50"_s);
    std::transform(clinicalTs.begin(), clinicalTs.end(), t.begin() + 3, [](const char* s) { return QString::fromUtf8(s); });
    return RankScales(t).table;
}

// A profile on which no rule holds.
WholeScores neutral()
{
    return {60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60};
}

using S = WholeScores;
constexpr std::array<int S::*, 11> kScales{&S::L, &S::F, &S::K, &S::Hs, &S::D, &S::Hy, &S::Pd, &S::Pa, &S::Pt, &S::Sc, &S::Ma};

struct Setting {
    int S::*scale;
    int firing;
    int threshold;
};
// Each rule with the scores that make it fire from the neutral profile, and the threshold
// each of them stops it at.
struct RuleCase {
    int rule;
    std::vector<Setting> settings;

    WholeScores firing() const
    {
        WholeScores s = neutral();
        for (const Setting& setting : settings)
            s.*setting.scale = setting.firing;
        return s;
    }
};
const std::vector<RuleCase>& ruleCases()
{
    static const std::vector<RuleCase> cases{
        {1, {{&S::Hs, 61, 60}, {&S::Hy, 61, 60}}},
        {3, {{&S::Hs, 71, 70}, {&S::Sc, 71, 70}}},
        {4, {{&S::Hs, 71, 70}, {&S::Hy, 71, 70}, {&S::D, 49, 50}, {&S::Pt, 49, 50}, {&S::Sc, 49, 50}}},
        {5, {{&S::D, 71, 70}, {&S::Pt, 71, 70}}},
        {6, {{&S::D, 71, 70}, {&S::Pt, 71, 70}, {&S::Hy, 71, 70}}},
        {7, {{&S::D, 71, 70}, {&S::Pd, 71, 70}, {&S::Pt, 71, 70}, {&S::Sc, 71, 70}}},
        {8, {{&S::Hy, 71, 70}, {&S::Ma, 71, 70}, {&S::F, 49, 50}, {&S::Sc, 49, 50}}},
        {9, {{&S::Pd, 76, 75}}},
        {10, {{&S::Pd, 71, 70}, {&S::Ma, 71, 70}}},
        {11, {{&S::Pd, 71, 70}, {&S::Hy, 71, 70}}},
        {12, {{&S::Pd, 71, 70}, {&S::Sc, 71, 70}, {&S::F, 71, 70}, {&S::D, 49, 50}}},
        {13, {{&S::Pa, 71, 70}, {&S::Sc, 71, 70}}},
        {14, {{&S::Pa, 71, 70}, {&S::Hy, 71, 70}}},
        {15, {{&S::Pt, 71, 70}, {&S::Sc, 71, 70}}},
        {16, {{&S::Ma, 71, 70}, {&S::D, 49, 50}, {&S::Pt, 49, 50}}},
        {17, {{&S::Ma, 49, 50}, {&S::D, 71, 70}}},
        {18, {{&S::Ma, 71, 70}, {&S::D, 71, 70}}},
        {19, {{&S::Pa, 70, 69}, {&S::Sc, 70, 69}, {&S::Pt, 60, 61}}},
    };
    return cases;
}

// The scales a rule reads: those that, moved alone from a profile it fires on, can stop it.
QSet<QString> scalesRead(const RuleCase& c)
{
    QSet<QString> read;
    for (int i = 0; i < 11; ++i) {
        for (int value : {0, 30, 49, 50, 51, 60, 69, 70, 71, 75, 76, 90, 120}) {
            WholeScores moved = c.firing();
            moved.*kScales[std::size_t(i)] = value;
            if (!ruleHolds(c.rule, moved))
                read << scaleName(i);
        }
    }
    return read;
}

// The scales a sentence names: by name ("Hs"), or by clinical number ("7").
QSet<QString> scalesNamed(const QString& sentence)
{
    QSet<QString> named;
    static const QRegularExpression token(QStringLiteral("[A-Za-z]+|[0-9]+"));
    for (const QRegularExpressionMatch& m : token.globalMatch(sentence)) {
        for (int i = 0; i < 11; ++i) {
            const QString number = i >= kValidityCount ? QString::number(clinicalNumber(i)) : QString();
            if (m.captured() == scaleName(i) || m.captured() == number)
                named << scaleName(i);
        }
    }
    return named;
}

} // namespace

class TestCodeTypes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readings();
    void gate();
    void codes();
    void fkSentenceBySign();
    void rulesNeverFireOnTheirThresholds();
    void namedProfiles();
    void sentencesNameTheScalesTheirRuleReads();
    void sentencesAreDistinct();
    void readingOfAProfile();
};

void TestCodeTypes::readings()
{
    struct Case {
        const char* text;
        double decimal; // bands, gaps, unanswered count
        int whole;      // rules
    };
    const Case cases[] = {
        {"65", 65, 65},        {"65.4", 65.4, 65},   {" 65 ", 65, 65},       {"70.5", 70.5, 70},
        {"75.5", 75.5, 76},    {"70.51", 70.51, 71}, {"-2.5", -2.5, -2},     {".5", 0.5, 0},
        {"70abc", 70, 0},      {"70 5", 70, 0},      {"", 0, 0},             {"   ", 0, 0},
        {"abc", 0, 0},         {"-", 0, 0},          {".", 0, 0},            {"40000", 40000, 0},
        {"32767", 32767, 32767},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        QVERIFY2(LeadingNumberOrZero(text) == c.decimal, c.text);
        QVERIFY2(wholeReading(text) == c.whole, c.text);
    }
}

void TestCodeTypes::gate()
{
    QVERIFY(!gateBlocks(u"4"_s, kLongGateLimit));
    QVERIFY(gateBlocks(u"5"_s, kLongGateLimit));
    QVERIFY(gateBlocks(u"4.5"_s, kLongGateLimit));
    QVERIFY(!gateBlocks(u"7"_s, kShortGateLimit));
    QVERIFY(gateBlocks(u"8"_s, kShortGateLimit));
    QVERIFY(!gateBlocks(QString(), kLongGateLimit));
    QVERIFY(!gateBlocks(u"many"_s, kLongGateLimit));
}

void TestCodeTypes::codes()
{
    // Hs D Hy Pd Pa Pt Sc Ma; ranks 3 and 4 are Sc and Pa.
    QCOMPARE(twoPointCode(rankingOf({"50", "78", "50", "50", "50", "76", "50", "50"})), u"27"_s);
    QCOMPARE(twoPointCode(rankingOf({"40", "41", "42", "43", "44", "45", "46", "47"})), u"98"_s);
    struct Case {
        const char* pa;
        const char* sc;
        const char* code;
    };
    const Case cases[] = {
        {"65", "70", "278"}, {"66", "70", ""},     {"65.5", "70", "278"},
        {"65.5", "69.5", ""}, {"70", "70", ""},    {"", "70", "278"},
    };
    for (const Case& c : cases) {
        const RankingTable table = rankingOf({"", "80", "", "", c.pa, "75", c.sc, ""});
        QVERIFY2(threePointCode(table).value_or(QString()) == QLatin1String(c.code), c.pa);
    }
}

void TestCodeTypes::fkSentenceBySign()
{
    WholeScores s = neutral();
    QCOMPARE(fkSentence(s), u"F-K=0"_s);
    s.F = 61;
    QCOMPARE(fkSentence(s), QStringLiteral("فرد سعي دارد خود را بدتر از آنچه که هست نشان دهد. تمارض را ميتوان از اين پروفايل استنباط نمود. "));
    s.F = 59;
    QCOMPARE(fkSentence(s), QStringLiteral("آزمودني سعي دارد خود را بهتر از آنچه که هست جلوه دهد و مشکلات و تعارضات دروني و عاطفي خود را انکار نمايد. "));
}

// Each rule fires with its scores set from a neutral profile, and stops when any one of them is
// put on its threshold: 70 is never high, 50 never low, equal is never above.
void TestCodeTypes::rulesNeverFireOnTheirThresholds()
{
    QVERIFY(firedRules(neutral()).isEmpty());
    for (const RuleCase& c : ruleCases()) {
        WholeScores firing = neutral();
        for (const Setting& s : c.settings)
            firing.*s.scale = s.firing;
        QVERIFY2(firedRules(firing).contains(c.rule), qPrintable(u"rule %1 does not fire"_s.arg(c.rule)));
        for (std::size_t i = 0; i < c.settings.size(); ++i) {
            WholeScores edge = firing;
            edge.*c.settings[i].scale = c.settings[i].threshold;
            QVERIFY2(!ruleHolds(c.rule, edge), qPrintable(u"rule %1 fires on threshold %2"_s.arg(c.rule).arg(i)));
        }
    }
}

void TestCodeTypes::namedProfiles()
{
    WholeScores s = neutral();
    s.Pt = 50; // paranoid valley needs Pt ten points below Pa and Sc
    QCOMPARE(firedRules(s), QList<int>({19}));
    s.Pa = 59;
    QVERIFY(firedRules(s).isEmpty());

    s = neutral();
    s.Hs = 65; // Hs equal to D is no conversion V
    s.D = 65;
    s.Hy = 66;
    QVERIFY(firedRules(s).isEmpty());
    s.D = 64;
    QCOMPARE(firedRules(s), QList<int>({1}));

    s = neutral();
    s.Pd = 75;
    s.Ma = 71;
    QCOMPARE(firedRules(s), QList<int>({10}));
    s.Pd = 76;
    QCOMPARE(firedRules(s), QList<int>({9, 10}));

    s = neutral();
    s.D = s.Pt = s.Hy = 80;
    QCOMPARE(firedRules(s), QList<int>({5, 6}));

    // From texts: "75.5" is 76 for the rules, "70.5" is 70 (not high), "x" is 0.
    ScaleTexts t;
    t.fill(u"60"_s);
    t[1] = u"x"_s;     // F
    t[6] = u"75.5"_s;  // Pd
    t[10] = u"70.5"_s; // Ma
    s = wholeScores(t);
    QCOMPARE(firedRules(s), QList<int>({9}));
    QCOMPARE(fkSentence(s), QStringLiteral("آزمودني سعي دارد خود را بهتر از آنچه که هست جلوه دهد و مشکلات و تعارضات دروني و عاطفي خود را انکار نمايد. "));
}

// A sentence attached to the wrong rule, or a condition reading the wrong scale, shows here:
// each rule's sentence speaks of exactly the scales its condition reads.
void TestCodeTypes::sentencesNameTheScalesTheirRuleReads()
{
    QCOMPARE(int(ruleCases().size()), 18);
    for (const RuleCase& c : ruleCases()) {
        QVERIFY2(ruleHolds(c.rule, c.firing()), qPrintable(u"rule %1 does not fire"_s.arg(c.rule)));
        const QSet<QString> read = scalesRead(c);
        QVERIFY2(!read.isEmpty(), qPrintable(u"rule %1 reads nothing"_s.arg(c.rule)));
        const QSet<QString> named = scalesNamed(ruleSentence(c.rule));
        QVERIFY2(named == read, qPrintable(u"rule %1 reads %2 but its sentence names %3"_s.arg(c.rule)
                                               .arg(QStringList(read.begin(), read.end()).join(u' '),
                                                    QStringList(named.begin(), named.end()).join(u' '))));
    }
}

void TestCodeTypes::sentencesAreDistinct()
{
    QStringList sentences;
    for (const RuleCase& c : ruleCases())
        sentences << ruleSentence(c.rule);
    WholeScores s = neutral();
    for (int f : {61, 59, 60}) {
        s.F = f;
        sentences << fkSentence(s);
    }
    QCOMPARE(QSet<QString>(sentences.begin(), sentences.end()).size(), sentences.size());
    QVERIFY(!sentences.contains(QString()));
    // Rule 2 is the F-K sentence, not a rule of its own; unknown numbers have none.
    for (int number : {0, 2, 20})
        QVERIFY(ruleSentence(number).isEmpty());
}

void TestCodeTypes::readingOfAProfile()
{
    auto heldNumbers = [](const ProfileReading& r) {
        QList<int> held;
        for (const HeldRule& rule : r.heldRules) {
            held << rule.number;
            if (rule.sentence != ruleSentence(rule.number))
                held << -1; // a sentence that is not its rule's
        }
        return held;
    };
    // L F K Hs D Hy Pd Pa Pt Sc Ma: ranks D 78, Pt 76, Sc 73, Pa 67.
    ScaleTexts t{u"53"_s, u"72"_s, u"46"_s, u"64"_s, u"78"_s, u"58"_s, u"62"_s, u"67"_s, u"76"_s, u"73"_s, u"44"_s};
    const ProfileReading r = ReadProfile(RankScales(t).table, t, u"5"_s);
    QVERIFY(r.longGateBlocks);
    QVERIFY(!r.shortGateBlocks);
    QCOMPARE(r.twoPointCode, u"27"_s);
    QCOMPARE(r.threePointCode, std::optional(u"278"_s));
    QCOMPARE(r.fk, 26);
    QCOMPARE(heldNumbers(r), (QList<int>{5, 15, 17}));

    // Pd "75.5" is 75.5 for its band and 76 for the rules; it takes rank 3, two and a half
    // points above Sc: no three-point code. Nothing unanswered opens both gates.
    t[6] = u"75.5"_s;
    const ProfileReading pd = ReadProfile(RankScales(t).table, t, QString());
    QVERIFY(!pd.longGateBlocks && !pd.shortGateBlocks);
    QCOMPARE(pd.bandScores[6], 75.5);
    QCOMPARE(pd.wholeScores.Pd, 76);
    QCOMPARE(pd.threePointCode, std::nullopt);
    QCOMPARE(heldNumbers(pd), (QList<int>{5, 7, 9, 15, 17}));
}

TAVORA_TEST(TestCodeTypes)
#include "tst_code_types.moc"
