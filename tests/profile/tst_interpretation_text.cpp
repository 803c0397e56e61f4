#include "profile/interpretation_text.h"
#include "support/test_registry.h"

#include <QHash>
#include <QTest>

using namespace profile;
using namespace Qt::Literals::StringLiterals;

namespace {

// The fixed texts the interpretation is expected to carry.
const QString kOpening = QStringLiteral("اين يك تفسير سيستمي مي باشد و حتما بايد توسط يك روانشناس مجرب تائيد گردد.");
const QString kGate = QStringLiteral("با توجه به تعداد سوالات بدون پاسخهاي پروفايل قابل تفسير نمي باشد.");
const QString kTwoHeading = QStringLiteral("كد دونقطه اي: ");
const QString kThreeHeading = QStringLiteral("كد سه نقطه اي: ");
const QString kNoThreeLong = QStringLiteral("جهت محاسبه كد سه نقطه اي، بايد برافراشتگي سوم حداقل 5 نمره T از برافراشتگي چهارم بيشتر باشد. در نتيجه ") + QStringLiteral("اين پروفايل شامل كد سه نقطه اي نمي شود. ");
const QString kNoThreeShort = QStringLiteral("اين پروفايل شامل كد سه نقطه اي نمي شود. ");
const QString kValidityHeading = QStringLiteral("مقياسهاي اعتباري: ");
const QString kClinicalHeading = QStringLiteral("مقياسهاي باليني: ");
const QString kDiagnosticHeading = QStringLiteral("الگوي تشخيصي آزمون در اين پروفايل: ");
const QString kFkHeading = QStringLiteral("F-K: ");
const QString kFkWorse = QStringLiteral("فرد سعي دارد خود را بدتر از آنچه که هست نشان دهد. تمارض را ميتوان از اين پروفايل استنباط نمود. ");
const QString kFkBetter = QStringLiteral("آزمودني سعي دارد خود را بهتر از آنچه که هست جلوه دهد و مشکلات و تعارضات دروني و عاطفي خود را انکار نمايد. ");
const QString kTwoInterpretation = QStringLiteral("تفسير كد دونقطه اي: ");
const QString kTwoNotFound = QStringLiteral("تفسيري براي اين كد دونقطه اي يافت نشد. ");
const QString kThreeInterpretation = QStringLiteral("تفسير كد سه نقطه اي: ");
const QString kThreeNotFound = QStringLiteral("تفسيري براي اين كد سه نقطه اي يافت نشد. ");
const QString kScale = QStringLiteral("مقياس ");
const QString kWithScore = QStringLiteral(" بانمره ");
const QString kWithScoreFirst = QStringLiteral(" با نمره ");
const QString kAnd = QStringLiteral(" و ");
const QString kTwoTail = QStringLiteral(" بيشترين نمره را كسب كرده اند در نتيجه كد دو نقطه اي ما مي شود:  ");
const QString kThreeTail = QStringLiteral(" بيشترين نمره را كسب كرده اند در نتيجه كد سه نقطه اي ما مي شود:  ");
const QString kHeadL = QStringLiteral("مقياس L: "), kHeadF = QStringLiteral("مقياس F: "), kHeadK = QStringLiteral("مقياس K: ");
const QString kHeadHs = QStringLiteral("مقياس Hs: "), kHeadD = QStringLiteral("مقياس D: "), kHeadHy = QStringLiteral("مقياس Hy: "), kHeadPd = QStringLiteral("مقياس Pd: ");
const QString kHeadPa = QStringLiteral("مقياس Pa: "), kHeadPt = QStringLiteral("مقياس Pt: "), kHeadSc = QStringLiteral("مقياس Sc: "), kHeadMa = QStringLiteral("مقياس Ma: ");
const QString kRule1 = QStringLiteral("باتوجه با به اينكه نمره T مقياس Hs و نمره T مقياس Hy بيشتر از نمره T مقياس D مي باشد اين پروفايل شامل V تبديلي مي باشد، که فرد هيستريک تشخيص داده مي شود در اينصورت فرد مشکلات رواني خود را به مشکلات جسمي تبديل مي کند. ");
const QString kRule5 = QStringLiteral(" D بالا بهمراه Pt بالا: نفرت از خود، گرايش به خود آزاري، بيقراري، احساس بي ارزشي، همکاري لازم و پيشرفت در درمان.");
const QString kRule15 = QStringLiteral("  Pt  بالا بهمراه Sc  بالا:  اسکيزوفرنيا در مراحل پيشرفته ");
const QString kRule17 = QStringLiteral(" Ma پايين بهمراه D بالا: افسردگي  ");
const QString kShortLLow = QStringLiteral("اين افراد مايلند به لغزش هاي عمومي خود اعتراف کنند. گاهي در بيان مشکلات و ويژگي هاي منفي خود اغراق مي کند، متکي به خود و مستقل هستند،به راحتي عقايد خود را بيان مي کنند.");
const QString kShortLMiddle = QStringLiteral("اين اشخاص خود را پرهيزکار، همنوا، خويشتن دار معرفي مي کنند، يا واقعا چنين هستند. ");
const QString kShortLHigh = QStringLiteral("ممکن است افرادي ساده لوح و بي تجربه باشند، استفاده از مکانيسم دفاعي انکار و سرکوبي، متعصب و متحجر، کم تحمل در برابر استرس، ارايه تصوير مطلوب از خود.");
const QString kShortF61 = QStringLiteral("اين اشخاص ممکن است اعتقادات بسيار انحرافي اجتماعي، سياسي يا مذهبي داشته باشند، احتمالا اختلال روان نژندي يا روانپريشي نشان دهند، ممکن است دمدمي ، بي قرار ، ناراضي، خود راي و بي ثبات باشند. ");
const QString kShortF100 = QStringLiteral("نيمرخ نامعتبر پاسخدهي تصادفي ، آمايه پاسخ همه درست يا غلط، وانمود بد، هذيان، توهم ، کندي تکلم، انزوا، قضاوت ضعيف، روانپريشي و علايم عضوي");
const QString kDLow = QStringLiteral("شاداب، پرانرژي، خوش بين، فعال، اهل معاشرت و بي پروا.");
const QString kHyLow = QStringLiteral("ارزش باليني ندارد.");
const QString kPdLow = QStringLiteral("بسيار متعارف، تابع، منفعل، فاقد جرأت، اعتقادگرا، داراي علايق محدود.");
const QString kPaMiddle = QStringLiteral("در روابط نسبتاً نرمال، آگاهي نسبي به موقعيتهاي اطرافيان. گاهاً در اين افراد حساسيت وجود دارد.");
const QString kPtLow = QStringLiteral("داراي اتکاء بخود، فاقد نگراني، مسئوليت پذير، و برخورد توأم با آرامش.");
const QString kScLow = QStringLiteral("علاقه به برقراي ارتباط، علاقه به موضوعات علمي، تابع و پذيراي قدرت، عيني، و تاحدي غير خلاق.  ");
const QString kMaLow = QStringLiteral("فرد انرژي و فعاليت کمي دارد، فردي فاقد تنش  و بي تفاوت مي باشد. دادن انگيزه براي اين افراد مشکل است. ");

// T texts in scale order L F K Hs D Hy Pd Pa Pt Sc Ma.
ScaleTexts tRow(std::initializer_list<const char*> texts)
{
    ScaleTexts row;
    int i = 0;
    for (const char* t : texts)
        row[std::size_t(i++)] = QString::fromUtf8(t);
    return row;
}

// Ranks D 78, Pt 76, Sc 73, Pa 67: two-point code 27, three-point code 278.
ScaleTexts realistic()
{
    return tRow({"53", "72", "46", "64", "78", "58", "62", "67", "76", "73", "44"});
}

// Every Taff row exists, with texts that name their row and field, except the rows listed.
TaffLookup fakeTaff(const QStringList& missing = {}, const QHash<QString, TaffRow>& replaced = {})
{
    return [missing, replaced](const QString& id) -> std::optional<TaffRow> {
        if (missing.contains(id))
            return std::nullopt;
        if (replaced.contains(id))
            return replaced.value(id);
        return TaffRow{u"TOPP-"_s + id, u"MEDIUMM-"_s + id, u"DOWNN-"_s + id};
    };
}

// The input as the profile result holds it: the T scores and their ranking.
InterpretationInput inputFor(const ScaleTexts& t, const QString& unanswered = u"0"_s, TaffLookup taff = fakeTaff())
{
    return {RankScales(t).table, t, unanswered, std::move(taff)};
}

QString build(bool longRun, const InterpretationInput& input)
{
    return longRun ? BuildLongInterpretation(input) : BuildShortInterpretation(input);
}

// The lines of a text in which every line ends in CR LF.
QStringList linesOf(const QString& text)
{
    if (!text.endsWith(u"\r\n"_s))
        return {u"<text does not end in CR LF>"_s};
    QStringList lines = text.split(u"\r\n"_s);
    lines.removeLast();
    return lines;
}

QString lineAfter(const QStringList& lines, const QString& heading)
{
    const qsizetype i = lines.indexOf(heading);
    return i >= 0 ? lines.value(i + 1, u"<end>"_s) : u"<no heading>"_s;
}

// Opening, two-point and three-point blocks of the realistic profile, and the validity heading.
QStringList realisticCodeBlocks()
{
    return {
        kOpening,
        kTwoHeading,
        kScale + u"D"_s + kWithScore + u"78"_s + kAnd + kScale + u"Pt"_s + kWithScore + u"76"_s + kTwoTail + u"27/72"_s,
        kThreeHeading,
        kScale + u"D"_s + kWithScoreFirst + u"78"_s + kAnd + kScale + u"Pt"_s + kWithScore + u"76"_s + kAnd + kScale
            + u"Sc"_s + kWithScore + u"73"_s + kThreeTail + u"278"_s,
        kValidityHeading,
    };
}

void compareLines(const QString& text, const QStringList& expected)
{
    const QStringList lines = linesOf(text);
    for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
        QVERIFY2(lines[i] == expected[i], qPrintable(u"line %1: got \"%2\", expected \"%3\""_s.arg(i + 1).arg(lines[i], expected[i])));
    QCOMPARE(lines.size(), expected.size());
}

} // namespace

