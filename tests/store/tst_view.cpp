// The live row set every screen works through.
#include "store/data_files.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

using store::SortOrder;
using store::View;

class TestView : public QObject {
    Q_OBJECT

    QString examineeFile(const TestEnv& env) const { return env.path(QStringLiteral("Tavora71.mdb")); }

    static QStringList codesInOrder(View& v)
    {
        QStringList codes;
        for ((void)v.moveFirst(); v.hasCurrent(); (void)v.moveNext())
            codes << v.value(QStringLiteral("Code"));
        return codes;
    }

private Q_SLOTS:
    void refreshDropsPendingEditAndNewRow()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("1"), {}, {{QStringLiteral("FName"), QStringLiteral("Ali")}}));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.count(), 1);

        QVERIFY(ide.setValue(QStringLiteral("FName"), QStringLiteral("Reza")));
        QCOMPARE(ide.value(QStringLiteral("FName")), QStringLiteral("Reza"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.value(QStringLiteral("FName")), QStringLiteral("Ali"));

        ide.addNew();
        QVERIFY(ide.isNew());
        (void)ide.setValue(QStringLiteral("Code"), QStringLiteral("2"));
        QVERIFY(ide.refresh());
        QVERIFY(!ide.isNew());
        QCOMPARE(ide.count(), 1);
        View fresh(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(fresh.refresh());
        QCOMPARE(fresh.count(), 1);
    }

    void filterFindsExactTextAndStaysUntilReplaced()
    {
        TestEnv env;
        for (const char* c : {"1", "12", "2", "O'Neil", "21"})
            QVERIFY(testing_support::addExaminee(env.folder(), QString::fromUtf8(c)));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.count(), 5);

        QVERIFY(ide.setFilter(QStringLiteral("code"), QStringLiteral("2"))); // column names ignore case
        QCOMPARE(ide.count(), 1);
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("2"));
        (void)ide.moveNext();
        QVERIFY(ide.atEnd());
        QCOMPARE(ide.count(), 1); // the filter still applies after moving

        // An apostrophe is just a character: exact match, no broken query.
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("O'Neil")));
        QCOMPARE(ide.count(), 1);
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("O'Neil"));
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("1' OR '1'='1")));
        QCOMPARE(ide.count(), 0);
        QVERIFY(!ide.hasRows());
        QVERIFY(ide.atStart());
        QVERIFY(!ide.hasCurrent());
        QCOMPARE(ide.value(QStringLiteral("Code")), QString());

        QVERIFY(ide.refresh());
        QCOMPARE(ide.count(), 5);
    }

    void aViewNeverRefreshedStillSeesTheTable()
    {
        TestEnv env;
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("7")));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("7")));
        QCOMPARE(ide.count(), 1);
    }

    void filterOnUnknownColumnFailsWithoutThrowing()
    {
        TestEnv env;
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        const store::Result r = ide.setFilter(QStringLiteral("Code\" = '' OR \"1"), QStringLiteral("x"));
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
    }

    void viewsSeeOtherCommitsOnlyAfterRefresh()
    {
        TestEnv env;
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("1")));
        View a(examineeFile(env), QStringLiteral("IDE"));
        View b(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(a.refresh());
        QVERIFY(b.refresh());

        a.addNew();
        (void)a.setValue(QStringLiteral("Code"), QStringLiteral("2"));
        QVERIFY(a.update());
        QCOMPARE(a.count(), 2);                     // its own row at once
        QCOMPARE(a.value(QStringLiteral("Code")), QStringLiteral("2"));
        QVERIFY(a.setFilter(QStringLiteral("Code"), QStringLiteral("2")));
        QCOMPARE(a.count(), 1);                     // and under a filter

        QCOMPARE(b.count(), 1);                     // the other view: not yet
        QVERIFY(b.hasRows());
        QVERIFY(b.setFilter(QStringLiteral("Code"), QStringLiteral("2")));
        QVERIFY(!b.hasRows());                      // the same snapshot for the existence check
        QCOMPARE(b.count(), 0);
        QVERIFY(b.refresh());
        QCOMPARE(b.count(), 2);
    }

    void moveLastNextPreviousFollowNaturalOrder()
    {
        TestEnv env;
        for (const char* c : {"8", "7", "3"})
            QVERIFY(testing_support::addExaminee(env.folder(), QString::fromUtf8(c)));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("8"));
        QVERIFY(ide.moveLast());
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("3"));
        QVERIFY(ide.movePrevious());
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("7"));
        QVERIFY(ide.moveNext());
        QVERIFY(ide.moveNext());
        QVERIFY(ide.atEnd());
        QVERIFY(!ide.atStart());
        QVERIFY(!ide.hasCurrent());
        QVERIFY(ide.moveFirst());
        QVERIFY(ide.movePrevious());
        QVERIFY(ide.atStart());
        QVERIFY(!ide.atEnd());
        QCOMPARE(codesInOrder(ide), (QStringList{QStringLiteral("8"), QStringLiteral("7"), QStringLiteral("3")}));
    }

    void numericSortPutsEmptiesFirstAndHundredAboveFiftyFive()
    {
        TestEnv env;
        View sortt2(env.path(QStringLiteral("ThemeTB.skn")), QStringLiteral("Sortt2"));
        QVERIFY(sortt2.refresh());
        const QStringList values{QStringLiteral("55"), QStringLiteral("100"), QStringLiteral("9")};
        int i = 0;
        for ((void)sortt2.moveFirst(); sortt2.hasCurrent() && i < 3; (void)sortt2.moveNext(), ++i) {
            QVERIFY(sortt2.setValue(QStringLiteral("etebari"), values.at(i)));
            QVERIFY(sortt2.update());
        }
        QVERIFY(sortt2.sortBy(QStringLiteral("etebari"), SortOrder::Numeric));
        QStringList order;
        for (; sortt2.hasCurrent(); (void)sortt2.moveNext())
            order << sortt2.value(QStringLiteral("etebari"));
        QCOMPARE(order.size(), 8);
        QCOMPARE(order.mid(0, 5), QStringList(5, QString()));
        QCOMPARE(order.mid(5), (QStringList{QStringLiteral("9"), QStringLiteral("55"), QStringLiteral("100")}));

        QVERIFY(sortt2.sortBy(QStringLiteral("etebari"), SortOrder::Text));
        QVERIFY(sortt2.moveLast());
        QCOMPARE(sortt2.value(QStringLiteral("etebari")), QStringLiteral("9")); // text order differs
        QVERIFY(sortt2.movePrevious());
        QCOMPARE(sortt2.value(QStringLiteral("etebari")), QStringLiteral("55"));
    }

    void updateDeleteAndFailuresAreReturned()
    {
        TestEnv env;
        for (const char* c : {"1", "2", "3"})
            QVERIFY(testing_support::addExaminee(env.folder(), QString::fromUtf8(c)));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("2")));
        QVERIFY(ide.setValue(QStringLiteral("LName"), QStringLiteral("رضايي")));
        QVERIFY(ide.update());
        QVERIFY(ide.deleteCurrent());
        QVERIFY(!ide.hasCurrent());
        QCOMPARE(ide.count(), 0);
        QVERIFY(ide.refresh());
        QCOMPARE(codesInOrder(ide), (QStringList{QStringLiteral("1"), QStringLiteral("3")}));

        // The unique code index refuses a duplicate; the failure is returned, not thrown.
        ide.addNew();
        (void)ide.setValue(QStringLiteral("Code"), QStringLiteral("1"));
        const store::Result dup = ide.update();
        QVERIFY(!dup.ok);
        QVERIFY(!dup.error.isEmpty());
        QVERIFY(!ide.setValue(QStringLiteral("NoSuchColumn"), QStringLiteral("x")).ok);

        // Without a current row there is nothing to store or delete.
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("nobody")));
        QVERIFY(!ide.setValue(QStringLiteral("FName"), QStringLiteral("x")).ok);
        QVERIFY(!ide.update().ok);
        QVERIFY(!ide.deleteCurrent().ok);
    }

    // A store that did not happen is never reported as done.
    void storesThatCannotHappenFail()
    {
        TestEnv env;
        for (const char* c : {"1", "2", "3"})
            QVERIFY(testing_support::addExaminee(env.folder(), QString::fromUtf8(c)));
        View a(examineeFile(env), QStringLiteral("IDE"));
        View b(examineeFile(env), QStringLiteral("IDE"));
        for (const bool edited : {false, true}) { // the row another view deleted
            const QString code = edited ? QStringLiteral("2") : QStringLiteral("1");
            QVERIFY(a.refresh() && a.setFilter(QStringLiteral("Code"), code));
            QVERIFY(b.refresh() && b.setFilter(QStringLiteral("Code"), code));
            QVERIFY(b.deleteCurrent());
            QVERIFY(!edited || a.setValue(QStringLiteral("FName"), QStringLiteral("x")));
            QVERIFY(!a.update().ok);
        }

        // An edit that failed in part is refused whole, even when the rest is stored.
        QVERIFY(a.refresh());
        QVERIFY(!a.setValue(QStringLiteral("NoSuchColumn"), QStringLiteral("x")).ok);
        QVERIFY(!a.update().ok);
        QVERIFY(!a.setValue(QStringLiteral("NoSuchColumn"), QStringLiteral("x")).ok);
        QVERIFY(a.setValue(QStringLiteral("FName"), QStringLiteral("y")));
        QVERIFY(!a.update().ok);
        QVERIFY(a.refresh()); // a re-read forgets the failed edit
        QVERIFY(a.setValue(QStringLiteral("FName"), QStringLiteral("z")));
        QVERIFY(a.update());
    }

    // Another connection (another computer) changed or removed the row since this view read it:
    // the update is refused, the view shows the row as it is now, and nothing is overwritten.
    void updateOfARowChangedElsewhereIsRefusedAndReRead()
    {
        TestEnv env;
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("1"), {}, {{QStringLiteral("FName"), QStringLiteral("Ali")}}));
        QVERIFY(testing_support::addExaminee(env.folder(), QStringLiteral("2")));
        View mine(examineeFile(env), QStringLiteral("IDE"));
        View theirs(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(mine.setFilter(QStringLiteral("Code"), QStringLiteral("1")));
        QVERIFY(theirs.setFilter(QStringLiteral("Code"), QStringLiteral("1")));
        QVERIFY(theirs.setValue(QStringLiteral("FName"), QStringLiteral("Reza")) && theirs.update());

        QVERIFY(mine.setValue(QStringLiteral("LName"), QStringLiteral("Karimi")));
        const store::Result r = mine.update();
        QCOMPARE(r.kind, store::Failure::ChangedMeanwhile);
        QVERIFY(!mine.hasPendingEdit());
        QCOMPARE(mine.value(QStringLiteral("FName")), QStringLiteral("Reza")); // read anew
        QVERIFY(mine.setValue(QStringLiteral("LName"), QStringLiteral("Karimi")) && mine.update()); // now it may
        QVERIFY(theirs.refresh() && theirs.setFilter(QStringLiteral("Code"), QStringLiteral("1")));
        QCOMPARE(theirs.value(QStringLiteral("FName")), QStringLiteral("Reza"));
        QCOMPARE(theirs.value(QStringLiteral("LName")), QStringLiteral("Karimi"));

        // Removed meanwhile: said, and no row is current any more.
        QVERIFY(mine.setFilter(QStringLiteral("Code"), QStringLiteral("2")));
        QVERIFY(theirs.setFilter(QStringLiteral("Code"), QStringLiteral("2")) && theirs.deleteCurrent());
        QVERIFY(mine.setValue(QStringLiteral("FName"), QStringLiteral("x")));
        QCOMPARE(mine.update().kind, store::Failure::ChangedMeanwhile);
        QVERIFY(!mine.hasCurrent());
    }

    void deletingInSortedViewStepsToNextRow()
    {
        TestEnv env;
        for (const char* c : {"30", "10", "20"})
            QVERIFY(testing_support::addExaminee(env.folder(), QString::fromUtf8(c)));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QVERIFY(ide.sortBy(QStringLiteral("Code"), SortOrder::Numeric));
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("10"));
        QVERIFY(ide.deleteCurrent());
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("20"));
        QVERIFY(ide.moveLast());
        QVERIFY(ide.deleteCurrent());
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("20")); // back to the last one left
    }

    void aMissingFileIsReportedNotCreated()
    {
        TAVORA_SKIP_ON_SERVER();
        TestEnv env(false);
        View v(env.path(QStringLiteral("Tavora71.mdb")), QStringLiteral("IDE"));
        const store::Result r = v.refresh();
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(QStringLiteral("Tavora71.mdb")));
        QVERIFY(!QFile::exists(env.path(QStringLiteral("Tavora71.mdb"))));
        QCOMPARE(v.count(), 0);
        QVERIFY(!v.hasCurrent());
    }

    void countIsLazyOnALargeTable()
    {
        TestEnv env;
        QVERIFY(testing_support::execSql(examineeFile(env),
                                         {QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
                                                         "INSERT INTO \"IDE\" (\"Code\", \"FName\") SELECT i, 'n' || i FROM n")}));
        View ide(examineeFile(env), QStringLiteral("IDE"));
        QVERIFY(ide.refresh());
        QCOMPARE(ide.count(), 50000);
        QVERIFY(ide.moveLast());
        QCOMPARE(ide.value(QStringLiteral("Code")), QStringLiteral("50000"));
        QVERIFY(ide.setFilter(QStringLiteral("Code"), QStringLiteral("25000")));
        QCOMPARE(ide.value(QStringLiteral("FName")), QStringLiteral("n25000"));
        // How long this takes is the benchmark's to measure, not a test's.
    }
};

TAVORA_TEST(TestView)
#include "tst_view.moc"
