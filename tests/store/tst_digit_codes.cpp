// Counting the codes of a number range through the number index, among texts of other lengths
// and texts that are not numbers.
#include "store/connection.h"
#include "store/data_files.h"
#include "store/schema.h"
#include "store/digit_codes.h"
#include "support/test_registry.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDigitCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countsOnlyTheNumbers();
};

void TestDigitCodes::countsOnlyTheNumbers()
{
    const QStringList codes{u"10000"_s, u"10001"_s, u"10002"_s, u"10004"_s, u"19999"_s, u"20000"_s, u"1a000"_s,
                            u"1:000"_s, u"2000x"_s, u"10000a"_s, u"100000"_s, u"1001"_s, u"10003 "_s, u"01000"_s,
                            u" 1000"_s, u"+1000"_s, u"1۲345"_s, u"5"_s, u"x"_s, u"7"_s, u"1234567890123456789"_s};
    QTemporaryDir dir;
    QFile file(dir.filePath(u"codes.db"_s));
    QVERIFY(file.open(QIODevice::WriteOnly)); // an empty file is an empty database
    file.close();
    store::Connection connection(file.fileName());
    QVERIFY(connection.open().ok);
    QSqlQuery q(connection.database());
    QVERIFY(q.exec(u"CREATE TABLE IDE (Code TEXT)"_s) && q.exec(u"CREATE UNIQUE INDEX ux ON IDE (Code)"_s)
            && q.exec(store::CreateNumberIndexSql(*store::findTable(store::kExamineeFile, u"IDE"_s), {})));
    for (const QString& code : codes) {
        q.prepare(u"INSERT INTO IDE (Code) VALUES (?)"_s);
        q.addBindValue(code);
        QVERIFY(q.exec());
    }
    // The numbers the range holds, counted one by one.
    const auto expected = [&](const QString& lo, const QString& hi) {
        qint64 n = 0;
        for (const QString& c : codes) {
            bool number = c.size() == lo.size();
            for (QChar ch : c)
                number = number && ch >= u'0' && ch <= u'9';
            n += number && c.toLongLong() >= lo.toLongLong() && c.toLongLong() <= hi.toLongLong();
        }
        return n;
    };
    store::DigitCodeCounter counter(connection, u"IDE"_s, u"Code"_s);
    const QList<std::pair<QString, QString>> ranges{{u"10000"_s, u"29999"_s}, {u"10000"_s, u"10005"_s},
                                                    {u"10003"_s, u"10003"_s}, {u"10004"_s, u"10004"_s},
                                                    {u"1"_s, u"9"_s}, {u"100000"_s, u"999999"_s},
                                                    {u"1234567890123456789"_s, u"1234567890123456789"_s}};
    for (const auto& [lo, hi] : ranges) {
        qint64 n = -1;
        QVERIFY(counter.count(lo, hi, n).ok);
        QCOMPARE(n, expected(lo, hi));
    }
}

TAVORA_TEST(TestDigitCodes)
#include "tst_digit_codes.moc"
