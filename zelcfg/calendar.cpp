// Civil-date arithmetic by the well-known days-from-civil method: exact for every
// Gregorian date, no table, no time zone involved.
#include "calendar.h"

#include <ctime>

namespace zelcfg {

long days_from_date(const zel::Date& d)
{
    const long y = d.year - (d.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long mp = (d.month + 9) % 12;
    const long doy = (153 * mp + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

zel::Date date_from_days(long days)
{
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long doe = days - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    zel::Date d;
    d.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.year = static_cast<int>(yoe + era * 400 + (d.month <= 2 ? 1 : 0));
    return d;
}

int weekday_of(const zel::Date& d)
{
    const long days = days_from_date(d);  // 1 January 1970 was a Thursday
    return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

zel::Date today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_mon + 1, local.tm_mday, local.tm_year + 1900};
}

bool parse_day_text(std::string_view text, zel::Date& out)
{
    if (text.size() != 10) return false;
    const zel::Date d = zel::parse_date(text);
    if (!zel::is_valid_date(d) || zel::format_date(d) != text) return false;
    out = d;
    return true;
}

zel::CallClock clock_at(const zel::Date& d, int hour, int minute)
{
    return {d.year, d.month, d.day, weekday_of(d), hour, minute, 0};
}

}  // namespace zelcfg
