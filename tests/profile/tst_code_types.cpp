#include "profile/code_types.h"
#include "scoring/leading_number.h"
#include "support/test_registry.h"

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
    void sentencesByNumber();
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
    using S = WholeScores;
    struct Setting {
        int S::*scale;
        int firing;
        int threshold;
    };
    struct Case {
        int rule;
        std::vector<Setting> settings;
    };
    const std::vector<Case> cases{
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
    QVERIFY(firedRules(neutral()).isEmpty());
    for (const Case& c : cases) {
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

void TestCodeTypes::sentencesByNumber()
{
    const QStringList expected{
        QStringLiteral("باتوجه با به اينكه نمره T مقياس Hs و نمره T مقياس Hy بيشتر از نمره T مقياس D مي باشد اين پروفايل شامل V تبديلي مي باشد، که فرد هيستريک تشخيص داده مي شود در اينصورت فرد مشکلات رواني خود را به مشکلات جسمي تبديل مي کند. "), QStringLiteral("درصورتيکه نمره بالا در Hs با نمره بالاي  Sc همراه باشد، شاهد توهمات بدني خواهيم بود. "), QStringLiteral("زمانيکه نمرات بالاي  Hs و  Hy، با نمرات پايين D، Pt ، Sc همراه باشد، به معني عادي جلوه دادن خود و آمادگي کافي براي همکاري و درمان مي باشد. "), QStringLiteral(" D بالا بهمراه Pt بالا: نفرت از خود، گرايش به خود آزاري، بيقراري، احساس بي ارزشي، همکاري لازم و پيشرفت در درمان."), QStringLiteral(" D،Pt ،Hy   بالا: بالا بودن وابستگي فرد به ديگران."), QStringLiteral("D، Pd ،Pt، Sc   بالا: گرايش به خودکشي. "),
        QStringLiteral(" Hy و Ma بالا بهمراه F و Sc پايين تمايل به همجوشي و آميزش با ديگران خيلي بالاست تا حدي که از هنجارهاي اجتماعي نيز فرا تر روند. در اين افراد مقاومت براي درمان زياد است. "), QStringLiteral(" Pd  بالا : در نوجوانان بزهکار ديده مي شود."), QStringLiteral(" Pd و Ma  بالا: اختلالات رفتاري، هنجار شکني، جامعه ستيزي و رفتارهاي ضد ارزش. "), QStringLiteral(" Pd و Hy  بالا: رشد عاطفي-اجتماعي پايين،افکار وعواطف کودکانه. "), QStringLiteral(" Pd، Sc ، F  بالا بهمراه D پايين: خود آزارگري، احساس لذت از ايجاد اضطراب و احساس گناه در خود. "), QStringLiteral(" Pa و Sc  بالا :احتمالا اختلال اسکيزوفرنيا از نوع پارانوئيد. "),
        QStringLiteral(" Pa و Hy  بالا: احتمالا شخصيت پارانوئيد. هرچندکه گرايشات نابهنجار و برداشتهاي غيرعادي خود را از ديگران پنهان کند. "), QStringLiteral("  Pt  بالا بهمراه Sc  بالا:  اسکيزوفرنيا در مراحل پيشرفته "), QStringLiteral(" Ma  بالا بهمراه D و Pt پايين: رقابت خصمانه و پرخاشگرانه  "), QStringLiteral(" Ma پايين بهمراه D بالا: افسردگي  "), QStringLiteral(" گاهاً  Ma  بهمراه D بالا: حاکي از وجود ضايعات مغزي، تکانشي و برانگيختگي، هيجاني بودن بودن دائمي."), QStringLiteral("مقياس 7 به اندازه 10 نمره يا بيشتر پايين تر از مقياس هاي 6 و 8 ميباشد كه به آن الگوي دره پارانوئيدي گفته مي شود. "),
    };
    const QList<int> numbers{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE(ruleSentence(numbers[i]), expected[i]);
    QVERIFY(ruleSentence(2).isEmpty());
}

TAVORA_TEST(TestCodeTypes)
#include "tst_code_types.moc"
