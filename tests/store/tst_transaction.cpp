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
    void keptOnCommitUndoneOtherwise()
    {
        TestEnv env;
        QVERIFY2(env.isValid(), qPrintable(env.seedError()));
        const QString file = env.path(store::kExamineeFile);
        auto connection = std::make_shared<store::Connection>(file);
        store::View ide(connection, QStringLiteral("IDE"));
        QVERIFY(ide.refresh().ok);

        auto add = [&ide](const QString& code) {
            ide.addNew();
            return ide.setValue(QStringLiteral("Code"), code).ok && ide.update().ok;
        };
        {
            // Left without a commit: nothing of it is stored.
            store::Transaction t(connection);
            QVERIFY(t.begin().ok);
            QVERIFY(!t.begin().ok); // one at a time
            QVERIFY(add(QStringLiteral("1")) && add(QStringLiteral("2")));
            QCOMPARE(ide.count(), 2); // the writer sees its own rows meanwhile
        }
        QCOMPARE(rowsWithCode(file, QStringLiteral("1")), 0);
        QVERIFY(ide.refresh().ok);
        QCOMPARE(ide.count(), 0);

        store::Transaction t(connection);
        QVERIFY(!t.commit().ok); // nothing begun
        QVERIFY(t.begin().ok);
        QVERIFY(add(QStringLiteral("3")) && add(QStringLiteral("4")));
        QVERIFY(t.commit().ok);
        QVERIFY(!t.isActive());
        for (const QString& code : {QStringLiteral("3"), QStringLiteral("4")})
            QCOMPARE(rowsWithCode(file, code), 1);

        // A file that is not there has no transaction to begin.
        store::Transaction missing(std::make_shared<store::Connection>(env.path(QStringLiteral("gone.mdb"))));
        QVERIFY(!missing.begin().ok);
    }
};

TAVORA_TEST(TestTransaction)
#include "tst_transaction.moc"
