#pragma once
#include <QDate>
#include <QString>
#include <optional>

struct SolarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const SolarDate&) const = default;
};

// Dates are counted in whole days from 1 Farvardin 1332 = 21 March 1953.
inline const QDate kSolarEpoch{1953, 3, 21};
constexpr int kSolarBaseYear = 1332;

bool IsSolarLeapYear(int year);
// std::nullopt for a negative day count (before the epoch).
std::optional<SolarDate> DaysToSolarDate(qint64 days);
// Layouts 0..4 (see the layout table in the .cpp); an empty text for any other layout
// and for dates before the epoch.
QString ToSolarHijri(const QDate& date, int layout = 0);

QString SolarMonthName(int month);     // 1..12
QString SolarWeekdayName(int weekday); // Sunday = 1 .. Saturday = 7
