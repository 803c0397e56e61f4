// The data delivered with the program arrives complete in a freshly prepared program folder.
#include "support/test_env.h"
#include "support/test_registry.h"
#include "store/data_files.h"
#include "store/view.h"

#include <QSet>
#include <QTest>

namespace {

QString filePath(const TestEnv& env, const char* name)
{
    return store::DataFilePath(env.folder(), QString::fromLatin1(name));
}

} // namespace

class TestDeliveredData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void itemTexts();
    void rankingTable();
    void settingsRow();
};

void TestDeliveredData::itemTexts()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    store::View items(filePath(env, "Tavora71.mdb"), QStringLiteral("QUS"));
    QVERIFY(items.refresh());
    QCOMPARE(items.count(), 71);

    QSet<int> ids;
    QSet<QString> texts;
    for (; !items.atEnd(); (void)items.moveNext()) {
        const QString id = items.value(QStringLiteral("ID"));
        bool isNumber = false;
        const int n = id.toInt(&isNumber);
        QVERIFY2(isNumber && QString::number(n) == id, qPrintable(id));
        QVERIFY2(n >= 1 && n <= 71, qPrintable(id));
        QVERIFY2(!ids.contains(n), qPrintable(QStringLiteral("item %1 twice").arg(n)));
        ids.insert(n);

        const QString text = items.value(QStringLiteral("QU"));
        QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QStringLiteral("item %1 has no text").arg(n)));
        QVERIFY2(!texts.contains(text), qPrintable(QStringLiteral("item %1 repeats another item").arg(n)));
        texts.insert(text);
        // The item texts are written with the Persian forms of yeh and kaf throughout.
        QVERIFY2(!text.contains(QChar(0x064A)) && !text.contains(QChar(0x0643)),
                 qPrintable(QStringLiteral("item %1 mixes in Arabic letter forms").arg(n)));
        for (const char* column : {"QU2", "QU3", "QU4", "QU5"})
            QVERIFY2(items.value(QString::fromLatin1(column)).isEmpty(),
                     qPrintable(QStringLiteral("item %1: %2 is not empty").arg(n).arg(QString::fromLatin1(column))));
    }
    QCOMPARE(ids.size(), 71);
}

void TestDeliveredData::rankingTable()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    store::View ranking(filePath(env, "ThemeTB.skn"), QStringLiteral("Sortt2"));
    QVERIFY(ranking.refresh());
    QVERIFY(ranking.sortBy(QStringLiteral("id"), store::SortOrder::Numeric));
    QCOMPARE(ranking.count(), 8);

    const QStringList ids{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                          QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")};
    const QStringList names{QStringLiteral("Hs"), QStringLiteral("D"), QStringLiteral("Hy"), QStringLiteral("Pd"),
                            QStringLiteral("Pa"), QStringLiteral("Pt"), QStringLiteral("Sc"), QStringLiteral("Ma")};
    const QStringList validity{QStringLiteral("L"), QStringLiteral("F"), QStringLiteral("K")};
    for (int row = 0; row < 8; ++row, ranking.moveNext()) {
        QVERIFY(!ranking.atEnd());
        QCOMPARE(ranking.value(QStringLiteral("id")), ids.at(row));
        QCOMPARE(ranking.value(QStringLiteral("Name")), names.at(row));
        QCOMPARE(ranking.value(QStringLiteral("Name2")), row < 3 ? validity.at(row) : QString());
    }
    QVERIFY(ranking.atEnd());
}

void TestDeliveredData::settingsRow()
{
    TestEnv env;
    QVERIFY2(env.isValid(), qPrintable(env.seedError()));
    store::View settings(filePath(env, "Theme.skn"), QStringLiteral("Theme"));
    QVERIFY(settings.refresh());
    QCOMPARE(settings.count(), 1);
    QCOMPARE(settings.value(QStringLiteral("T11")), QStringLiteral("کد آزمودني"));
    QCOMPARE(settings.value(QStringLiteral("Check1")), QStringLiteral("0"));
    for (const char* column : {"Name", "Adress", "T1", "T2", "T3", "T4", "T5", "T6"})
        QVERIFY2(settings.value(QString::fromLatin1(column)).isEmpty(), column);
}

TAVORA_TEST(TestDeliveredData)
#include "tst_delivered_data.moc"
