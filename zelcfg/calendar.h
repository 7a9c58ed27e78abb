// Calendar days for zelcfg's previews and checks: the weekday of a date, the next day,
// today's date from the local clock, and the MM/DD/YYYY texts that the record and the
// runtime use for dates.
#pragma once

#include <string>
#include <string_view>

#include "call_clock.h"
#include "text_number.h"

namespace zelcfg {

// Days since 1 January 1970 (negative before it), proleptic Gregorian.
long days_from_date(const zel::Date& d);
zel::Date date_from_days(long days);

// 0 Sunday .. 6 Saturday.
int weekday_of(const zel::Date& d);

// Today by the local clock.
zel::Date today();

// Reads exactly "MM/DD/YYYY" naming a real day; false otherwise.
bool parse_day_text(std::string_view text, zel::Date& out);

// The clock a call on day `d` at hour:minute would read.
zel::CallClock clock_at(const zel::Date& d, int hour, int minute);

}  // namespace zelcfg
