// First run creates the data files from the delivered data; a damaged file is never overwritten.
#include "store/data_files.h"
#include "store/database_checks.h"
#include "store/delivered_table.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString journalMode(const QString& path)
{
    QString mode;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("journal"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next())
                mode = q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("journal"));
    return mode;
}

} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The files' own behaviour; the server's tables are tested in tests/server.
    void initTestCase() { TAVORA_SKIP_ON_SERVER(); }

    void firstRunCreatesEveryFileWithItsTables()
    {
        TestEnv env(false);
        const store::PrepareOutcome out = store::PrepareProgramFolder(env.folder());
        QVERIFY2(out.ok, qPrintable(out.error));
        for (const store::FileDef& f : store::dataFiles()) {
            const QString path = store::DataFilePath(env.folder(), f.fileName);
            QVERIFY2(QFile::exists(path), qPrintable(path));
            QVERIFY(store::VerifyDataFile(path, f));
            QCOMPARE(journalMode(path), QStringLiteral("delete")); // a whole-file copy is a backup
        }
        QVERIFY(QFile::exists(env.path(QStringLiteral("skin/skin.txt"))));
        QVERIFY(QFile::exists(env.path(QStringLiteral("skin/1.skn"))));
        QVERIFY(!QFile::exists(env.path(QStringLiteral("Tavora71.mdb.new"))));

        store::View answer(env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("Answer"));
        QVERIFY(answer.refresh());
        QCOMPARE(answer.columns().size(), 72);
        QCOMPARE(answer.columns().first(), QStringLiteral("Code"));
        QCOMPARE(answer.columns().last(), QStringLiteral("71"));
    }

    void existingFilesAreKeptAsTheyAre()
    {
        TestEnv env;
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("5")));
        QFile list(env.path(QStringLiteral("skin/skin.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write("12\r\n");
        list.close();
        QFile::remove(env.path(QStringLiteral("skin/1.skn")));

        const QByteArray before = digest(env.path(QStringLiteral("Tavora71.mdb")));
        QVERIFY(store::PrepareProgramFolder(env.folder()).ok);
        QCOMPARE(digest(env.path(QStringLiteral("Tavora71.mdb"))), before);
        QVERIFY(QFile::exists(env.path(QStringLiteral("skin/1.skn")))); // a missing theme file comes back
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("12\r\n"));                 // the user's choice stays
    }

    void damagedFileIsNamedAndNeverOverwritten_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("damage"); // a statement run on the file, instead of the content
        QTest::addColumn<QString>("named");  // in the reason
        QTest::newRow("not a database") << QStringLiteral("Tavora71.mdb") << QByteArray("this is not sqlite at all, just text\n") << QString() << QString();
        QTest::newRow("empty file") << QStringLiteral("Theme.skn") << QByteArray() << QString() << QString();
        QTest::newRow("lacks a table") << QStringLiteral("ThemeTB.skn") << QByteArray() << QStringLiteral("DROP TABLE Taff")
                                       << QStringLiteral("Taff");
        QTest::newRow("lacks a column") << QStringLiteral("Tavora71.mdb") << QByteArray()
                                        << QStringLiteral("ALTER TABLE IDE DROP COLUMN Tahsil") << QStringLiteral("Tahsil");
    }

    void damagedFileIsNamedAndNeverOverwritten()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, damage);
        QFETCH(QString, named);
        TestEnv env;
        const QString path = env.path(file);
        if (damage.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(content);
        } else {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY2(q.exec(damage), qPrintable(q.lastError().text()));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("drop"));
        }
        const QByteArray before = digest(path);
        const store::PrepareOutcome out = store::PrepareProgramFolder(env.folder());
        QVERIFY(!out.ok);
        QCOMPARE(out.fileName, file);
        QVERIFY2(out.error.contains(named), qPrintable(out.error));
        QCOMPARE(digest(path), before);
    }

    void quickCheckFindsDamageWithinItsTime()
    {
        TestEnv env;
        const QString path = env.path(store::kExamineeFile);
        QVERIFY(testing_support::execSql(path, {QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000) "
            "INSERT INTO IDE (Code, TT1) SELECT i, printf('%.500c', 'x') FROM n")}));
        QCOMPARE(store::QuickCheckFile(path, 10000), store::QuickCheck::Sound);
        QCOMPARE(store::QuickCheckFile(path, 0), store::QuickCheck::NotFinished); // bounded: stopped, not judged
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(f.size() / 2 / 4096 * 4096) && f.write(QByteArray(4096, 'Z')) == 4096);
        }
        const QByteArray before = digest(path);
        QString problem;
        QCOMPARE(store::QuickCheckFile(path, 10000, &problem), store::QuickCheck::Damaged);
        QVERIFY(!problem.isEmpty());
        QCOMPARE(digest(path), before);
    }

    void deliveredTableTextFormat()
    {
        const store::DeliveredTable t = store::ParseDeliveredTable(
            QStringLiteral("# a comment\n\nid\tText\r\n1\tline one\\r\\nline two\n2\ttab\\there \\\\ done\n"));
        QVERIFY2(t.error.isEmpty(), qPrintable(t.error));
        QCOMPARE(t.columns, (QStringList{QStringLiteral("id"), QStringLiteral("Text")}));
        QCOMPARE(t.rows.size(), 2);
        QCOMPARE(t.rows.at(0).at(1), QStringLiteral("line one\r\nline two"));
        QCOMPARE(t.rows.at(1).at(1), QStringLiteral("tab\there \\ done"));
        QCOMPARE(store::UnescapeDeliveredField(store::EscapeDeliveredField(QStringLiteral("a\tb\\c\r\n"))),
                 QStringLiteral("a\tb\\c\r\n"));

        const store::DeliveredTable bad = store::ParseDeliveredTable(QStringLiteral("a\tb\n1\n"));
        QVERIFY(!bad.error.isEmpty());
    }

    void everyDeliveredFileParsesAgainstItsTable()
    {
        for (const store::FileDef& f : store::dataFiles()) {
            for (const store::TableDef& t : f.tables) {
                for (const QString& path : store::DeliveredTablePaths(f, t)) {
                    const store::DeliveredTable d = store::LoadDeliveredTable(path);
                    QVERIFY2(d.error.isEmpty(), qPrintable(path + QStringLiteral(": ") + d.error));
                    for (const QString& c : d.columns)
                        QVERIFY2(t.columns.contains(c, Qt::CaseInsensitive), qPrintable(path + QStringLiteral(": ") + c));
                }
            }
        }
    }
};

TAVORA_TEST(TestDataFiles)
#include "tst_data_files.moc"
