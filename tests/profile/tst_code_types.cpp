#include "profile/code_types.h"
#include "support/test_registry.h"

#include <QTest>

using namespace profile;
using namespace Qt::Literals::StringLiterals;

namespace {

RankingTable rankingOf(std::initializer_list<const char*> clinicalTs)
{
    ScaleTexts t;
    t.fill(u"50"_s);
    int i = 3;
    for (const char* text : clinicalTs)
        t[std::size_t(i++)] = QString::fromUtf8(text);
    return RankScales(t).table;
}

// A profile on which no rule holds.
WholeScores neutral()
{
    WholeScores s;
    for (int* v : {&s.L, &s.F, &s.K, &s.Hs, &s.D, &s.Hy, &s.Pd, &s.Pa, &s.Pt, &s.Sc, &s.Ma})
        *v = 60;
    return s;
}

} // namespace

class TestTextReadings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decimalReading_data();
    void decimalReading();
    void wholeReading_data();
    void wholeReading();
};

void TestTextReadings::decimalReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << u"65"_s << 65.0;
    QTest::newRow("decimal") << u"65.4"_s << 65.4;
    QTest::newRow("leading blanks") << u"  70"_s << 70.0;
    QTest::newRow("trailing rubbish") << u"70abc"_s << 70.0;
    QTest::newRow("second number ignored") << u"70 5"_s << 70.0;
    QTest::newRow("negative") << u"-3.5"_s << -3.5;
    QTest::newRow("fraction only") << u".5"_s << 0.5;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("blank") << u"   "_s << 0.0;
    QTest::newRow("letters") << u"abc"_s << 0.0;
    QTest::newRow("sign only") << u"-"_s << 0.0;
    QTest::newRow("point only") << u"."_s << 0.0;
}

void TestTextReadings::decimalReading()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(profile::decimalReading(text), value);
}

void TestTextReadings::wholeReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("whole") << u"65"_s << 65;
    QTest::newRow("blanks around") << u" 65 "_s << 65;
    QTest::newRow("half to even, down") << u"70.5"_s << 70;
    QTest::newRow("half to even, up") << u"75.5"_s << 76;
    QTest::newRow("below half") << u"70.49"_s << 70;
    QTest::newRow("above half") << u"70.51"_s << 71;
    QTest::newRow("negative half") << u"-2.5"_s << -2;
    QTest::newRow("trailing rubbish") << u"70abc"_s << 0;
    QTest::newRow("two numbers") << u"70 5"_s << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("letters") << u"abc"_s << 0;
    QTest::newRow("too large") << u"40000"_s << 0;
    QTest::newRow("largest") << u"32767"_s << 32767;
}

void TestTextReadings::wholeReading()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(profile::wholeReading(text), value);
}

class TestGateAndCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gate_data();
    void gate();
    void twoPointCode();
    void threePointCode_data();
    void threePointCode();
};

void TestGateAndCodes::gate_data()
{
    QTest::addColumn<QString>("unanswered");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("blocks");
    QTest::newRow("long 4") << u"4"_s << kLongGateLimit << false;
    QTest::newRow("long 5") << u"5"_s << kLongGateLimit << true;
    QTest::newRow("short 7") << u"7"_s << kShortGateLimit << false;
    QTest::newRow("short 8") << u"8"_s << kShortGateLimit << true;
    QTest::newRow("long 4.5") << u"4.5"_s << kLongGateLimit << true;
    QTest::newRow("empty") << QString() << kLongGateLimit << false;
    QTest::newRow("non-numeric") << u"many"_s << kLongGateLimit << false;
    QTest::newRow("71") << u"71"_s << kShortGateLimit << true;
}

void TestGateAndCodes::gate()
{
    QFETCH(QString, unanswered);
    QFETCH(int, limit);
    QFETCH(bool, blocks);
    QCOMPARE(gateBlocks(unanswered, limit), blocks);
}

void TestGateAndCodes::twoPointCode()
{
    // Ranks 1 and 2, rank 1 first, whatever their elevation.
    QCOMPARE(profile::twoPointCode(rankingOf({"50", "78", "50", "50", "50", "76", "50", "50"})), u"27"_s);
    QCOMPARE(profile::twoPointCode(rankingOf({"40", "41", "42", "43", "44", "45", "46", "47"})), u"98"_s);
}

void TestGateAndCodes::threePointCode_data()
{
    QTest::addColumn<RankingTable>("table");
    QTest::addColumn<QString>("code"); // empty: none
    // Hs D Hy Pd Pa Pt Sc Ma
    QTest::newRow("70 over 65") << rankingOf({"50", "80", "50", "50", "65", "75", "70", "50"}) << u"278"_s;
    QTest::newRow("70 over 66") << rankingOf({"50", "80", "50", "50", "66", "75", "70", "50"}) << QString();
    QTest::newRow("decimal gap 4.5") << rankingOf({"50", "80", "50", "50", "65.5", "75", "70", "50"}) << u"278"_s;
    QTest::newRow("decimal gap 4") << rankingOf({"50", "80", "50", "50", "65.5", "75", "69.5", "50"}) << QString();
    QTest::newRow("rank 4 empty") << rankingOf({"", "80", "", "", "", "75", "70", ""}) << u"278"_s;
    QTest::newRow("tie at ranks 3 and 4") << rankingOf({"50", "80", "50", "50", "70", "75", "70", "50"}) << QString();
}

