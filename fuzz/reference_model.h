// A second, deliberately plain reading of the schedule and transfer rules, written
// straight from the rule tables and kept apart from runtime/core: the fuzz targets run
// both over the same record and clock and any difference is a fault in one of them.
// It follows the project's recorded choices where the rules leave one open: an unused
// route (empty extension) never matches, a window within one day is [from, to), an empty
// day name matches no weekday line.
#pragma once

#include <string>
#include <string_view>

#include "config_record.h"

namespace refmodel {

struct HM {
    int hour = 0;
    int minute = 0;
};

inline bool before(HM a, HM b) { return a.hour < b.hour || (a.hour == b.hour && a.minute < b.minute); }
inline bool after(HM a, HM b) { return before(b, a); }

// Leading decimal digits; a value past 10^10 stays there (leading zeros add nothing).
inline long long digits_value(std::string_view text)
{
    constexpr long long kCap = 10'000'000'000LL;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
        if (v > kCap) v = kCap;
    }
    return v;
}

// A record number as the int every reader makes of it: large values all read alike.
inline int small_number(std::string_view text)
{
    const long long v = digits_value(text);
    return v > 999'999'999 ? 999'999'999 : static_cast<int>(v);
}

inline std::string_view chars(std::string_view text, std::size_t at, std::size_t n)
{
    return at >= text.size() ? std::string_view() : text.substr(at, n);
}

// A record time text, 12-hour clock: "12" AM is hour 0, a PM hour other than 12 gains 12.
inline HM record_time(std::string_view text)
{
    HM t{small_number(chars(text, 0, 2)), small_number(chars(text, 3, 2))};
    const bool pm = text.size() > 9 && text[9] == 'P';
    if (pm && t.hour != 12) t.hour += 12;
    if (!pm && t.hour == 12) t.hour = 0;
    return t;
}

// The call's own "HH:MM" text.
inline HM call_time(std::string_view text)
{
    return HM{small_number(chars(text, 0, 2)), small_number(chars(text, 3, 2))};
}

struct Schedule {
    std::string greeting;
    bool closed = false;
    bool special_open = false;
};

inline Schedule schedule(const zel::ConfigRecord& r, const std::string& time, const std::string& date,
                         const std::string& day)
{
    using zel::Field;
    const HM now = call_time(time);
    Schedule s;
    bool special = false;
    for (int j = 0; j < 54; ++j) special = special || zel::get_field(r, Field::special_date, j) == date;
    if (special) {
        const HM open = record_time(zel::get_field(r, Field::special_open_time, 0));
        const HM close = record_time(zel::get_field(r, Field::special_close_time, 0));
        if (before(now, open) || after(now, close)) {
            s.greeting = zel::get_field(r, Field::special_closed_vox);
            s.closed = true;
        } else {
            s.greeting = zel::get_field(r, Field::special_open_vox);
            s.special_open = true;
        }
        return s;
    }
    for (int i = 0; i < 60; ++i) {
        if (zel::get_field(r, Field::holiday_date, i) == date) {
            s.greeting = zel::get_field(r, Field::holiday_vox);
            s.closed = true;
            return s;
        }
    }
    s.greeting = zel::get_field(r, Field::closed_greeting_vox);
    s.closed = true;
    for (int d = 0; d < 7 && !day.empty(); ++d) {
        if (zel::get_field(r, Field::day_name, d) != day) continue;
        const unsigned char second = r.bytes[zel::field_offset(Field::day_closed, d) + 1];
        const HM open = record_time(zel::get_field(r, Field::day_open_time, d));
        const HM close = record_time(zel::get_field(r, Field::day_close_time, d));
        if (second != '0') {
            s.greeting = zel::get_field(r, Field::closed_greeting_vox);
            s.closed = true;
        } else if (before(now, open) || after(now, close)) {
            s.greeting = zel::get_field(r, Field::closed_greeting_vox);
            s.closed = false;
        } else {
            s.greeting = zel::get_field(r, Field::open_greeting_vox);
            s.closed = false;
        }
    }
    return s;
}

inline int find_route(const zel::ConfigRecord& r, std::string_view entry)
{
    const long long wanted = digits_value(entry);
    int found = -1;
    for (int k = 0; k < 16; ++k) {
        const std::string ext = zel::get_field(r, zel::Field::route_ext, k);
        if (!ext.empty() && digits_value(ext) == wanted) found = k;
    }
    return found;
}

inline std::string commas(int n)
{
    if (n < 0) n = 0;
    if (n > 5) n = 5;
    return std::string(static_cast<std::size_t>(n), ',');
}

inline std::string flash(const zel::ConfigRecord& r)
{
    return "&" + commas(small_number(zel::get_field(r, zel::Field::int_transfer_delay)));
}

inline std::string route_dial(const zel::ConfigRecord& r, int k, const std::string& time, const Schedule& s)
{
    using zel::Field;
    const std::string from = zel::get_field(r, Field::route_from_time, k);
    const std::string to = zel::get_field(r, Field::route_to_time, k);
    bool alternate = false;
    if (from != to) {
        const HM f = record_time(from), t = record_time(to), now = call_time(time);
        if (after(f, t)) {
            alternate = !before(now, f) || before(now, t);
        } else {
            alternate = !before(now, f) && before(now, t);
        }
    }
    if (s.closed) alternate = true;
    if (s.special_open) alternate = false;
    if (from == to) alternate = false;
    std::string target;
    if (!alternate) {
        target = zel::get_field(r, Field::route_port, k);
    } else {
        const std::string alt = zel::get_field(r, Field::route_alt_number, k);
        if (alt.size() <= 5) {
            target = alt;
        } else {
            target = alt.substr(0, 1) + commas(small_number(zel::get_field(r, Field::ext_transfer_delay))) +
                     alt.substr(1);
        }
    }
    return flash(r) + target;
}

inline std::string default_dial(const zel::ConfigRecord& r)
{
    return flash(r) + zel::get_field(r, zel::Field::default_port);
}

}  // namespace refmodel
