#include "support/test_registry.h"
#include "examinees/code_proposal.h"
#include "examinees/registration_checks.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCodeProposal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextCode_data();
    void nextCode();
    void proposal_data();
    void proposal();
    void longRunTakesFewQuestions();
};

void TestCodeProposal::nextCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("next");
    QTest::newRow("plain") << u"5"_s << u"6"_s;
    QTest::newRow("carry") << u"19"_s << u"20"_s;
    QTest::newRow("all nines") << u"999"_s << u"1000"_s;
    QTest::newRow("leading zeros") << u"007"_s << u"8"_s;
    QTest::newRow("zero") << u"0"_s << u"1"_s;
    QTest::newRow("empty counts as 0") << u""_s << u"1"_s;
    QTest::newRow("no leading digits") << u"abc"_s << u"1"_s;
    QTest::newRow("digits after a letter are not read") << u"a12"_s << u"1"_s;
    QTest::newRow("leading digits only") << u"12ab3"_s << u"13"_s;
    QTest::newRow("leading blanks skipped") << u"  41"_s << u"42"_s;
    QTest::newRow("trailing blank") << u"41 "_s << u"42"_s;
    QTest::newRow("sign is not a digit") << u"-5"_s << u"1"_s;
    QTest::newRow("beyond 64 bits") << u"99999999999999999999"_s << u"100000000000000000000"_s;
    QTest::newRow("persian digits are not read") << QStringLiteral("۱۲") << u"1"_s;
}

void TestCodeProposal::nextCode()
{
    QFETCH(QString, code);
    QFETCH(QString, next);
    QCOMPARE(NextCode(code), next);
}

void TestCodeProposal::proposal_data()
{
    // Codes in registration order; the last one is where the proposal starts.
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("1 2 3 5") << QStringList{u"1"_s, u"2"_s, u"3"_s, u"5"_s} << u"6"_s;
    QTest::newRow("1 2 5 3") << QStringList{u"1"_s, u"2"_s, u"5"_s, u"3"_s} << u"4"_s;
    QTest::newRow("8 7") << QStringList{u"8"_s, u"7"_s} << u"9"_s;
    QTest::newRow("run of taken codes") << QStringList{u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"3"_s} << u"8"_s;
    QTest::newRow("last code not a number") << QStringList{u"1"_s, u"x"_s} << u"2"_s;
    QTest::newRow("taken only as other text") << QStringList{u"05"_s, u"4"_s} << u"5"_s;
    QTest::newRow("across a length") << QStringList{u"10"_s, u"8"_s, u"9"_s, u"11"_s, u"7"_s} << u"12"_s;
    QTest::newRow("beyond 18 digits") << QStringList{u"1000000000000000000000"_s, u"999999999999999999999"_s}
                                      << u"1000000000000000000001"_s;
}

namespace {

// Counts as the store does: codes of lo's length, all digits, between lo and hi as text.
struct CountingSet {
    QSet<QString> taken;
    int questions = 0;
    std::optional<qint64> operator()(const QString& lo, const QString& hi)
    {
        ++questions;
        qint64 n = 0;
        for (const QString& c : taken) {
            const bool digits = !c.isEmpty() && std::all_of(c.begin(), c.end(), [](QChar ch) { return ch.isDigit(); });
            n += digits && c.size() == lo.size() && c >= lo && c <= hi;
        }
        return n;
    }
};

} // namespace

void TestCodeProposal::proposal()
{
    QFETCH(QStringList, registered);
    QFETCH(QString, proposed);
    CountingSet set{QSet<QString>(registered.begin(), registered.end())};
    QCOMPARE(ProposeCode(registered.last(), std::ref(set)), std::optional(proposed));
    // A count that cannot be read proposes nothing.
    QCOMPARE(ProposeCode(registered.last(), [](const QString&, const QString&) { return std::optional<qint64>(); }),
             std::nullopt);
}

void TestCodeProposal::longRunTakesFewQuestions()
{
    // Codes 1..5000 taken (across four lengths) and 5002: after "1" the first free one is 5001.
    CountingSet set;
    for (int c = 1; c <= 5000; ++c)
        set.taken.insert(QString::number(c));
    set.taken.insert(u"5002"_s);
    QCOMPARE(ProposeCode(u"1"_s, std::ref(set)), std::optional(u"5001"_s));
    QVERIFY2(set.questions < 60, qPrintable(QString::number(set.questions)));
}

