#include "calendar/solar_hijri.h"

namespace {

const QString kMonths[12] = {
    QStringLiteral("فروردين"), QStringLiteral("ارديبهشت"), QStringLiteral("خرداد"),
    QStringLiteral("تير"), QStringLiteral("مرداد"), QStringLiteral("شهريور"),
    QStringLiteral("مهر"), QStringLiteral("آبان"), QStringLiteral("آذر"),
    QStringLiteral("دي"), QStringLiteral("بهمن"), QStringLiteral("اسفند"),
};

const QString kWeekdays[7] = {
    QStringLiteral("يکشنبه"), QStringLiteral("دوشنبه"), QStringLiteral("سه شنبه"),
    QStringLiteral("چهارشنبه"), QStringLiteral("پنجشنبه"), QStringLiteral("جمعه"),
    QStringLiteral("شنبه"),
};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString SolarMonthName(int month)
{
    return month >= 1 && month <= 12 ? kMonths[month - 1] : QString();
}

QString SolarWeekdayName(int weekday)
{
    return weekday >= 1 && weekday <= 7 ? kWeekdays[weekday - 1] : QString();
}

bool IsSolarLeapYear(int year)
{
    // C++ division truncates toward zero and % takes the dividend's sign, as the rule wants.
    const int k = year - 1309;
    const int a = k % 32;
    const int b = k / 32;
    return (a - b) % 4 == 0;
}

std::optional<SolarDate> DaysToSolarDate(qint64 days)
{
    if (days < 0)
        return std::nullopt;
    int offset = 0;
    for (;;) {
        const int length = IsSolarLeapYear(kSolarBaseYear + offset) ? 366 : 365;
        if (days - length < 0)
            break;
        ++offset;
        days -= length;
    }
    SolarDate d;
    d.year = kSolarBaseYear + offset;
    if (days <= 185) {
        d.month = int(days / 31) + 1;
        d.day = int(days % 31) + 1;
    } else {
        days -= 186;
        d.month = int(days / 30) + 7;
        d.day = int(days % 30) + 1;
    }
    return d;
}

QString ToSolarHijri(const QDate& date, int layout)
{
    if (layout < 0 || layout > 4 || !date.isValid())
        return {};
    const auto solar = DaysToSolarDate(kSolarEpoch.daysTo(date));
    if (!solar)
        return {};
    const int weekday = date.dayOfWeek() % 7 + 1; // Qt: Monday 1 .. Sunday 7
    const QString y = QString::number(solar->year);
    const QString m = QString::number(solar->month);
    const QString d = QString::number(solar->day);
    const QString monthName = SolarMonthName(solar->month);
    const QString weekdayName = SolarWeekdayName(weekday);
    const QChar blank = QLatin1Char(' ');
    switch (layout) {
    case 0: return y + QLatin1Char('/') + twoDigits(solar->month) + QLatin1Char('/') + twoDigits(solar->day);
    case 1: return d + blank + monthName + blank + y;
    case 2: return weekdayName + blank + y + QLatin1Char('/') + m + QLatin1Char('/') + d;
    case 3: return weekdayName + blank + d + blank + monthName + blank + y;
    case 4: return y + QLatin1Char('.') + m + QLatin1Char('.') + d;
    }
    return {};
}