class TestInterpretationText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void realisticLongText();
    void realisticShortText();
    void taffIdsReadAreTheRowsUsed();
    void gate();
    void withoutThreePointCode();
    void descriptors_data();
    void descriptors();
    void missingDescriptorTexts();
    void missingCodeTypeRows();
    void noTaffRows();
    void diagnosticSection();
    void unreadableScores();
    void buildingTwiceGivesTheSameText();
};

void TestInterpretationText::realisticLongText()
{
    const QString text = BuildLongInterpretation(inputFor(realistic(), u"2"_s));
    compareLines(text, realisticCodeBlocks() + QStringList{
        kHeadL, u"TOPP-104"_s,
        kHeadF, u"MEDIUMM-104"_s,
        kHeadK, u"DOWNN-103"_s,
        kClinicalHeading,
        kHeadHs, u"MEDIUMM-1"_s,
        kHeadD, u"MEDIUMM-2"_s,
        kHeadHy, u"DOWNN-3"_s,
        kHeadPd, u"MEDIUMM-4"_s,
        kHeadPa, u"MEDIUMM-6"_s,
        kHeadPt, u"TOPP-7"_s,
        kHeadSc, u"TOPP-8"_s,
        kHeadMa, kMaLow,
        QString(),
        kDiagnosticHeading,
        kFkHeading, kFkWorse,
        kRule5, kRule15, kRule17,
        QString(),
        kTwoInterpretation, u"TOPP-27"_s,
    });
}

