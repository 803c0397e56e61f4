#include "profile/interpretation_text.h"

#include "profile/profile_reading.h"

#include <vector>

namespace profile {

namespace {

enum class Field { Topp, Mediumm, Downn };

// What a band appends: a field of a Taff row, or a fixed sentence.
struct Descriptor {
    QString taffId; // empty for a fixed sentence
    Field field = Field::Topp;
    QString sentence;
};

Descriptor taff(const char* id, Field field) { return {QString::fromLatin1(id), field, {}}; }
Descriptor fixed(const QString& sentence) { return {{}, Field::Topp, sentence}; }

// Bands are tested in order and the first that holds wins; ranges include both bounds.
struct Band {
    enum Kind { Below, Between, Above } kind;
    double low;
    double high;
    Descriptor text;

    bool holds(double t) const
    {
        switch (kind) {
        case Below: return t < high;
        case Between: return t >= low && t <= high;
        case Above: return t > low;
        }
        return false;
    }
};

Band below(double bound, Descriptor text) { return {Band::Below, 0, bound, std::move(text)}; }
Band between(double low, double high, Descriptor text) { return {Band::Between, low, high, std::move(text)}; }
Band above(double bound, Descriptor text) { return {Band::Above, bound, 0, std::move(text)}; }

using Bands = std::vector<Band>;

struct ScaleSection {
    int scale; // index in scale order
    Bands bands;
};

struct Texts {
    QString opening = QStringLiteral("اين يك تفسير سيستمي مي باشد و حتما بايد توسط يك روانشناس مجرب تائيد گردد.");
    QString gate = QStringLiteral("با توجه به تعداد سوالات بدون پاسخهاي پروفايل قابل تفسير نمي باشد.");
    QString twoHeading = QStringLiteral("كد دونقطه اي: ");
    QString threeHeading = QStringLiteral("كد سه نقطه اي: ");
    QString noThreeLong = QStringLiteral("جهت محاسبه كد سه نقطه اي، بايد برافراشتگي سوم حداقل 5 نمره T از برافراشتگي چهارم بيشتر باشد. در نتيجه ") + QStringLiteral("اين پروفايل شامل كد سه نقطه اي نمي شود. ");
    QString noThreeShort = QStringLiteral("اين پروفايل شامل كد سه نقطه اي نمي شود. ");
    QString validityHeading = QStringLiteral("مقياسهاي اعتباري: ");
    QString clinicalHeading = QStringLiteral("مقياسهاي باليني: ");
    QString diagnosticHeading = QStringLiteral("الگوي تشخيصي آزمون در اين پروفايل: ");
    QString fkHeading = QStringLiteral("F-K: ");
    QString twoInterpretationHeading = QStringLiteral("تفسير كد دونقطه اي: ");
    QString twoNotFound = QStringLiteral("تفسيري براي اين كد دونقطه اي يافت نشد. ");
    QString threeInterpretationHeading = QStringLiteral("تفسير كد سه نقطه اي: ");
    QString threeNotFound = QStringLiteral("تفسيري براي اين كد سه نقطه اي يافت نشد. ");

    QString scalePrefix = QStringLiteral("مقياس ");
    QString withScore = QStringLiteral(" بانمره ");
    QString withScoreFirst = QStringLiteral(" با نمره ");
    QString andText = QStringLiteral(" و ");
    QString twoTail = QStringLiteral(" بيشترين نمره را كسب كرده اند در نتيجه كد دو نقطه اي ما مي شود:  ");
    QString threeTail = QStringLiteral(" بيشترين نمره را كسب كرده اند در نتيجه كد سه نقطه اي ما مي شود:  ");
    QString slash = QStringLiteral("/");

