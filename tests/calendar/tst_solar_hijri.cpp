#include "calendar/solar_hijri.h"
#include "support/test_registry.h"

#include <QTest>

class TestSolarHijri : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leapRule_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("leap");
        for (int y : {1375, 1379, 1383, 1387, 1391, 1395, 1399, 1403, 1408})
            QTest::addRow("%d leap", y) << y << true;
        for (int y : {1400, 1401, 1402, 1404, 1407})
            QTest::addRow("%d common", y) << y << false;
    }
    void leapRule()
    {
        QFETCH(int, year);
        QFETCH(bool, leap);
        QCOMPARE(IsSolarLeapYear(year), leap);
    }

    void workedConversions_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("layout0");
        QTest::addColumn<QString>("layout4");
        QTest::newRow("epoch") << QDate(1953, 3, 21) << QStringLiteral("1332/01/01") << QStringLiteral("1332.1.1");
        QTest::newRow("last of 1399") << QDate(2021, 3, 20) << QStringLiteral("1399/12/30") << QStringLiteral("1399.12.30");
        QTest::newRow("new year 1400") << QDate(2021, 3, 21) << QStringLiteral("1400/01/01") << QStringLiteral("1400.1.1");
        QTest::newRow("new year 1403") << QDate(2024, 3, 20) << QStringLiteral("1403/01/01") << QStringLiteral("1403.1.1");
        QTest::newRow("leap day 1403") << QDate(2025, 3, 20) << QStringLiteral("1403/12/30") << QStringLiteral("1403.12.30");
        QTest::newRow("new year 1404") << QDate(2025, 3, 21) << QStringLiteral("1404/01/01") << QStringLiteral("1404.1.1");
        QTest::newRow("1 Mehr") << QDate(2022, 9, 23) << QStringLiteral("1401/07/01") << QStringLiteral("1401.7.1");
        QTest::newRow("30 Mordad") << QDate(2022, 8, 21) << QStringLiteral("1401/05/30") << QStringLiteral("1401.5.30");
    }
    void workedConversions()
    {
        QFETCH(QDate, date);
        QFETCH(QString, layout0);
        QFETCH(QString, layout4);
        QCOMPARE(ToSolarHijri(date), layout0);
        QCOMPARE(ToSolarHijri(date, 0), layout0);
        QCOMPARE(ToSolarHijri(date, 4), layout4);
    }

    void namedLayouts()
    {
        const QDate sunday(2022, 8, 21);
        QCOMPARE(ToSolarHijri(sunday, 1), QStringLiteral("30 مرداد 1401"));
        QCOMPARE(ToSolarHijri(sunday, 2), QStringLiteral("يکشنبه 1401/5/30"));
        QCOMPARE(ToSolarHijri(sunday, 3), QStringLiteral("يکشنبه 30 مرداد 1401"));
        // Saturday is the last weekday of the Persian week list.
        QCOMPARE(ToSolarHijri(QDate(2022, 8, 27), 2), QStringLiteral("شنبه 1401/6/5"));
        QCOMPARE(ToSolarHijri(QDate(2022, 8, 26), 2), QStringLiteral("جمعه 1401/6/4"));
    }

    void outsideLayoutsAndBeforeTheEpochGiveNothing()
    {
        QCOMPARE(ToSolarHijri(QDate(2022, 8, 21), 5), QString());
        QCOMPARE(ToSolarHijri(QDate(2022, 8, 21), -1), QString());
        QCOMPARE(ToSolarHijri(QDate(1953, 3, 20), 0), QString());
        QVERIFY(!DaysToSolarDate(-1).has_value());
        QCOMPARE(ToSolarHijri(QDate(), 0), QString());
    }

    // Across a century, consecutive days advance the date by exactly one day:
    // no day is skipped or repeated, months have their lengths, Esfand has 30 days only in leap years.
    void consecutiveDaysNeverSkipOrRepeat()
    {
        SolarDate prev = *DaysToSolarDate(0);
        QCOMPARE(prev, (SolarDate{1332, 1, 1}));
        const qint64 days = kSolarEpoch.daysTo(QDate(2053, 3, 21));
        for (qint64 d = 1; d <= days; ++d) {
            const SolarDate cur = *DaysToSolarDate(d);
            SolarDate expected = prev;
            const int monthLength = prev.month <= 6 ? 31 : prev.month <= 11 ? 30 : (IsSolarLeapYear(prev.year) ? 30 : 29);
            if (prev.day < monthLength) {
                ++expected.day;
            } else if (prev.month < 12) {
                ++expected.month;
                expected.day = 1;
            } else {
                expected = {prev.year + 1, 1, 1};
            }
            if (!(cur == expected))
                QFAIL(qPrintable(QStringLiteral("day %1: %2/%3/%4 after %5/%6/%7").arg(d)
                                     .arg(cur.year).arg(cur.month).arg(cur.day)
                                     .arg(prev.year).arg(prev.month).arg(prev.day)));
            prev = cur;
        }
        QVERIFY(prev.year >= 1431);
    }
};

TAVORA_TEST(TestSolarHijri)
#include "tst_solar_hijri.moc"