void TestInterpretationText::realisticShortText()
{
    const QString text = BuildShortInterpretation(inputFor(realistic(), u"2"_s));
    compareLines(text, realisticCodeBlocks() + QStringList{
        kHeadL, kShortLMiddle,
        kHeadF, kShortF61,
        kHeadK, u"DOWNN-103"_s,
        QString(),
        kDiagnosticHeading,
        kFkHeading, kFkWorse,
        kRule5, kRule15, kRule17,
        QString(),
        kTwoInterpretation, u"TOPP-27"_s,
        kThreeInterpretation, u"TOPP-278"_s,
    });
}

// A text built from only the rows TaffIdsRead names reads as one built from every row.
void TestInterpretationText::taffIdsReadAreTheRowsUsed()
{
    const InterpretationInput input = inputFor(realistic(), u"2"_s);
    const ProfileReading reading = ReadProfile(input.ranking, input.tScores, input.unanswered);
    QCOMPARE(TaffIdsRead(reading, true), (QStringList{u"104"_s, u"103"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"6"_s, u"7"_s, u"8"_s, u"27"_s}));
    QCOMPARE(TaffIdsRead(reading, false), (QStringList{u"103"_s, u"27"_s, u"278"_s}));
    for (const bool longRun : {true, false}) {
        const QStringList ids = TaffIdsRead(reading, longRun);
        const TaffLookup onlyThose = [ids](const QString& id) -> std::optional<TaffRow> {
            return ids.contains(id) ? fakeTaff()(id) : std::nullopt;
        };
        QCOMPARE(longRun ? BuildLongInterpretation(reading, onlyThose) : BuildShortInterpretation(reading, onlyThose),
                 build(longRun, input));
    }
}

