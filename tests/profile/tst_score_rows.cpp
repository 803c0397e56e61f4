#include "profile/score_rows.h"
#include "store/connection.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList scores(int first)
{
    QStringList s;
    for (int i = 0; i < 11; ++i)
        s << QString::number(first + i);
    return s;
}

// Every stored row of a table as (code, eleven scores), read through a fresh view.
QVector<QStringList> storedRows(const QString& file, const QString& table)
{
    QVector<QStringList> rows;
    store::View v(file, table);
    if (!v.refresh())
        return rows;
    for (; !v.atEnd(); (void)v.moveNext()) {
        QStringList row{v.value(QStringLiteral("Code"))};
        for (const QString& scale : store::scaleColumns())
            row << v.value(scale);
        rows << row;
    }
    return rows;
}

// Sortt2 as stored, one "id:Numb:etebari" text per row in the table's order.
QStringList storedRanking(const QString& file)
{
    QStringList rows;
    store::View v(file, QStringLiteral("Sortt2"));
    if (!v.refresh())
        return {QStringLiteral("unreadable")};
    for (store::Result r; r && v.hasCurrent(); r = v.moveNext())
        rows << QStringList{v.value(QStringLiteral("id")), v.value(QStringLiteral("Numb")),
                            v.value(QStringLiteral("etebari"))}.join(u':');
    return rows;
}

bool exec(const QString& file, const QString& sql)
{
    store::Connection c(file);
    return c.open().ok && QSqlQuery(c.database()).exec(sql);
}

} // namespace

class TestScoreRows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void locateCreatesOnceAndCommitOverwrites_data();
    void locateCreatesOnceAndCommitOverwrites();
    void codeStoredTrimmed();
    void failuresReported();
    void rankingStoredWholeOrNotAtAll();
};

void TestScoreRows::locateCreatesOnceAndCommitOverwrites_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("raw scores") << QStringLiteral("NOMREKhamIR");
    QTest::newRow("T scores") << QStringLiteral("NOMREbikIR");
}

void TestScoreRows::locateCreatesOnceAndCommitOverwrites()
{
    QFETCH(QString, table);
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QString file = env.path(store::kNormsFile);
    QVERIFY(storedRows(file, table).isEmpty());

    // Another examinee's row must stay as it is.
    {
        store::View other(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(other, QStringLiteral("8")).ok);
        QVERIFY(profile::CommitScoreRow(other, QStringLiteral("8"), scores(100)).ok);
    }
    {
        // First activation: the row is created, located, and takes the scores.
        store::View v(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("7")).ok);
        QVERIFY(v.hasCurrent() && !v.isNew());
        QCOMPARE(v.value(QStringLiteral("Code")), QStringLiteral("7"));
        QVERIFY(profile::CommitScoreRow(v, QStringLiteral("7"), scores(1)).ok);
    }
    QCOMPARE(storedRows(file, table).size(), 2);
    {
        // Later activation: no new row; the scores are replaced, a short row blanks the rest.
        store::View v(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("7")).ok);
        QCOMPARE(v.value(QStringLiteral("L")), QStringLiteral("1"));
        QVERIFY(profile::CommitScoreRow(v, QStringLiteral("7"), scores(40).mid(0, 10)).ok);
    }
    const QVector<QStringList> rows = storedRows(file, table);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0), QStringList{QStringLiteral("8")} + scores(100));
    QCOMPARE(rows.at(1), QStringList{QStringLiteral("7")} + scores(40).mid(0, 10) + QStringList{QString()});
}

void TestScoreRows::codeStoredTrimmed()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QString file = env.path(store::kNormsFile);
    const QString table = QStringLiteral("NOMREbikIR");
    {
        store::View v(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("12 ")).ok);
        QVERIFY(profile::CommitScoreRow(v, QStringLiteral("12 "), scores(50)).ok);
    }
    for (const QString& code : {QStringLiteral("12 "), QStringLiteral(" 12"), QStringLiteral("12")}) {
        store::View v(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(v, code).ok);
        QCOMPARE(v.value(QStringLiteral("Pd")), QStringLiteral("56"));
    }
    const QVector<QStringList> rows = storedRows(file, table);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).at(0), QStringLiteral("12"));
}

