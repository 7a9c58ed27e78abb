// Days counted from 1 January 1970 (a Thursday) for the record's Gregorian dates, and back,
// after H. Hinnant's civil calendar algorithms; for laying out runs of days.
#pragma once

#include "text_number.h"

namespace civil {

inline long days_from_date(const zel::Date& date)
{
    const int y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

inline zel::Date date_from_days(long z)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return zel::Date{month, day, year};
}

inline zel::Date add_days(const zel::Date& date, int days) { return date_from_days(days_from_date(date) + days); }

}  // namespace civil