void TestGateAndCodes::threePointCode()
{
    QFETCH(RankingTable, table);
    QFETCH(QString, code);
    const std::optional<QString> three = profile::threePointCode(table);
    QCOMPARE(three.value_or(QString()), code);
}

class TestConfiguralRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fkSentenceBySign();
    void boundariesNeverCount();
    void paranoidValley();
    void conversionV();
    void pdAndMa();
    void highDepressionTriad();
    void wholeReadingOfTexts();
    void sentencesByNumber();
};

void TestConfiguralRules::fkSentenceBySign()
{
    WholeScores s = neutral();
    s.F = 60;
    s.K = 60;
    QCOMPARE(fkSentence(s), u"F-K=0"_s);
    s.F = 61;
    QCOMPARE(fkSentence(s), QStringLiteral("فرد سعي دارد خود را بدتر از آنچه که هست نشان دهد. تمارض را ميتوان از اين پروفايل استنباط نمود. "));
    s.F = 59;
    QCOMPARE(fkSentence(s), QStringLiteral("آزمودني سعي دارد خود را بهتر از آنچه که هست جلوه دهد و مشکلات و تعارضات دروني و عاطفي خود را انکار نمايد. "));
}

// Each rule fires with its scores set from a neutral profile, and stops when any one of them is
// put on its threshold: 70 is never high, 50 never low, equal is never above.
void TestConfiguralRules::boundariesNeverCount()
{
    struct Setting {
        int WholeScores::*scale;
        int firing;
        int boundary;
    };
    struct Case {
        int rule;
        std::vector<Setting> settings;
    };
    using S = WholeScores;
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
        QVERIFY2(ruleHolds(c.rule, firing), qPrintable(u"rule %1 does not fire"_s.arg(c.rule)));
        QVERIFY2(firedRules(firing).contains(c.rule), qPrintable(u"rule %1 not listed"_s.arg(c.rule)));
        for (std::size_t i = 0; i < c.settings.size(); ++i) {
            WholeScores edge = firing;
            edge.*c.settings[i].scale = c.settings[i].boundary;
            QVERIFY2(!ruleHolds(c.rule, edge), qPrintable(u"rule %1 fires on boundary %2"_s.arg(c.rule).arg(i)));
        }
    }
}

void TestConfiguralRules::paranoidValley()
{
    WholeScores s = neutral();
    s.Pt = 50;
    s.Sc = 60;
    s.Pa = 60;
    QVERIFY(ruleHolds(19, s));
    s.Pa = 59;
    QVERIFY(!ruleHolds(19, s));
}

void TestConfiguralRules::conversionV()
{
    WholeScores s = neutral();
    s.Hs = 65;
    s.Hy = 66;
    s.D = 65;
    QVERIFY(!ruleHolds(1, s));
    s.D = 64;
    QVERIFY(ruleHolds(1, s));
    QCOMPARE(firedRules(s).value(0), 1);
}

void TestConfiguralRules::pdAndMa()
{
    WholeScores s = neutral();
    s.Pd = 75;
    s.Ma = 71;
    QCOMPARE(firedRules(s), QList<int>({10}));
    s.Pd = 76;
    QCOMPARE(firedRules(s), QList<int>({9, 10}));
}

void TestConfiguralRules::highDepressionTriad()
{
    WholeScores s = neutral();
    s.D = 80;
    s.Pt = 80;
    s.Hy = 80;
    QCOMPARE(firedRules(s), QList<int>({5, 6}));
}

void TestConfiguralRules::wholeReadingOfTexts()
{
    // "75.5" reads as 76 for the rules; "70.5" as 70, which is not high; unreadable texts as 0.
    ScaleTexts t;
    t.fill(u"60"_s);
    t[6] = u"75.5"_s; // Pd
    t[10] = u"70.5"_s; // Ma
    t[1] = u"x"_s;     // F
    const WholeScores s = wholeScores(t);
    QCOMPARE(s.Pd, 76);
    QCOMPARE(s.Ma, 70);
    QCOMPARE(s.F, 0);
    QCOMPARE(firedRules(s), QList<int>({9}));
    QCOMPARE(fkSentence(s), QStringLiteral("آزمودني سعي دارد خود را بهتر از آنچه که هست جلوه دهد و مشکلات و تعارضات دروني و عاطفي خود را انکار نمايد. "));
}

void TestConfiguralRules::sentencesByNumber()
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
    QVERIFY(!ruleHolds(2, neutral()));
}

TAVORA_TEST(TestTextReadings)
TAVORA_TEST(TestGateAndCodes)
TAVORA_TEST(TestConfiguralRules)
#include "tst_code_types.moc"