void TestInterpretationText::gate()
{
    struct Case {
        bool longRun;
        const char* unanswered;
        bool stops;
    };
    const Case cases[] = {{true, "4", false}, {true, "5", true},  {true, "6", true},   {false, "6", false},
                          {false, "7", false}, {false, "8", true}, {true, "", false}, {true, "five", false}};
    for (const Case& c : cases) {
        const QStringList lines = linesOf(build(c.longRun, inputFor(realistic(), QString::fromUtf8(c.unanswered))));
        if (c.stops)
            QCOMPARE(lines, QStringList({kOpening, kGate}));
        else
            QVERIFY2(lines.size() > 20 && lines[1] == kTwoHeading && !lines.contains(kGate), c.unanswered);
    }
}

void TestInterpretationText::withoutThreePointCode()
{
    // Ranks 3 and 4 (Sc 73, Pa 71) are 2 points apart.
    ScaleTexts t = realistic();
    t[7] = u"71"_s;
    const QStringList longLines = linesOf(BuildLongInterpretation(inputFor(t, u"3"_s)));
    QCOMPARE(longLines.value(3), kThreeHeading);
    QCOMPARE(longLines.value(4), kNoThreeLong);
    QCOMPARE(longLines.value(5), kValidityHeading);
    // Opening, two-point block, three-point block, eleven scales, diagnosis, two-point reading.
    const QStringList order{kOpening, kTwoHeading, kThreeHeading, kValidityHeading, kHeadL, kHeadF, kHeadK,
                            kClinicalHeading, kHeadHs, kHeadD, kHeadHy, kHeadPd, kHeadPa, kHeadPt, kHeadSc,
                            kHeadMa, kDiagnosticHeading, kFkHeading, kTwoInterpretation};
    qsizetype previous = -1;
    for (const QString& heading : order) {
        const qsizetype at = longLines.indexOf(heading);
        QVERIFY2(at > previous, qPrintable(heading));
        previous = at;
    }
    QCOMPARE(longLines.last(), u"TOPP-27"_s);

    const QStringList shortLines = linesOf(BuildShortInterpretation(inputFor(t, u"3"_s)));
    QCOMPARE(shortLines.value(3), kThreeHeading);
    QCOMPARE(shortLines.value(4), kNoThreeShort);
    QVERIFY(!shortLines.contains(kClinicalHeading));
    QVERIFY(!shortLines.contains(kThreeInterpretation));
    QCOMPARE(shortLines.last(), u"TOPP-27"_s);
}