    std::array<QString, kScaleCount> headings{
        QStringLiteral("مقياس L: "), QStringLiteral("مقياس F: "), QStringLiteral("مقياس K: "), QStringLiteral("مقياس Hs: "), QStringLiteral("مقياس D: "), QStringLiteral("مقياس Hy: "),
        QStringLiteral("مقياس Pd: "), QStringLiteral("مقياس Pa: "), QStringLiteral("مقياس Pt: "), QStringLiteral("مقياس Sc: "), QStringLiteral("مقياس Ma: "),
    };

    Bands kBands{
        below(41, taff("102", Field::Downn)),
        between(44, 55, taff("103", Field::Downn)),
        between(56, 65, taff("103", Field::Downn)),
        above(65, taff("102", Field::Topp)),
    };

    std::vector<ScaleSection> longValidity{
        {0, {below(51, taff("104", Field::Downn)), above(50, taff("104", Field::Topp))}},
        {1, {below(51, taff("101", Field::Downn)), above(99, taff("101", Field::Topp)),
             between(50, 65, taff("100", Field::Downn)), between(65, 79, taff("104", Field::Mediumm)),
             between(80, 99, taff("104", Field::Topp))}},
        {2, kBands},
    };

    std::vector<ScaleSection> shortValidity{
        {0, {below(51, fixed(QStringLiteral("اين افراد مايلند به لغزش هاي عمومي خود اعتراف کنند. گاهي در بيان مشکلات و ويژگي هاي منفي خود اغراق مي کند، متکي به خود و مستقل هستند،به راحتي عقايد خود را بيان مي کنند."))),
             between(50, 61, fixed(QStringLiteral("اين اشخاص خود را پرهيزکار، همنوا، خويشتن دار معرفي مي کنند، يا واقعا چنين هستند. "))),
             above(60, fixed(QStringLiteral("ممکن است افرادي ساده لوح و بي تجربه باشند، استفاده از مکانيسم دفاعي انکار و سرکوبي، متعصب و متحجر، کم تحمل در برابر استرس، ارايه تصوير مطلوب از خود.")))}},
        {1, {below(51, fixed(QStringLiteral("شخص بهنجاري که به طور نسبي فارغ از فشارهاي رواني است."))),
             between(51, 60, fixed(QStringLiteral("اين اشخاص ممکن است در يک حوزه از زندگي خود ماند مذهب يا سلامتي نگران باشد اما اين نگراني خيلي زياد نيست."))),
             between(61, 79, fixed(QStringLiteral("اين اشخاص ممکن است اعتقادات بسيار انحرافي اجتماعي، سياسي يا مذهبي داشته باشند، احتمالا اختلال روان نژندي يا روانپريشي نشان دهند، ممکن است دمدمي ، بي قرار ، ناراضي، خود راي و بي ثبات باشند. "))),
             between(80, 99, fixed(QStringLiteral("احتمال تمارض يا اغراق در نشانه ها به منظور کمک خواهي مطرح است، مقاومت در برابر آزمون."))),
             above(99, fixed(QStringLiteral("نيمرخ نامعتبر پاسخدهي تصادفي ، آمايه پاسخ همه درست يا غلط، وانمود بد، هذيان، توهم ، کندي تکلم، انزوا، قضاوت ضعيف، روانپريشي و علايم عضوي")))}},
        {2, kBands},
    };

