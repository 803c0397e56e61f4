#include "profile/score_rows.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

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

} // namespace

class TestScoreRows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void locateCreatesOnceAndCommitOverwrites_data();
    void locateCreatesOnceAndCommitOverwrites();
    void codeStoredTrimmed();
    void failuresReported();
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
        QVERIFY(profile::CommitScoreRow(other, scores(100)).ok);
    }
    {
        // First activation: the row is created, located, and takes the scores.
        store::View v(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("7")).ok);
        QVERIFY(v.hasCurrent() && !v.isNew());
        QCOMPARE(v.value(QStringLiteral("Code")), QStringLiteral("7"));
        QVERIFY(profile::CommitScoreRow(v, scores(1)).ok);
    }
    QCOMPARE(storedRows(file, table).size(), 2);
    {
        // Later activation: no new row; the scores are replaced, a short row blanks the rest.
        store::View v(file, table);
        QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("7")).ok);
        QCOMPARE(v.value(QStringLiteral("L")), QStringLiteral("1"));
        QVERIFY(profile::CommitScoreRow(v, scores(40).mid(0, 10)).ok);
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
        QVERIFY(profile::CommitScoreRow(v, scores(50)).ok);
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
    QVERIFY(!profile::CommitScoreRow(missing, scores(1)).ok);

    // Nothing located: the commit fails and writes nothing anywhere.
    store::View v(file, QStringLiteral("NOMREKhamIR"));
    QVERIFY(profile::LocateOrCreateScoreRow(v, QStringLiteral("5")).ok);
    QVERIFY(v.setFilter(QStringLiteral("Code"), QStringLiteral("6")).ok);
    QVERIFY(!profile::CommitScoreRow(v, scores(1)).ok);
    // An empty code is no examinee.
    QVERIFY(!profile::LocateOrCreateScoreRow(v, QStringLiteral("  ")).ok);
    QCOMPARE(storedRows(file, QStringLiteral("NOMREKhamIR")),
             QVector<QStringList>{QStringList{QStringLiteral("5")} + QStringList(11, QString())});
}

TAVORA_TEST(TestScoreRows)
#include "tst_score_rows.moc"