void TestInterpretationText::descriptors_data()
{
    QTest::addColumn<bool>("longRun");
    QTest::addColumn<int>("scale");
    QTest::addColumn<QString>("t");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("next"); // the following heading when no descriptor is written

    QTest::newRow("long F 65") << true << 1 << u"65"_s << kHeadF << u"DOWNN-100"_s;
    QTest::newRow("short F 65") << false << 1 << u"65"_s << kHeadF << kShortF61;
    QTest::newRow("long F 100") << true << 1 << u"100"_s << kHeadF << u"TOPP-101"_s;
    QTest::newRow("short F 100") << false << 1 << u"100"_s << kHeadF << kShortF100;
    QTest::newRow("long F 50, first band wins") << true << 1 << u"50"_s << kHeadF << u"DOWNN-101"_s;
    QTest::newRow("long F 79.5, between bands") << true << 1 << u"79.5"_s << kHeadF << kHeadK;
    QTest::newRow("long L 50.5") << true << 0 << u"50.5"_s << kHeadL << u"DOWNN-104"_s;
    QTest::newRow("long L 51") << true << 0 << u"51"_s << kHeadL << u"TOPP-104"_s;
    QTest::newRow("short L 50") << false << 0 << u"50"_s << kHeadL << kShortLLow;
    QTest::newRow("short L 61") << false << 0 << u"61"_s << kHeadL << kShortLMiddle;
    QTest::newRow("short L 61.5") << false << 0 << u"61.5"_s << kHeadL << kShortLHigh;
    QTest::newRow("long K 42") << true << 2 << u"42"_s << kHeadK << kClinicalHeading;
    QTest::newRow("short K 42") << false << 2 << u"42"_s << kHeadK << QString();
    QTest::newRow("long K 44") << true << 2 << u"44"_s << kHeadK << u"DOWNN-103"_s;
    QTest::newRow("short K 66") << false << 2 << u"66"_s << kHeadK << u"TOPP-102"_s;
    QTest::newRow("D 44") << true << 4 << u"44"_s << kHeadD << kDLow;
    QTest::newRow("D 60") << true << 4 << u"60"_s << kHeadD << u"DOWNN-2"_s;
    QTest::newRow("D 61") << true << 4 << u"61"_s << kHeadD << u"MEDIUMM-2"_s;
    QTest::newRow("D 60.4, bands read decimals") << true << 4 << u"60.4"_s << kHeadD << u"MEDIUMM-2"_s;
    QTest::newRow("D 80.5") << true << 4 << u"80.5"_s << kHeadD << u"TOPP-2"_s;
    QTest::newRow("Hs unreadable") << true << 3 << u"abc"_s << kHeadHs << u"DOWNN-1"_s;
    QTest::newRow("Hy 49") << true << 5 << u"49"_s << kHeadHy << kHyLow;
    QTest::newRow("Hy 70") << true << 5 << u"70"_s << kHeadHy << u"DOWNN-3"_s;
    QTest::newRow("Pd 33") << true << 6 << u"33"_s << kHeadPd << kPdLow;
    QTest::newRow("Pd 50.5, between bands") << true << 6 << u"50.5"_s << kHeadPd << kHeadPa;
    QTest::newRow("Pd 76") << true << 6 << u"76"_s << kHeadPd << u"TOPP-4"_s;
    QTest::newRow("Pa 44") << true << 7 << u"44"_s << kHeadPa << u"DOWNN-6"_s;
    QTest::newRow("Pa 55") << true << 7 << u"55"_s << kHeadPa << kPaMiddle;
    QTest::newRow("Pt 44") << true << 8 << u"44"_s << kHeadPt << kPtLow;
    QTest::newRow("Pt 55") << true << 8 << u"55"_s << kHeadPt << u"DOWNN-7"_s;
    QTest::newRow("Sc 44") << true << 9 << u"44"_s << kHeadSc << kScLow;
    QTest::newRow("Sc 61") << true << 9 << u"61"_s << kHeadSc << u"MEDIUMM-8"_s;
    QTest::newRow("Ma 60") << true << 10 << u"60"_s << kHeadMa << u"DOWNN-9"_s;
    QTest::newRow("Ma 71") << true << 10 << u"71"_s << kHeadMa << u"TOPP-9"_s;
}

void TestInterpretationText::descriptors()
{
    QFETCH(bool, longRun);
    QFETCH(int, scale);
    QFETCH(QString, t);
    QFETCH(QString, heading);
    QFETCH(QString, next);
    ScaleTexts scores = realistic();
    scores[std::size_t(scale)] = t;
    QCOMPARE(lineAfter(linesOf(build(longRun, inputFor(scores))), heading), next);
}

void TestInterpretationText::missingDescriptorTexts()
{
    // L 53 and F 72 both read row 104, which is missing; D 78 reads an empty Mediumm.
    TaffRow emptyMiddle{u"TOPP-2"_s, QString(), u"DOWNN-2"_s};
    const QStringList lines = linesOf(BuildLongInterpretation(
        inputFor(realistic(), u"0"_s, fakeTaff({u"104"_s}, {{u"2"_s, emptyMiddle}}))));
    QCOMPARE(lineAfter(lines, kHeadL), kHeadF);
    QCOMPARE(lineAfter(lines, kHeadF), kHeadK);
    QCOMPARE(lineAfter(lines, kHeadK), u"DOWNN-103"_s);
    QCOMPARE(lineAfter(lines, kHeadD), kHeadHy);
    QCOMPARE(lineAfter(lines, kHeadHy), u"DOWNN-3"_s);
}

