// Schedule evaluation. Times compare hour first, then minute, so that both the opening
// and the closing minute count as open; dates and day names compare as exact texts,
// which is why a stored "3/7/2009" never matches the date text "03/07/2009".
#include "schedule.h"

#include <utility>

#include "text_number.h"

namespace zel {

namespace {

using Clock = std::pair<int, int>;  // (hour, minute): compared hour first

Clock record_time(const ConfigRecord& cmd, Field f, int index)
{
    const TimeOfDay t = parse_time(get_field(cmd, f, index));
    return {t.hour, t.minute};
}

// Outside [open, close]: before the opening minute or after the closing minute.
bool outside_hours(Clock now, Clock open, Clock close)
{
    return now < open || now > close;
}

bool any_line_matches(const ConfigRecord& cmd, Field f, const std::string& text)
{
    bool found = false;
    for (int i = 0; i < field_count(f); ++i) {
        if (get_field(cmd, f, i) == text) found = true;
    }
    return found;
}

}  // namespace

ScheduleOutcome evaluate_schedule(const ConfigRecord& cmd, const ClockTexts& texts)
{
    ScheduleOutcome out;
    const HourMinute hm = read_time_text(texts.time);
    const Clock now{hm.hour, hm.minute};

    if (any_line_matches(cmd, Field::special_date, texts.date)) {
        // The tool writes the same hours into every special-hours line; line 0 is read.
        const Clock open = record_time(cmd, Field::special_open_time, 0);
        const Clock close = record_time(cmd, Field::special_close_time, 0);
        if (outside_hours(now, open, close)) {
            out.greeting = get_field(cmd, Field::special_closed_vox);
            out.closed = true;
            out.rule = ScheduleRule::special_closed;
        } else {
            out.greeting = get_field(cmd, Field::special_open_vox);
            out.special_open = true;
            out.rule = ScheduleRule::special_open;
        }
        return out;
    }

    if (any_line_matches(cmd, Field::holiday_date, texts.date)) {
        out.greeting = get_field(cmd, Field::holiday_vox);
        out.closed = true;
        out.rule = ScheduleRule::holiday;
        return out;
    }

    // No line for today means closed. An empty day name (a clock without a valid
    // weekday) must not find a weekday line whose name was never written.
    out.greeting = get_field(cmd, Field::closed_greeting_vox);
    out.closed = true;
    out.rule = ScheduleRule::no_weekday;
    if (texts.day.empty()) return out;
    for (int d = 0; d < field_count(Field::day_name); ++d) {
        if (get_field(cmd, Field::day_name, d) != texts.day) continue;
        // Only the slot's second byte is tested; anything but '0' there (a NUL too)
        // means closed all day.
        const unsigned char second = cmd.bytes[field_offset(Field::day_closed, d) + 1];
        if (second != '0') {
            out.greeting = get_field(cmd, Field::closed_greeting_vox);
            out.closed = true;
            out.rule = ScheduleRule::weekday_closed;
        } else if (outside_hours(now, record_time(cmd, Field::day_open_time, d),
                                 record_time(cmd, Field::day_close_time, d))) {
            out.greeting = get_field(cmd, Field::closed_greeting_vox);
            out.closed = false;
            out.rule = ScheduleRule::weekday_after_hours;
        } else {
            out.greeting = get_field(cmd, Field::open_greeting_vox);
            out.closed = false;
            out.rule = ScheduleRule::weekday_open;
        }
    }
    return out;
}

}  // namespace zel
