// Numbers, times of day and dates as the record stores them as text.
#pragma once

#include <string>
#include <string_view>

namespace zel {

// The value of the leading decimal digits; a text without them reads as 0.
// Values beyond 9 digits saturate rather than overflow.
int leading_number(std::string_view text);

struct TimeOfDay {
    int hour = 0;    // 0-23 for every well-formed text
    int minute = 0;
    int second = 0;
    bool operator==(const TimeOfDay&) const = default;
};

// Reads a 12-hour time text ("09:05:00 PM") by fixed positions: hour from characters
// 0-1, minutes 3-4, seconds 6-7, each by its leading digits; afternoon exactly when
// character 9 is 'P'. 12 AM is hour 0, 12 PM hour 12. Any text converts; "" is 00:00:00.
TimeOfDay parse_time(std::string_view text);

// The 11-character form a time picker shows with "hh':'mm':'ss' 'tt": "09:05:00 PM".
std::string format_time(const TimeOfDay& t);

struct Date {
    int month = 0;
    int day = 0;
    int year = 0;
    bool operator==(const Date&) const = default;
};

// Reads a date text by fixed positions: month 0-1, day 3-4, year 6-9, by leading digits.
Date parse_date(std::string_view text);

// True for a real calendar date (Gregorian, years 1601-9999).
bool is_valid_date(const Date& d);

// "MM/DD/YYYY" with leading zeros.
std::string format_date(const Date& d);

}  // namespace zel
