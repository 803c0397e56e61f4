#include "profile/code_types.h"

#include "scoring/leading_number.h"

#include <cmath>

namespace profile {

namespace {

int roundHalfToEven(double value)
{
    const double lower = std::floor(value);
    const double diff = value - lower;
    double rounded = lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0))
        rounded = lower + 1;
    return int(rounded);
}

struct Rule {
    int number;
    bool (*holds)(const WholeScores&);
    QString sentence;
};

const std::array<Rule, 18>& rules()
{
    // clang-format off
    static const std::array<Rule, 18> table{{
        {1, [](const WholeScores& s) { return s.Hs > s.D && s.Hy > s.D; },
         QStringLiteral("باتوجه با به اينكه نمره T مقياس Hs و نمره T مقياس Hy بيشتر از نمره T مقياس D مي باشد اين پروفايل شامل V تبديلي مي باشد، که فرد هيستريک تشخيص داده مي شود در اينصورت فرد مشکلات رواني خود را به مشکلات جسمي تبديل مي کند. ")},
        {3, [](const WholeScores& s) { return s.Hs > 70 && s.Sc > 70; },
         QStringLiteral("درصورتيکه نمره بالا در Hs با نمره بالاي  Sc همراه باشد، شاهد توهمات بدني خواهيم بود. ")},
        {4, [](const WholeScores& s) { return s.Hs > 70 && s.Hy > 70 && s.D < 50 && s.Pt < 50 && s.Sc < 50; },
         QStringLiteral("زمانيکه نمرات بالاي  Hs و  Hy، با نمرات پايين D، Pt ، Sc همراه باشد، به معني عادي جلوه دادن خود و آمادگي کافي براي همکاري و درمان مي باشد. ")},
        {5, [](const WholeScores& s) { return s.D > 70 && s.Pt > 70; },
         QStringLiteral(" D بالا بهمراه Pt بالا: نفرت از خود، گرايش به خود آزاري، بيقراري، احساس بي ارزشي، همکاري لازم و پيشرفت در درمان.")},
        {6, [](const WholeScores& s) { return s.D > 70 && s.Pt > 70 && s.Hy > 70; },
         QStringLiteral(" D،Pt ،Hy   بالا: بالا بودن وابستگي فرد به ديگران.")},
        {7, [](const WholeScores& s) { return s.D > 70 && s.Pd > 70 && s.Pt > 70 && s.Sc > 70; },
         QStringLiteral("D، Pd ،Pt، Sc   بالا: گرايش به خودکشي. ")},
        {8, [](const WholeScores& s) { return s.Hy > 70 && s.Ma > 70 && s.F < 50 && s.Sc < 50; },
         QStringLiteral(" Hy و Ma بالا بهمراه F و Sc پايين تمايل به همجوشي و آميزش با ديگران خيلي بالاست تا حدي که از هنجارهاي اجتماعي نيز فرا تر روند. در اين افراد مقاومت براي درمان زياد است. ")},
        {9, [](const WholeScores& s) { return s.Pd > 75; },
         QStringLiteral(" Pd  بالا : در نوجوانان بزهکار ديده مي شود.")},
        {10, [](const WholeScores& s) { return s.Pd > 70 && s.Ma > 70; },
         QStringLiteral(" Pd و Ma  بالا: اختلالات رفتاري، هنجار شکني، جامعه ستيزي و رفتارهاي ضد ارزش. ")},
        {11, [](const WholeScores& s) { return s.Pd > 70 && s.Hy > 70; },
         QStringLiteral(" Pd و Hy  بالا: رشد عاطفي-اجتماعي پايين،افکار وعواطف کودکانه. ")},
        {12, [](const WholeScores& s) { return s.Pd > 70 && s.Sc > 70 && s.F > 70 && s.D < 50; },
         QStringLiteral(" Pd، Sc ، F  بالا بهمراه D پايين: خود آزارگري، احساس لذت از ايجاد اضطراب و احساس گناه در خود. ")},
        {13, [](const WholeScores& s) { return s.Pa > 70 && s.Sc > 70; },
         QStringLiteral(" Pa و Sc  بالا :احتمالا اختلال اسکيزوفرنيا از نوع پارانوئيد. ")},
        {14, [](const WholeScores& s) { return s.Pa > 70 && s.Hy > 70; },
         QStringLiteral(" Pa و Hy  بالا: احتمالا شخصيت پارانوئيد. هرچندکه گرايشات نابهنجار و برداشتهاي غيرعادي خود را از ديگران پنهان کند. ")},
        {15, [](const WholeScores& s) { return s.Pt > 70 && s.Sc > 70; },
         QStringLiteral("  Pt  بالا بهمراه Sc  بالا:  اسکيزوفرنيا در مراحل پيشرفته ")},
        {16, [](const WholeScores& s) { return s.Ma > 70 && s.D < 50 && s.Pt < 50; },
         QStringLiteral(" Ma  بالا بهمراه D و Pt پايين: رقابت خصمانه و پرخاشگرانه  ")},
        {17, [](const WholeScores& s) { return s.Ma < 50 && s.D > 70; },
         QStringLiteral(" Ma پايين بهمراه D بالا: افسردگي  ")},
        {18, [](const WholeScores& s) { return s.Ma > 70 && s.D > 70; },
         QStringLiteral(" گاهاً  Ma  بهمراه D بالا: حاکي از وجود ضايعات مغزي، تکانشي و برانگيختگي، هيجاني بودن بودن دائمي.")},
        // Paranoid valley: Pt ten or more points below both Pa and Sc.
        {19, [](const WholeScores& s) { return s.Pa - s.Pt > 9 && s.Sc - s.Pt > 9; },
         QStringLiteral("مقياس 7 به اندازه 10 نمره يا بيشتر پايين تر از مقياس هاي 6 و 8 ميباشد كه به آن الگوي دره پارانوئيدي گفته مي شود. ")},
    }};
    // clang-format on
    return table;
}

