// The one reading of the local clock that a call is evaluated against, and the three
// texts made from it: the time text HH:MM, the date text MM/DD/YYYY and the day name.
#pragma once

#include <string>

namespace zel {

// A moment as the platform's local clock gives it. The Win32 side fills it from
// GetLocalTime; tests choose any moment.
struct CallClock {
    int year = 0;
    int month = 0;    // 1-12
    int day = 0;      // 1-31
    int weekday = 0;  // 0 Sunday .. 6 Saturday
    int hour = 0;     // 0-23
    int minute = 0;   // 0-59
    int second = 0;   // 0-59; only the call log reads it, every rule works by the minute
};

struct ClockTexts {
    std::string time;  // "09:05": always 5 characters
    std::string date;  // "07/03/2009": always 10 characters, compared as text with record dates
    std::string day;   // "FRI"; "WEN" for Wednesday; empty for a weekday outside 0-6
};

ClockTexts make_clock_texts(const CallClock& now);

// The day name for a weekday number (0 Sunday .. 6 Saturday); "" outside that range.
const char* day_name_of(int weekday);

// Hour and minute, read back from a time text by the leading digits of characters
// 0-1 and 3-4, the way every schedule and window comparison reads the current time.
struct HourMinute {
    int hour = 0;
    int minute = 0;
};
HourMinute read_time_text(const std::string& time_text);

}  // namespace zel