void TestInterpretationText::missingCodeTypeRows()
{
    const QStringList longLines = linesOf(BuildLongInterpretation(inputFor(realistic(), u"0"_s, fakeTaff({u"27"_s}))));
    QCOMPARE(longLines.last(), kTwoNotFound);
    QCOMPARE(longLines.value(longLines.size() - 2), kTwoInterpretation);

    // The short run goes on to the three-point reading.
    QStringList shortLines = linesOf(BuildShortInterpretation(inputFor(realistic(), u"0"_s, fakeTaff({u"27"_s, u"278"_s}))));
    QCOMPARE(shortLines.mid(shortLines.size() - 4),
             QStringList({kTwoInterpretation, kTwoNotFound, kThreeInterpretation, kThreeNotFound}));
    shortLines = linesOf(BuildShortInterpretation(inputFor(realistic(), u"0"_s, fakeTaff({u"278"_s}))));
    QCOMPARE(shortLines.mid(shortLines.size() - 4),
             QStringList({kTwoInterpretation, u"TOPP-27"_s, kThreeInterpretation, kThreeNotFound}));

    // A row without a reading counts as not found.
    const QStringList emptyReading = linesOf(BuildLongInterpretation(
        inputFor(realistic(), u"0"_s, fakeTaff({}, {{u"27"_s, TaffRow{QString(), u"M"_s, u"D"_s}}}))));
    QCOMPARE(emptyReading.last(), kTwoNotFound);
}

void TestInterpretationText::noTaffRows()
{
    InterpretationInput input = inputFor(realistic(), u"0"_s);
    input.taff = nullptr;
    const QStringList lines = linesOf(BuildShortInterpretation(input));
    QCOMPARE(lineAfter(lines, kHeadL), kShortLMiddle);
    QCOMPARE(lineAfter(lines, kHeadK), QString());
    QCOMPARE(lines.mid(lines.size() - 4), QStringList({kTwoInterpretation, kTwoNotFound, kThreeInterpretation, kThreeNotFound}));
}

void TestInterpretationText::diagnosticSection()
{
    // Conversion V (Hs 72, Hy 66 over D 60) stands right under the heading, before F-K.
    const ScaleTexts t = tRow({"50", "55", "60", "72", "60", "66", "50", "50", "50", "50", "50"});
    const QStringList lines = linesOf(BuildLongInterpretation(inputFor(t)));
    const qsizetype at = lines.indexOf(kDiagnosticHeading);
    QVERIFY(at > 0);
    QCOMPARE(lines.mid(at, 5), QStringList({kDiagnosticHeading, kRule1, kFkHeading, kFkBetter, QString()}));
}

void TestInterpretationText::unreadableScores()
{
    ScaleTexts t;
    const QStringList lines = linesOf(BuildLongInterpretation(inputFor(t)));
    QCOMPARE(lines.value(2), kScale + u"Hs"_s + kWithScore + kAnd + kScale + u"D"_s + kWithScore + kTwoTail + u"12/21"_s);
    QCOMPARE(lines.value(4), kNoThreeLong);
    QCOMPARE(lineAfter(lines, kFkHeading), u"F-K=0"_s);
    QCOMPARE(lineAfter(lines, u"F-K=0"_s), QString());
    QCOMPARE(lineAfter(lines, kHeadD), kDLow);
}

void TestInterpretationText::buildingTwiceGivesTheSameText()
{
    const InterpretationInput input = inputFor(realistic(), u"1"_s);
    const QString longText = BuildLongInterpretation(input);
    const QString shortText = BuildShortInterpretation(input);
    QVERIFY(longText != shortText);
    QCOMPARE(BuildLongInterpretation(input), longText);
    QCOMPARE(BuildShortInterpretation(input), shortText);
}

TAVORA_TEST(TestInterpretationText)
#include "tst_interpretation_text.moc"
