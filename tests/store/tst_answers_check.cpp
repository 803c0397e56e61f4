// The check-code search digests the answers in the engine: it must give the code computed from the
// answers as the program reads them, on both engines, whatever the stored values hold.
#include "examinees/answers_check.h"
#include "store/connection.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestAnswersCheckSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void engineDigestAgreesWithTheCheckCode()
    {
        TestEnv env;
        QStringList mixed(store::kItemCount, u"2"_s);
        mixed[0] = u"1"_s;
        mixed[2] = u""_s;
        QStringList persian = mixed;
        persian[70] = u"۱،'"_s; // several bytes in UTF-8, a quote
        QStringList nullAt2 = mixed;
        nullAt2[2] = QString();
        // Code and answers as stored, a null text stored as NULL.
        const QList<QPair<QString, QStringList>> stored{
            {u"10"_s, mixed},
            {u"11"_s, nullAt2},
            {u"12"_s, persian},
            {u"13"_s, QStringList(store::kItemCount, QString())},
        };
        QStringList sql{u"BEGIN"_s};
        for (const auto& [code, answers] : stored) {
            QStringList columns{u"\"Code\""_s};
            QStringList values{u"'"_s + code + u"'"_s};
            for (int i = 0; i < store::kItemCount; ++i) {
                columns << store::quoteIdentifier(store::itemColumns().at(i));
                values << (answers.at(i).isNull() ? u"NULL"_s : u"'"_s + QString(answers.at(i)).replace(u"'"_s, u"''"_s) + u"'"_s);
            }
            sql << u"INSERT INTO \"Answer\" (%1) VALUES (%2)"_s.arg(columns.join(u", "_s), values.join(u", "_s));
        }
        sql << u"COMMIT"_s;
        QVERIFY(testing_support::execSql(env.path(store::kExamineeFile), sql));

        store::Connection file(env.path(store::kExamineeFile));
        // The answers as the program reads them back, and the codes whose stored answers they are.
        const QList<QPair<QStringList, QStringList>> expected{
            {mixed, {u"10"_s, u"11"_s}}, // a missing answer is an empty text, NULL or not
            {persian, {u"12"_s}},
            {QStringList(store::kItemCount, u""_s), {u"13"_s}},
        };
        for (const auto& [answers, codes] : expected) {
            QStringList found;
            QVERIFY(examinees::FindByAnswersCheck(file, examinees::AnswersCheckCode(answers), found));
            QCOMPARE(found, codes);
        }
        QStringList found{u"stale"_s};
        QVERIFY(examinees::FindByAnswersCheck(file, u"00000000"_s, found));
        QVERIFY(found.isEmpty());
    }
};

TAVORA_TEST(TestAnswersCheckSearch)
#include "tst_answers_check.moc"
