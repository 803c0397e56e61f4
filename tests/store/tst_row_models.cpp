// The grid and list models: rows come a page at a time, a filter or the whole table.
#include "store/data_files.h"
#include "store/row_models.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// 600 examinees: code n, family name "N<n % 7>" (and "" for every tenth), group A or B.
void plant(const TestEnv& env)
{
    QStringList sql{u"BEGIN"_s};
    for (int n = 1; n <= 600; ++n)
        sql << u"INSERT INTO \"IDE\" (\"Code\", \"LName\", \"Group\") VALUES ('%1', '%2', '%3')"_s.arg(n)
                   .arg(n % 10 ? u"N%1"_s.arg(n % 7) : QString(), n % 2 ? u"A"_s : u"B"_s);
    sql << u"COMMIT"_s;
    QVERIFY(testing_support::execSql(env.path(store::kExamineeFile), sql));
}

QStringList column(const QAbstractItemModel& m, int c)
{
    QStringList out;
    for (int row = 0; row < m.rowCount(); ++row)
        out << m.index(row, c).data().toString();
    return out;
}

} // namespace

class TestRowModels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gridFetchesPageByPage()
    {
        TestEnv env;
        plant(env);
        auto file = std::make_shared<store::Connection>(env.path(store::kExamineeFile));
        store::RowListModel grid(file, u"IDE"_s, {u"Code"_s, u"Group"_s});
        QVERIFY(grid.showAll());
        QCOMPARE(grid.rowCount(), 256);
        QVERIFY(grid.canFetchMore({}));
        while (grid.canFetchMore({}))
            grid.fetchMore({});
        QCOMPARE(grid.rowCount(), 600);
        QCOMPARE(grid.index(599, 0).data().toString(), u"600"_s);
        QCOMPARE(grid.index(599, 1).data().toString(), u"B"_s);

        // The filter's whole answer is handed out, not only the rows fetched so far.
        QVERIFY(grid.setFilter({u"Group"_s, u"A"_s}));
        QCOMPARE(grid.rowCount(), 256);
        QStringList codes;
        QVERIFY(grid.valuesInView(u"Code"_s, codes));
        QCOMPARE(codes.size(), 300);
        QCOMPARE(codes.first(), u"1"_s);
        QCOMPARE(codes.last(), u"599"_s);

        QVERIFY(grid.setFilter({u"LName"_s, QString()})); // an empty text finds the empty names
        QCOMPARE(grid.rowCount(), 60);
    }

    void listOffersEachFilledValueOnce()
    {
        TestEnv env;
        plant(env);
        auto file = std::make_shared<store::Connection>(env.path(store::kExamineeFile));
        store::DistinctValuesModel names(file, u"IDE"_s, u"LName"_s);
        QVERIFY(names.refresh());
        QCOMPARE(column(names, 0), (QStringList{u"N0"_s, u"N1"_s, u"N2"_s, u"N3"_s, u"N4"_s, u"N5"_s, u"N6"_s}));
        QVERIFY(!names.canFetchMore({}));
    }

    void aFailedReadIsSaidAndEndsFetching()
    {
        TestEnv env;
        auto file = std::make_shared<store::Connection>(env.path(store::kExamineeFile));
        store::RowListModel grid(file, u"IDE"_s, {u"Code"_s, u"NoSuchColumn"_s});
        QVERIFY(!grid.showAll());
        QVERIFY(!grid.lastError().isEmpty());
        QVERIFY(!grid.canFetchMore({}));
    }

    // Keys past one batch of bound values, one asked twice, one nobody has.
    void rowsWithKeysAreReadInBatches()
    {
        TestEnv env;
        plant(env);
        QVERIFY(testing_support::execSql(env.path(store::kExamineeFile),
                                         {u"INSERT INTO \"Answer\" (\"Code\", \"1\") VALUES ('599', 'a'), ('599', 'b')"_s}));
        store::Connection file(env.path(store::kExamineeFile));
        QStringList keys{u"599"_s, u"nobody"_s, u"599"_s};
        for (int n = 1; n <= 598; ++n)
            keys << QString::number(n);
        QHash<QString, QString> groups;
        int rows = 0;
        QVERIFY(store::ReadRowsWithKeys(file, u"IDE"_s, {u"Code"_s, u"Group"_s}, u"Code"_s, keys,
                                        [&](const QStringList& row) {
                                            ++rows;
                                            groups.insert(row.at(0), row.at(1));
                                        }));
        QCOMPARE(rows, 599);
        QCOMPARE(groups.value(u"1"_s), u"A"_s);
        QCOMPARE(groups.value(u"598"_s), u"B"_s);
        QVERIFY(!groups.contains(u"600"_s));

        QStringList answers; // every row of a key, in stored order
        QVERIFY(store::ReadRowsWithKeys(file, u"Answer"_s, {u"1"_s}, u"Code"_s, {u"599"_s},
                                        [&](const QStringList& row) { answers << row.at(0); }));
        QCOMPARE(answers, (QStringList{u"a"_s, u"b"_s}));
        QVERIFY(!store::ReadRowsWithKeys(file, u"IDE"_s, {u"NoSuchColumn"_s}, u"Code"_s, keys, [](const QStringList&) {}));
    }

    void existingFileGetsTheIndexesItLacks()
    {
        TestEnv env;
        const QString file = env.path(store::kExamineeFile);
        QVERIFY(testing_support::execSql(file, {u"DROP INDEX \"ix_IDE_LName\""_s}));
        QVERIFY(store::PrepareProgramFolder(env.folder()).ok);
        if (testing_support::onServer()) {
            QStringList indexes;
            store::Connection c(file);
            QSqlQuery q;
            QVERIFY(c.exec(q, u"SELECT indexname FROM pg_indexes WHERE tablename = 'IDE' AND schemaname = current_schema()"_s));
            while (q.next())
                indexes << q.value(0).toString();
            for (const QString& name : {u"ix_IDE_LName"_s, u"ix_IDE_FName"_s, u"ix_IDE_Group"_s, u"ux_IDE_Code"_s})
                QVERIFY2(indexes.contains(name), qPrintable(indexes.join(u' ')));
            return;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"indexes"_s);
        QStringList indexes;
        {
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(u"SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'IDE'"_s, db);
            while (q.next())
                indexes << q.value(0).toString();
            db.close();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"indexes"_s);
        for (const QString& name : {u"ix_IDE_LName"_s, u"ix_IDE_FName"_s, u"ix_IDE_Group"_s, u"ux_IDE_Code"_s})
            QVERIFY2(indexes.contains(name), qPrintable(indexes.join(u' ')));
    }
};

TAVORA_TEST(TestRowModels)
#include "tst_row_models.moc"
