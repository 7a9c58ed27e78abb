// Clock texts of a call. Each text is formatted with blank-padded fields, as the
// record's readers expect, and then the blanks in the first and fourth positions
// become '0'; a field that is wider than its place is cut at the text's fixed length.
#include "call_clock.h"

#include <cstdio>

#include "text_number.h"

namespace zel {

namespace {

constexpr const char* kDayNames[7] = {"SUN", "MON", "TUE", "WEN", "THU", "FRI", "SAT"};

// Keeps exactly `length` characters of `formatted` (padding with '0' should the
// formatting have produced fewer) and zero-fills positions 0 and 3.
std::string fixed_text(const char* formatted, std::size_t length)
{
    std::string text(formatted);
    text.resize(length, '0');
    if (text[0] == ' ') text[0] = '0';
    if (text[3] == ' ') text[3] = '0';
    return text;
}

}  // namespace

const char* day_name_of(int weekday)
{
    if (weekday < 0 || weekday > 6) return "";
    return kDayNames[weekday];
}

ClockTexts make_clock_texts(const CallClock& now)
{
    ClockTexts texts;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%2d:%2d", now.hour, now.minute);
    texts.time = fixed_text(buffer, 5);
    std::snprintf(buffer, sizeof buffer, "%2d/%2d/%4d", now.month, now.day, now.year);
    texts.date = fixed_text(buffer, 10);
    texts.day = day_name_of(now.weekday);
    return texts;
}

HourMinute read_time_text(const std::string& time_text)
{
    HourMinute hm;
    const std::string_view text(time_text);
    hm.hour = leading_number(text.substr(0, 2));
    if (text.size() > 3) hm.minute = leading_number(text.substr(3, 2));
    return hm;
}

}  // namespace zel
