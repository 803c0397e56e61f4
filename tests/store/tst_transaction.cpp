// Writes of several views on one connection, kept together or not at all.
#include "store/connection.h"
#include "store/schema.h"
#include "store/view.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

class TestTransaction : public QObject {
    Q_OBJECT

    static int rowsWithCode(const QString& file, const QString& code)
    {
        store::View v(file, QStringLiteral("IDE"));
        if (!v.setFilter(QStringLiteral("Code"), code))
            return -1;
        return v.count();
    }

private Q_SLOTS:
    // Kept together by a commit (see the ranking's rows); here the other way: a guard left
    // without a commit undoes what the views on its connection wrote.
    void undoneWithoutCommit()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const QString file = env.path(store::kExamineeFile);
        auto connection = std::make_shared<store::Connection>(file);
        store::View ide(connection, QStringLiteral("IDE"));
        QVERIFY(ide.refresh().ok);
        {
            store::Transaction t(connection);
            QVERIFY(!t.commit().ok); // nothing begun yet
            QVERIFY(t.begin().ok);
            QVERIFY(!t.begin().ok); // one at a time
            for (const QString& code : {QStringLiteral("1"), QStringLiteral("2")}) {
                ide.addNew();
                QVERIFY(ide.setValue(QStringLiteral("Code"), code).ok && ide.update().ok);
            }
            QCOMPARE(ide.count(), 2); // the writer sees its own rows meanwhile
        }
        QCOMPARE(rowsWithCode(file, QStringLiteral("1")), 0);
        QVERIFY(ide.refresh().ok);
        QCOMPARE(ide.count(), 0);
    }
};

TAVORA_TEST(TestTransaction)
#include "tst_transaction.moc"