void TestScoreRows::failuresReported()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QString file = env.path(store::kNormsFile);

    store::View missing(env.path(QStringLiteral("missing.skn")), QStringLiteral("NOMREKhamIR"));
    QVERIFY(!profile::LocateOrCreateScoreRow(missing, QStringLiteral("7")).ok);
    QVERIFY(!profile::CommitScoreRow(missing, QStringLiteral("7"), scores(1)).ok);

    // Nothing located: the commit fails and writes nothing anywhere.
    store::View v(file, QStringLiteral("NOMREKhamIR"));
    QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("5")).ok);
    QVERIFY(v.setFilter(QStringLiteral("Code"), QStringLiteral("6")).ok);
    QVERIFY(!profile::CommitScoreRow(v, QStringLiteral("6"), scores(1)).ok);
    // An empty code is no examinee; the row still current (5's) is not his to write into.
    QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("5")).ok);
    QVERIFY(!profile::LocateOrCreateScoreRow(v, QStringLiteral("  ")).ok);
    QVERIFY(!profile::CommitScoreRow(v, QStringLiteral("  "), scores(1)).ok);
    QVERIFY(!profile::CommitScoreRow(v, QStringLiteral("9"), scores(1)).ok);
    QCOMPARE(storedRows(file, QStringLiteral("NOMREKhamIR")),
             QVector<QStringList>{QStringList{QStringLiteral("5")} + QStringList(11, QString())});
}

void TestScoreRows::rankingStoredWholeOrNotAtAll()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    const QString file = env.path(store::kNormsFile);
    auto ranking = [](int first) {
        profile::ScaleTexts t;
        for (int i = 0; i < store::kScaleCount; ++i)
            t[std::size_t(i)] = QString::number(first + i);
        return profile::RankScales(t).sortt2;
    };
    const QStringList first{u"1:43:40"_s, u"2:44:41"_s, u"3:45:42"_s, u"4:46:"_s,
                            u"6:47:"_s,   u"7:48:"_s,   u"8:49:"_s,   u"9:50:"_s};

    store::View sortt2(file, QStringLiteral("Sortt2"));
    QVERIFY(profile::StoreRanking(sortt2, ranking(40)).ok);
    QCOMPARE(storedRanking(file), first);

    // The seventh row refuses the next ranking: none of its rows may stay, the view shows
    // what is stored, and it can store again once the refusal is gone.
    QVERIFY(exec(file, QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Sortt2 WHEN NEW.id = '8' "
                                      "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const store::Result refused = profile::StoreRanking(sortt2, ranking(60));
    QVERIFY(!refused.ok);
    QVERIFY2(refused.error.contains(QStringLiteral("refused")), qPrintable(refused.error));
    QCOMPARE(storedRanking(file), first);
    QVERIFY(sortt2.setFilter(QStringLiteral("id"), QStringLiteral("1")).ok);
    QCOMPARE(sortt2.value(QStringLiteral("Numb")), QStringLiteral("43"));

    QVERIFY(exec(file, QStringLiteral("DROP TRIGGER refuse")));
    QVERIFY(exec(file, QStringLiteral("DELETE FROM Sortt2 WHERE id = '9'")));
    QVERIFY(profile::StoreRanking(sortt2, ranking(60)).ok);
    QCOMPARE(storedRanking(file), (QStringList{u"1:63:60"_s, u"2:64:61"_s, u"3:65:62"_s, u"4:66:"_s,
                                               u"6:67:"_s, u"7:68:"_s, u"8:69:"_s, u"9:70:"_s}));

    // The row put back carries its scale's name.
    QVERIFY(sortt2.refresh().ok);
    QVERIFY(sortt2.setFilter(QStringLiteral("id"), QStringLiteral("9")).ok);
    QCOMPARE(sortt2.value(QStringLiteral("Name")), QStringLiteral("Ma"));
}

TAVORA_TEST(TestScoreRows)
#include "tst_score_rows.moc"
