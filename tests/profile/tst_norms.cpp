#include "examinees/identity.h"
#include "kit/texts.h"
#include "profile/norm_conversion.h"
#include "scoring/leading_number.h"
#include "store/delivered_table.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QStringList kTables{QStringLiteral("EvabaliniDJMIR"), QStringLiteral("EvabaliniDAMIR"),
                          QStringLiteral("EvabaliniDJFMIR"), QStringLiteral("EvabaliniDAFMIR")};
// Highest raw score of each scale, in scale order.
const QList<int> kMaxima{5, 15, 15, 13, 20, 24, 19, 14, 16, 20, 11};
constexpr int kHighestRaw = 24;

QString normsFile(const TestEnv& env)
{
    return env.path(store::kNormsFile);
}

// Column of scale i in the norm tables.
QString normColumn(int i)
{
    return i == 10 ? QStringLiteral("MA") : store::scaleColumns().at(i);
}

// A decimal with at most two decimals as a whole number of hundredths; -1 when malformed.
qint64 hundredths(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return -1;
    return m.captured(1).toLongLong() * 100 + m.captured(2).leftJustified(2, QLatin1Char('0')).toLongLong();
}

struct Parameters {
    QHash<QString, QPair<qint64, qint64>> byKey; // "table/scale" -> (mean, sd) in hundredths
    QString error;
};

Parameters readParameters()
{
    Parameters p;
    const store::DeliveredTable t = store::LoadDeliveredTable(QStringLiteral(":/data/ThemeTB/norm-parameters.tsv"));
    if (!t.error.isEmpty()) {
        p.error = t.error;
        return p;
    }
    if (t.columns != QStringList{QStringLiteral("group"), QStringLiteral("scale"), QStringLiteral("mean"), QStringLiteral("sd")}) {
        p.error = QStringLiteral("unexpected columns");
        return p;
    }
    for (const QStringList& row : t.rows) {
        const QString key = row.at(0) + QLatin1Char('/') + row.at(1);
        if (p.byKey.contains(key))
            p.error += QStringLiteral(" twice: ") + key;
        p.byKey.insert(key, {hundredths(row.at(2)), hundredths(row.at(3))});
    }
    return p;
}

// T = 50 + 10 (raw - mean) / sd, rounded half away from zero, in exact integer arithmetic.
int expectedT(int raw, qint64 mean, qint64 sd)
{
    const qint64 num = 50 * sd + 10 * (100 * raw - mean);
    const qint64 mag = (2 * (num < 0 ? -num : num) + sd) / (2 * sd);
    return int(num < 0 ? -mag : mag);
}

// All T values of one table as read back from the program's own norms file: [raw][scale].
struct TableRead {
    QVector<QVector<int>> t;
    QString error;
};

TableRead readTable(const TestEnv& env, const QString& table)
{
    TableRead out;
    store::View v(normsFile(env), table);
    if (store::Result r = v.refresh(); !r) {
        out.error = r.error;
        return out;
    }
    if (v.count() != kHighestRaw + 1) {
        out.error = QStringLiteral("%1 rows").arg(v.count());
        return out;
    }
    static const QRegularExpression whole(QStringLiteral("^-?\\d+$"));
    out.t.resize(kHighestRaw + 1);
    QSet<QString> seen;
    for (; !v.atEnd(); (void)v.moveNext()) {
        const QString kham = v.value(QStringLiteral("KHam"));
        bool ok = false;
        const int raw = kham.toInt(&ok);
        if (!ok || raw < 0 || raw > kHighestRaw || QString::number(raw) != kham || seen.contains(kham)) {
            out.error = QStringLiteral("bad or repeated KHam '%1'").arg(kham);
            return out;
        }
        seen.insert(kham);
        for (int i = 0; i < 11; ++i) {
            const QString value = v.value(normColumn(i));
            if (!whole.match(value).hasMatch()) {
                out.error = QStringLiteral("KHam %1 %2: '%3' is not a whole number").arg(kham, normColumn(i), value);
                return out;
            }
            out.t[raw] << value.toInt();
        }
    }
    return out;
}

QStringList rawRow(std::initializer_list<int> values)
{
    QStringList row;
    for (int v : values)
        row << QString::number(v);
    return row;
}

} // namespace

class TestNormTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tablesCompleteAndRising();
    void tablesDiffer();
    void tableMatchesParameters();
};