class TestRegistrationChecks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void allEmptyReportsTheCodeFirst();
    void order();
    void messages();
    void timeText_data();
    void timeText();
};

namespace {

RegistrationEntries complete()
{
    return {QStringLiteral("7"), QStringLiteral("علي"), QStringLiteral("رضايي"), QStringLiteral("مرد"),
            QStringLiteral("30"), QStringLiteral("مجرد"), QStringLiteral("A"), QStringLiteral("دانشگاهي")};
}

QString* entryText(RegistrationEntries& e, RegistrationEntry which)
{
    switch (which) {
    case RegistrationEntry::Code: return &e.code;
    case RegistrationEntry::GivenName: return &e.givenName;
    case RegistrationEntry::FamilyName: return &e.familyName;
    case RegistrationEntry::Sex: return &e.sex;
    case RegistrationEntry::Age: return &e.age;
    case RegistrationEntry::MaritalStatus: return &e.maritalStatus;
    case RegistrationEntry::Group: return &e.group;
    case RegistrationEntry::Education: return &e.education;
    }
    return nullptr;
}

const RegistrationEntry kOrder[] = {
    RegistrationEntry::Code, RegistrationEntry::GivenName, RegistrationEntry::FamilyName,
    RegistrationEntry::Sex, RegistrationEntry::Age, RegistrationEntry::MaritalStatus,
    RegistrationEntry::Group, RegistrationEntry::Education,
};

} // namespace

void TestRegistrationChecks::allEmptyReportsTheCodeFirst()
{
    QCOMPARE(FirstMissingEntry(RegistrationEntries{}), std::optional(RegistrationEntry::Code));
    QCOMPARE(FirstMissingEntry(complete()), std::nullopt);
}

void TestRegistrationChecks::order()
{
    // Each entry alone missing is reported; with it and every later one missing, still it.
    for (int i = 0; i < 8; ++i) {
        RegistrationEntries alone = complete();
        entryText(alone, kOrder[i])->clear();
        QCOMPARE(FirstMissingEntry(alone), std::optional(kOrder[i]));
        RegistrationEntries tail = complete();
        for (int j = i; j < 8; ++j)
            entryText(tail, kOrder[j])->clear();
        QCOMPARE(FirstMissingEntry(tail), std::optional(kOrder[i]));
    }
    // A blank is an entry: only the empty text is missing.
    RegistrationEntries blank = complete();
    blank.givenName = QStringLiteral(" ");
    QCOMPARE(FirstMissingEntry(blank), std::nullopt);
}

void TestRegistrationChecks::messages()
{
    const QString label = QStringLiteral("شماره پرونده");
    QCOMPARE(MissingEntryMessage(RegistrationEntry::Code, label),
             QStringLiteral("شما بايد ") + label + QStringLiteral("  مورد نظر را وارد كنيد "));
    QSet<QString> distinct;
    for (RegistrationEntry e : kOrder) {
        const QString m = MissingEntryMessage(e, label);
        QVERIFY(!m.isEmpty());
        distinct.insert(m);
    }
    QCOMPARE(distinct.size(), 8);
    QCOMPARE(MissingEntryMessage(RegistrationEntry::Education, label), QStringLiteral("ميزان تحصيلات آزمودني را وارد کنيد"));
}

void TestRegistrationChecks::timeText_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("24 hours with zone") << u"HH:mm:ss t"_s << QTime(9, 5, 7) << u"09:05:07"_s;
    QTest::newRow("12 hours with zone") << u"h:mm:ss AP t"_s << QTime(21, 30, 15) << u"9:30:15 PM"_s;
    QTest::newRow("zone first") << u"tttt HH:mm:ss"_s << QTime(10, 0, 1) << u"10:00:01"_s;
    QTest::newRow("quoted t stays") << u"HH'h'mm't'ss"_s << QTime(1, 2, 3) << u"01h02t03"_s;
    QTest::newRow("empty format") << u""_s << QTime(23, 59, 59) << u"23:59:59"_s;
    QTest::newRow("persian: zone in brackets") << u"H:mm:ss (t)"_s << QTime(9, 5, 7) << u"9:05:07"_s;
}

void TestRegistrationChecks::timeText()
{
    QFETCH(QString, format);
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(RegistrationTimeText(time, format), text);
}

TAVORA_TEST(TestCodeProposal)
TAVORA_TEST(TestRegistrationChecks)
#include "tst_code_proposal.moc"