const Rule* findRule(int number)
{
    for (const Rule& rule : rules()) {
        if (rule.number == number)
            return &rule;
    }
    return nullptr;
}

} // namespace

int wholeReading(const QString& text)
{
    QStringView rest = SkipBlanks(text);
    while (!rest.isEmpty() && (rest.back() == QLatin1Char(' ') || rest.back() == QLatin1Char('\t')))
        rest.chop(1);
    if (LeadingNumberLength(rest) != rest.size() || rest.isEmpty())
        return 0;
    const std::optional<double> value = ParseNumber(rest);
    if (!value || *value < -32768.5 || *value > 32767.5)
        return 0;
    const int rounded = roundHalfToEven(*value);
    return rounded < -32768 || rounded > 32767 ? 0 : rounded;
}

bool gateBlocks(const QString& unanswered, int limit)
{
    return LeadingNumberOrZero(unanswered) > limit;
}

QString twoPointCode(const RankingTable& table)
{
    return table.clinical[0].number + table.clinical[1].number;
}

std::optional<QString> threePointCode(const RankingTable& table)
{
    if (LeadingNumberOrZero(table.clinical[2].t) - LeadingNumberOrZero(table.clinical[3].t) > 4)
        return table.clinical[0].number + table.clinical[1].number + table.clinical[2].number;
    return std::nullopt;
}

WholeScores wholeScores(const ScaleTexts& t)
{
    WholeScores s;
    s.L = wholeReading(t[0]);
    s.F = wholeReading(t[1]);
    s.K = wholeReading(t[2]);
    s.Hs = wholeReading(t[3]);
    s.D = wholeReading(t[4]);
    s.Hy = wholeReading(t[5]);
    s.Pd = wholeReading(t[6]);
    s.Pa = wholeReading(t[7]);
    s.Pt = wholeReading(t[8]);
    s.Sc = wholeReading(t[9]);
    s.Ma = wholeReading(t[10]);
    return s;
}

const QString& fkSentence(const WholeScores& scores)
{
    static const QString worse = QStringLiteral("فرد سعي دارد خود را بدتر از آنچه که هست نشان دهد. تمارض را ميتوان از اين پروفايل استنباط نمود. ");
    static const QString better = QStringLiteral("آزمودني سعي دارد خود را بهتر از آنچه که هست جلوه دهد و مشکلات و تعارضات دروني و عاطفي خود را انکار نمايد. ");
    static const QString equal = QStringLiteral("F-K=0");
    const int fk = scores.F - scores.K;
    return fk > 0 ? worse : fk < 0 ? better : equal;
}

bool ruleHolds(int number, const WholeScores& scores)
{
    const Rule* rule = findRule(number);
    return rule && rule->holds(scores);
}

const QString& ruleSentence(int number)
{
    static const QString none;
    const Rule* rule = findRule(number);
    return rule ? rule->sentence : none;
}

QList<int> firedRules(const WholeScores& scores)
{
    QList<int> fired;
    for (const Rule& rule : rules()) {
        if (rule.holds(scores))
            fired.append(rule.number);
    }
    return fired;
}

} // namespace profile
