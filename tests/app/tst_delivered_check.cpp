#include "app/delivered_check.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDeliveredCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void damageIsNamed_data();
    void damageIsNamed();
};

void TestDeliveredCheck::damageIsNamed_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("table"); // empty: nothing wrong
    QTest::addColumn<QString>("named"); // in the problem text
    QTest::newRow("as delivered") << QString() << QString() << QString() << QString();
    QTest::newRow("item missing") << u"Tavora71.mdb"_s << u"DELETE FROM QUS WHERE ID = '5'"_s << u"QUS"_s << u"5"_s;
    QTest::newRow("item emptied") << u"Tavora71.mdb"_s << u"UPDATE QUS SET QU = '' WHERE ID = '71'"_s << u"QUS"_s << u"71"_s;
    QTest::newRow("no settings row") << u"Theme.skn"_s << u"DELETE FROM Theme"_s << u"Theme"_s << u"Theme"_s;
    QTest::newRow("T not a number") << u"ThemeTB.skn"_s << u"UPDATE EvabaliniDJMIR SET Pd = '5x' WHERE KHam = '3'"_s
                                    << u"EvabaliniDJMIR"_s << u"Pd"_s;
    QTest::newRow("T missing") << u"ThemeTB.skn"_s << u"UPDATE EvabaliniDJFMIR SET L = '' WHERE KHam = '2'"_s
                               << u"EvabaliniDJFMIR"_s << u"L"_s;
    QTest::newRow("T out of range") << u"ThemeTB.skn"_s << u"UPDATE EvabaliniDAMIR SET F = '900' WHERE KHam = '1'"_s
                                    << u"EvabaliniDAMIR"_s << u"900"_s;
    QTest::newRow("raw-score row missing") << u"ThemeTB.skn"_s << u"DELETE FROM EvabaliniDAFMIR WHERE KHam = '0'"_s
                                           << u"EvabaliniDAFMIR"_s << u"0"_s;
    QTest::newRow("Taff emptied") << u"ThemeTB.skn"_s << u"DELETE FROM Taff"_s << u"Taff"_s << u"Taff"_s;
    QTest::newRow("Taff field emptied") << u"ThemeTB.skn"_s << u"UPDATE Taff SET Mediumm = '' WHERE id = '4'"_s
                                        << u"Taff"_s << u"Mediumm"_s;
}

void TestDeliveredCheck::damageIsNamed()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(QString, table);
    QFETCH(QString, named);
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    if (!damage.isEmpty())
        QVERIFY(testing_support::execSql(env.path(file), {damage}));
    const QMap<QString, QString> problems = startup::CheckDeliveredData(env.folder());
    if (table.isEmpty()) {
        QVERIFY2(problems.isEmpty(), qPrintable(problems.values().join(u'\n')));
        return;
    }
    QCOMPARE(problems.keys(), QStringList{table});
    QVERIFY2(problems.value(table).contains(named), qPrintable(problems.value(table)));
}

TAVORA_TEST(TestDeliveredCheck)
#include "tst_delivered_check.moc"