    std::vector<ScaleSection> clinical{
        {3, {below(60, taff("1", Field::Downn)), between(60, 80, taff("1", Field::Mediumm)),
             above(80, taff("1", Field::Topp))}},
        {4, {below(45, fixed(QStringLiteral("شاداب، پرانرژي، خوش بين، فعال، اهل معاشرت و بي پروا."))), between(45, 60, taff("2", Field::Downn)),
             between(60, 80, taff("2", Field::Mediumm)), above(80, taff("2", Field::Topp))}},
        {5, {below(50, fixed(QStringLiteral("ارزش باليني ندارد."))), between(50, 70, taff("3", Field::Downn)),
             between(70, 80, taff("3", Field::Mediumm)), above(80, taff("3", Field::Topp))}},
        {6, {below(34, fixed(QStringLiteral("بسيار متعارف، تابع، منفعل، فاقد جرأت، اعتقادگرا، داراي علايق محدود."))), between(34, 50, taff("4", Field::Downn)),
             between(51, 75, taff("4", Field::Mediumm)), above(75, taff("4", Field::Topp))}},
        {7, {below(45, taff("6", Field::Downn)), between(45, 55, fixed(QStringLiteral("در روابط نسبتاً نرمال، آگاهي نسبي به موقعيتهاي اطرافيان. گاهاً در اين افراد حساسيت وجود دارد."))),
             between(55, 70, taff("6", Field::Mediumm)), above(70, taff("6", Field::Topp))}},
        {8, {below(45, fixed(QStringLiteral("داراي اتکاء بخود، فاقد نگراني، مسئوليت پذير، و برخورد توأم با آرامش."))), between(45, 55, taff("7", Field::Downn)),
             between(55, 70, taff("7", Field::Mediumm)), above(70, taff("7", Field::Topp))}},
        {9, {below(45, fixed(QStringLiteral("علاقه به برقراي ارتباط، علاقه به موضوعات علمي، تابع و پذيراي قدرت، عيني، و تاحدي غير خلاق.  "))), between(45, 60, taff("8", Field::Downn)),
             between(60, 70, taff("8", Field::Mediumm)), above(70, taff("8", Field::Topp))}},
        {10, {below(45, fixed(QStringLiteral("فرد انرژي و فعاليت کمي دارد، فردي فاقد تنش  و بي تفاوت مي باشد. دادن انگيزه براي اين افراد مشکل است. "))), between(45, 60, taff("9", Field::Downn)),
              between(60, 70, taff("9", Field::Mediumm)), above(70, taff("9", Field::Topp))}},
    };
};

const Texts& texts()
{
    static const Texts instance;
    return instance;
}

// Writes a text from a reading: every decision is taken already, only the Taff texts are
// looked up here.
class Writer {
public:
    Writer(const ProfileReading& reading, const TaffLookup& taff) : reading_(reading), taff_(taff)
    {
        text_.reserve(4096);
    }

    // The piece, then CR LF.
    void line(const QString& piece)
    {
        text_ += piece;
        text_ += QLatin1String("\r\n");
    }

    std::optional<TaffRow> taffRow(const QString& id) const
    {
        return taff_ ? taff_(id) : std::nullopt;
    }

    void sections(const std::vector<ScaleSection>& scales)
    {
        for (const ScaleSection& section : scales) {
            line(texts().headings[std::size_t(section.scale)]);
            descriptor(section);
        }
    }

    // A missing Taff row or an empty field adds nothing: the heading stands alone.
    void descriptor(const ScaleSection& section)
    {
        const double t = reading_.bandScores[std::size_t(section.scale)];
        for (const Band& band : section.bands) {
            if (!band.holds(t))
                continue;
            if (band.text.taffId.isEmpty()) {
                line(band.text.sentence);
            } else if (const auto row = taffRow(band.text.taffId)) {
                const QString& field = band.text.field == Field::Topp      ? row->Topp
                                       : band.text.field == Field::Mediumm ? row->Mediumm
                                                                           : row->Downn;
                if (!field.isEmpty())
                    line(field);
            }
            return;
        }
    }

    void codeInterpretation(const QString& code, const QString& notFound)
    {
        const auto row = taffRow(code);
        line(row && !row->Topp.isEmpty() ? row->Topp : notFound);
    }