void TestNormTables::tablesCompleteAndRising()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    for (const QString& table : kTables) {
        const TableRead read = readTable(env, table);
        QVERIFY2(read.error.isEmpty(), qPrintable(table + QStringLiteral(": ") + read.error));
        for (int i = 0; i < 11; ++i)
            for (int raw = 1; raw <= kHighestRaw; ++raw)
                QVERIFY2(read.t[raw][i] >= read.t[raw - 1][i],
                         qPrintable(QStringLiteral("%1 %2 falls at raw %3").arg(table, normColumn(i)).arg(raw)));
    }
}

void TestNormTables::tablesDiffer()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    QVector<TableRead> reads;
    for (const QString& table : kTables) {
        reads << readTable(env, table);
        QVERIFY2(reads.last().error.isEmpty(), qPrintable(reads.last().error));
    }
    for (int i = 0; i < 11; ++i) {
        const int mid = kMaxima.at(i) / 2;
        QSet<int> values;
        for (const TableRead& r : reads)
            values.insert(r.t[mid][i]);
        QVERIFY2(values.size() > 1, qPrintable(QStringLiteral("%1: every table gives the same T at raw %2")
                                                   .arg(normColumn(i)).arg(mid)));
    }
}

void TestNormTables::tableMatchesParameters()
{
    const Parameters params = readParameters();
    QVERIFY2(params.error.isEmpty(), qPrintable(params.error));
    QCOMPARE(params.byKey.size(), kTables.size() * 11);
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    for (const QString& table : kTables) {
        const TableRead read = readTable(env, table);
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        for (int i = 0; i < 11; ++i) {
            const QString key = table + QLatin1Char('/') + store::scaleColumns().at(i);
            QVERIFY2(params.byKey.contains(key), qPrintable(QStringLiteral("no parameters for ") + key));
            const auto [mean, sd] = params.byKey.value(key);
            QVERIFY2(mean >= 0 && mean <= 100 * kMaxima.at(i), qPrintable(key + QStringLiteral(": mean")));
            QVERIFY2(sd > 0, qPrintable(key + QStringLiteral(": sd")));
            for (int raw = 0; raw <= kHighestRaw; ++raw)
                QVERIFY2(read.t[raw][i] == expectedT(raw, mean, sd),
                         qPrintable(QStringLiteral("%1 raw %2: %3, expected %4 (rerun derive_norms.py)")
                                        .arg(key).arg(raw).arg(read.t[raw][i]).arg(expectedT(raw, mean, sd))));
        }
    }
}

class TestNormConversion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void selectNormTable_data();
    void selectNormTable();
    void eachChoiceReadsItsOwnTable();
    void missingTableSelectsNothing();
    void convertsWithChosenTable();
    void sameRawScoreReadsOwnField();
    void rawTextMatchedExactly();
    void lookupSeesExactTexts();

private:
    // Expected T of a table, scale and raw score from the parameters.
    QString expected(const QString& table, int scale, int raw) const;
    Parameters params_;
};

void TestNormConversion::initTestCase()
{
    params_ = readParameters();
    QVERIFY2(params_.error.isEmpty(), qPrintable(params_.error));
}

QString TestNormConversion::expected(const QString& table, int scale, int raw) const
{
    const auto [mean, sd] = params_.byKey.value(table + QLatin1Char('/') + store::scaleColumns().at(scale));
    return QString::number(expectedT(raw, mean, sd));
}

void TestNormConversion::selectNormTable_data()
{
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("education");
    QTest::addColumn<QString>("table");
    const QString persianYeh = QString(examinees::kUniversity).replace(QChar(0x064A), QChar(0x06CC));
    const QString persianKaf = QString(examinees::kDiplomaOrLess).replace(QChar(0x0643), QChar(0x06A9));
    QVERIFY(persianYeh != examinees::kUniversity && persianKaf != examinees::kDiplomaOrLess);
    QTest::newRow("male university") << examinees::kMale << examinees::kUniversity << QStringLiteral("EvabaliniDJMIR");
    QTest::newRow("male diploma") << examinees::kMale << examinees::kDiplomaOrLess << QStringLiteral("EvabaliniDAMIR");
    QTest::newRow("female university") << examinees::kFemale << examinees::kUniversity << QStringLiteral("EvabaliniDJFMIR");
    QTest::newRow("female diploma") << examinees::kFemale << examinees::kDiplomaOrLess << QStringLiteral("EvabaliniDAFMIR");
    QTest::newRow("empty sex") << QString() << examinees::kUniversity << QString();
    QTest::newRow("unknown sex") << QStringLiteral("x") << examinees::kDiplomaOrLess << QString();
    QTest::newRow("sex with trailing blank") << examinees::kMale + QLatin1Char(' ') << examinees::kUniversity << QString();
    QTest::newRow("empty education") << examinees::kFemale << QString() << QString();
    // Typed elsewhere with the Persian letters: the same education.
    QTest::newRow("education with Persian yeh") << examinees::kMale << persianYeh << QStringLiteral("EvabaliniDJMIR");
    QTest::newRow("education with Persian kaf") << examinees::kFemale << persianKaf << QStringLiteral("EvabaliniDAFMIR");
}

