// Text forms of numbers, times and dates, read by fixed character positions.
#include "text_number.h"

#include <cstdio>

namespace zel {

int leading_number(std::string_view text)
{
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (value > 99'999'999) return 999'999'999;
        value = value * 10 + (c - '0');
    }
    return value;
}

namespace {

std::string_view part(std::string_view text, std::size_t at, std::size_t length)
{
    if (at >= text.size()) return {};
    return text.substr(at, length);
}

}  // namespace

TimeOfDay parse_time(std::string_view text)
{
    TimeOfDay t;
    t.hour = leading_number(part(text, 0, 2));
    t.minute = leading_number(part(text, 3, 2));
    t.second = leading_number(part(text, 6, 2));
    const bool afternoon = text.size() > 9 && text[9] == 'P';
    if (afternoon && t.hour != 12) t.hour += 12;
    if (!afternoon && t.hour == 12) t.hour = 0;
    return t;
}

std::string format_time(const TimeOfDay& t)
{
    int h12 = t.hour % 12;
    if (h12 == 0) h12 = 12;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %s", h12 % 100, t.minute % 100, t.second % 100,
                  t.hour >= 12 ? "PM" : "AM");
    return text;
}

Date parse_date(std::string_view text)
{
    Date d;
    d.month = leading_number(part(text, 0, 2));
    d.day = leading_number(part(text, 3, 2));
    d.year = leading_number(part(text, 6, 4));
    return d;
}

bool is_valid_date(const Date& d)
{
    if (d.year < 1601 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int last = days[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= last;
}

std::string format_date(const Date& d)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", d.month % 100, d.day % 100, d.year % 10000);
    return text;
}

}  // namespace zel