    QString take() { return std::move(text_); }

private:
    const ProfileReading& reading_;
    const TaffLookup& taff_;
    QString text_;
};

QString twoPointSentence(const RankingTable& table)
{
    const Texts& x = texts();
    const RankEntry& a = table.clinical[0];
    const RankEntry& b = table.clinical[1];
    return x.scalePrefix + a.name + x.withScore + a.t + x.andText + x.scalePrefix + b.name + x.withScore + b.t
           + x.twoTail + a.number + b.number + x.slash + b.number + a.number;
}

QString threePointSentence(const RankingTable& table, const QString& code)
{
    const Texts& x = texts();
    const RankEntry& a = table.clinical[0];
    const RankEntry& b = table.clinical[1];
    const RankEntry& c = table.clinical[2];
    return x.scalePrefix + a.name + x.withScoreFirst + a.t + x.andText + x.scalePrefix + b.name + x.withScore
           + b.t + x.andText + x.scalePrefix + c.name + x.withScore + c.t + x.threeTail + code;
}

QString write(const ProfileReading& reading, const TaffLookup& taff, bool longRun)
{
    const Texts& x = texts();
    Writer out(reading, taff);
    out.line(x.opening);
    if (longRun ? reading.longGateBlocks : reading.shortGateBlocks) {
        out.line(x.gate);
        return out.take();
    }

    out.line(x.twoHeading);
    out.line(twoPointSentence(reading.ranking));

    out.line(x.threeHeading);
    if (reading.threePointCode)
        out.line(threePointSentence(reading.ranking, *reading.threePointCode));
    else
        out.line(longRun ? x.noThreeLong : x.noThreeShort);

    out.line(x.validityHeading);
    out.sections(longRun ? x.longValidity : x.shortValidity);
    if (longRun) {
        out.line(x.clinicalHeading);
        out.sections(x.clinical);
    }

    // Rule 1 (the conversion V) stands under the heading, the F-K sentence under its own,
    // rules 3..19 after it.
    out.line(QString());
    out.line(x.diagnosticHeading);
    const QList<HeldRule>& rules = reading.heldRules;
    const bool conversionV = !rules.isEmpty() && rules.first().number == 1;
    if (conversionV)
        out.line(rules.first().sentence);
    out.line(x.fkHeading);
    out.line(reading.fkSentence);
    for (qsizetype i = conversionV ? 1 : 0; i < rules.size(); ++i)
        out.line(rules.at(i).sentence);
    out.line(QString());

    out.line(x.twoInterpretationHeading);
    out.codeInterpretation(reading.twoPointCode, x.twoNotFound);
    if (!longRun && reading.threePointCode) {
        out.line(x.threeInterpretationHeading);
        out.codeInterpretation(*reading.threePointCode, x.threeNotFound);
    }
    return out.take();
}

} // namespace

QString BuildLongInterpretation(const ProfileReading& reading, const TaffLookup& taff)
{
    return write(reading, taff, true);
}

QString BuildShortInterpretation(const ProfileReading& reading, const TaffLookup& taff)
{
    return write(reading, taff, false);
}

QStringList TaffIdsRead(const ProfileReading& reading, bool longRun)
{
    QStringList ids;
    const TaffLookup record = [&ids](const QString& id) -> std::optional<TaffRow> {
        if (!ids.contains(id))
            ids << id;
        return std::nullopt;
    };
    (void)write(reading, record, longRun);
    return ids;
}

QString BuildLongInterpretation(const InterpretationInput& input)
{
    return write(ReadProfile(input.ranking, input.tScores, input.unanswered), input.taff, true);
}

QString BuildShortInterpretation(const InterpretationInput& input)
{
    return write(ReadProfile(input.ranking, input.tScores, input.unanswered), input.taff, false);
}

QList<QPair<QString, QString>> TaffFieldsRead()
{
    static const char* const columns[] = {"Topp", "Mediumm", "Downn"};
    QList<QPair<QString, QString>> read;
    const Texts& x = texts();
    for (const auto* sections : {&x.longValidity, &x.shortValidity, &x.clinical}) {
        for (const ScaleSection& section : *sections) {
            for (const Band& band : section.bands) {
                if (band.text.taffId.isEmpty())
                    continue;
                const QPair<QString, QString> field{band.text.taffId,
                                                    QString::fromLatin1(columns[int(band.text.field)])};
                if (!read.contains(field))
                    read << field;
            }
        }
    }
    return read;
}

} // namespace profile