void TestNormConversion::selectNormTable()
{
    QFETCH(QString, sex);
    QFETCH(QString, education);
    QFETCH(QString, table);
    QCOMPARE(profile::SelectNormTable(sex, education), table);
}

void TestNormConversion::eachChoiceReadsItsOwnTable()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    profile::NormTableCache tables(normsFile(env), {});
    const QStringList raw = rawRow({2, 4, 9, 5, 10, 12, 9, 7, 8, 10, 5});
    const QString femaleUniversity = profile::SelectNormTable(examinees::kFemale, examinees::kUniversity);
    const profile::NormChoice female = tables.choose(femaleUniversity);
    QVERIFY(female.table);
    QCOMPARE(female.table->name, femaleUniversity);
    const QStringList before = profile::ConvertToTScores(raw, *female.table);
    // A misspelt education chooses no table: never the one chosen before.
    QCOMPARE(profile::SelectNormTable(examinees::kMale, QStringLiteral("دانشگاه")), QString());

    // A corrected sex takes effect on the next choice.
    const profile::NormChoice male = tables.choose(profile::SelectNormTable(examinees::kMale, examinees::kUniversity));
    QVERIFY(male.table);
    QCOMPARE(male.table->name, QStringLiteral("EvabaliniDJMIR"));
    QVERIFY(profile::ConvertToTScores(raw, *male.table) != before);

    // A table is read once and kept; cleared, it is read afresh and a change in the file is seen.
    QVERIFY(testing_support::execSql(normsFile(env), {QStringLiteral("DELETE FROM EvabaliniDJFMIR WHERE KHam = '2'")}));
    QCOMPARE(profile::ConvertToTScores(raw, *tables.choose(femaleUniversity).table), before);
    tables.clear();
    QVERIFY(profile::ConvertToTScores(raw, *tables.choose(femaleUniversity).table).first().isEmpty());
    QVERIFY(tables.readError().isEmpty());
}

void TestNormConversion::missingTableSelectsNothing()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    profile::NormTableCache tables(normsFile(env), [](const QString& table) {
        return table == QStringLiteral("EvabaliniDAMIR") ? QStringLiteral("damaged") : QString();
    });
    // Damaged at start-up: no table, the damage said.
    const profile::NormChoice damaged = tables.choose(QStringLiteral("EvabaliniDAMIR"));
    QVERIFY(!damaged.table);
    QCOMPARE(damaged.problem, QStringLiteral("damaged"));
    QVERIFY(tables.readError().isEmpty());
    // Not there, or not a norm table (no scale fields): no table, and the read error kept.
    for (const QString& name : {QStringLiteral("NoSuchTable"), QStringLiteral("Sortt2")}) {
        const profile::NormChoice none = tables.choose(name);
        QVERIFY(!none.table);
        QVERIFY(!none.problem.isEmpty());
    }
    QVERIFY(tables.readError().startsWith(QStringLiteral("NoSuchTable: ")));
}

void TestNormConversion::convertsWithChosenTable()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QList<int> rawScores{3, 6, 11, 4, 12, 13, 10, 6, 9, 8, 7};
    QStringList raw;
    for (int r : rawScores)
        raw << QString::number(r);

    profile::NormTableCache tables(normsFile(env), {});
    QHash<QString, QStringList> byTable;
    for (const auto& [sex, education] : {qMakePair(examinees::kFemale, examinees::kUniversity),
                                         qMakePair(examinees::kMale, examinees::kDiplomaOrLess)}) {
        const QString table = profile::SelectNormTable(sex, education);
        const profile::NormTable* norms = tables.choose(table).table;
        QVERIFY(norms);
        const QStringList t = profile::ConvertToTScores(raw, *norms);
        QStringList want;
        for (int i = 0; i < 11; ++i)
            want << expected(table, i, rawScores.at(i));
        QCOMPARE(t, want);
        // Converting again for the same examinee and table gives the same row.
        QCOMPARE(profile::ConvertToTScores(raw, *norms), t);
        byTable.insert(table, t);
    }
    QVERIFY(byTable.value(QStringLiteral("EvabaliniDJFMIR")) != byTable.value(QStringLiteral("EvabaliniDAMIR")));

    // Raw 0 is looked up under "0" and gives every scale its own T.
    const profile::NormTable* norms = tables.choose(QStringLiteral("EvabaliniDAFMIR")).table;
    QVERIFY(norms);
    const QStringList zeros = profile::ConvertToTScores(QStringList(11, QStringLiteral("0")), *norms);
    for (int i = 0; i < 11; ++i)
        QCOMPARE(zeros.at(i), expected(QStringLiteral("EvabaliniDAFMIR"), i, 0));
}

void TestNormConversion::sameRawScoreReadsOwnField()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QString table = QStringLiteral("EvabaliniDJMIR");
    profile::NormTableCache tables(normsFile(env), {});
    const profile::NormTable* norms = tables.choose(table).table;
    QVERIFY(norms);
    // L and F at raw 3, Sc and Ma at raw 9 (Ma is read from the field spelt "MA").
    const QStringList t = profile::ConvertToTScores(rawRow({3, 3, 0, 0, 0, 0, 0, 0, 0, 9, 9}), *norms);
    QVERIFY(expected(table, 0, 3) != expected(table, 1, 3));
    QVERIFY(expected(table, 9, 9) != expected(table, 10, 9));
    QCOMPARE(t.at(0), expected(table, 0, 3));
    QCOMPARE(t.at(1), expected(table, 1, 3));
    QCOMPARE(t.at(9), expected(table, 9, 9));
    QCOMPARE(t.at(10), expected(table, 10, 9));
}

void TestNormConversion::rawTextMatchedExactly()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QString table = QStringLiteral("EvabaliniDAMIR");
    profile::NormTableCache tables(normsFile(env), {});
    const profile::NormTable* norms = tables.choose(table).table;
    QVERIFY(norms);
    const QStringList raw{QStringLiteral(" 7"), QStringLiteral("7.0"), QStringLiteral("07"), QStringLiteral("7 "),
                          QString(), QStringLiteral("x"), QStringLiteral("25"), QStringLiteral("-1"),
                          QStringLiteral("7"), QStringLiteral("7"), QStringLiteral("7")};
    const QStringList t = profile::ConvertToTScores(raw, *norms);
    QCOMPARE(t.size(), 11);
    for (int i = 0; i < 8; ++i)
        QVERIFY2(t.at(i).isEmpty(), qPrintable(QStringLiteral("'%1' found '%2'").arg(raw.at(i), t.at(i))));
    for (int i = 8; i < 11; ++i)
        QCOMPARE(t.at(i), expected(table, i, 7));
}

void TestNormConversion::lookupSeesExactTexts()
{
    // A stand-in table: one row, and a record of every text asked for.
    QStringList asked;
    const QStringList row12{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                            QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("g"), QStringLiteral("h"),
                            QStringLiteral("i"), QStringLiteral("j"), QStringLiteral("k")};
    const profile::NormLookup lookup = [&](const QString& text) -> std::optional<QStringList> {
        asked << text;
        if (text == QStringLiteral("12"))
            return row12;
        return std::nullopt;
    };
    const QStringList raw{QStringLiteral("12"), QStringLiteral(" 12"), QStringLiteral("12")};
    const QStringList t = profile::ConvertToTScores(raw, lookup);
    // Positions past the raw row are empty texts, asked as such.
    QCOMPARE(asked.mid(0, 3), raw);
    QCOMPARE(asked.size(), 11);
    QCOMPARE(t, (QStringList{QStringLiteral("a"), QString(), QStringLiteral("c")} + QStringList(8, QString())));
}

class TestScoreText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scoreNumber_data();
    void scoreNumber();
};

void TestScoreText::scoreNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("whole") << QStringLiteral("65") << 65.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("not a number") << QStringLiteral("x5") << 0.0;
    QTest::newRow("leading blanks") << QStringLiteral("  72") << 72.0;
    QTest::newRow("trailing text") << QStringLiteral("61.5x") << 61.5;
    QTest::newRow("negative") << QStringLiteral("-3") << -3.0;
    QTest::newRow("point alone") << QStringLiteral(".") << 0.0;
    QTest::newRow("trailing point") << QStringLiteral("80.") << 80.0;
    QTest::newRow("two points") << QStringLiteral("1.2.3") << 1.2;
}

void TestScoreText::scoreNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(LeadingNumberOrZero(text), number);
}

TAVORA_TEST(TestNormTables)
TAVORA_TEST(TestNormConversion)
TAVORA_TEST(TestScoreText)
#include "tst_norms.moc"
