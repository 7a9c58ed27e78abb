// Schedule evaluation. Times compare hour first, then minute, so that both the opening
// and the closing minute count as open; dates and day names compare as exact texts,
// which is why a stored "3/7/2009" never matches the date text "03/07/2009".
#include "schedule.h"

#include <cstdio>
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

// The last line whose field equals the text, -1 when none does.
int last_matching_line(const ConfigRecord& cmd, Field f, const std::string& text)
{
    int found = -1;
    for (int i = 0; i < field_count(f); ++i) {
        if (get_field(cmd, f, i) == text) found = i;
    }
    return found;
}

void decide(ScheduleOutcome& out, const ConfigRecord& cmd, ScheduleRule rule, int line, bool closed,
            bool special_open)
{
    out.rule = rule;
    out.line = line;
    out.greeting = get_field(cmd, greeting_field(rule));
    out.closed = closed;
    out.special_open = special_open;
}

}  // namespace

ScheduleOutcome evaluate_schedule(const ConfigRecord& cmd, const ClockTexts& texts)
{
    ScheduleOutcome out;
    const HourMinute hm = read_time_text(texts.time);
    const Clock now{hm.hour, hm.minute};

    if (const int line = last_matching_line(cmd, Field::special_date, texts.date); line >= 0) {
        // The tool writes the same hours into every special-hours line; line 0 is read.
        const Clock open = record_time(cmd, Field::special_open_time, 0);
        const Clock close = record_time(cmd, Field::special_close_time, 0);
        if (outside_hours(now, open, close)) {
            decide(out, cmd, ScheduleRule::special_closed, line, true, false);
        } else {
            decide(out, cmd, ScheduleRule::special_open, line, false, true);
        }
        return out;
    }

    if (const int line = last_matching_line(cmd, Field::holiday_date, texts.date); line >= 0) {
        decide(out, cmd, ScheduleRule::holiday, line, true, false);
        return out;
    }

    // No line for today means closed. An empty day name (a clock without a valid
    // weekday) must not find a weekday line whose name was never written.
    decide(out, cmd, ScheduleRule::no_weekday, -1, true, false);
    if (texts.day.empty()) return out;
    for (int d = 0; d < field_count(Field::day_name); ++d) {
        if (get_field(cmd, Field::day_name, d) != texts.day) continue;
        // Only the slot's second byte is tested; anything but '0' there (a NUL too)
        // means closed all day.
        const unsigned char second = cmd.bytes[field_offset(Field::day_closed, d) + 1];
        if (second != '0') {
            decide(out, cmd, ScheduleRule::weekday_closed, d, true, false);
        } else if (outside_hours(now, record_time(cmd, Field::day_open_time, d),
                                 record_time(cmd, Field::day_close_time, d))) {
            decide(out, cmd, ScheduleRule::weekday_after_hours, d, false, false);
        } else {
            decide(out, cmd, ScheduleRule::weekday_open, d, false, false);
        }
    }
    return out;
}

Field greeting_field(ScheduleRule rule)
{
    switch (rule) {
    case ScheduleRule::special_open: return Field::special_open_vox;
    case ScheduleRule::special_closed: return Field::special_closed_vox;
    case ScheduleRule::holiday: return Field::holiday_vox;
    case ScheduleRule::weekday_open: return Field::open_greeting_vox;
    case ScheduleRule::weekday_after_hours:
    case ScheduleRule::weekday_closed:
    case ScheduleRule::no_weekday: break;
    }
    return Field::closed_greeting_vox;
}

std::string schedule_reason(const ScheduleOutcome& outcome, const ClockTexts& now)
{
    char text[64];
    const char* day = now.day.c_str();
    switch (outcome.rule) {
    case ScheduleRule::special_open: std::snprintf(text, sizeof text, "special day %d (open)", outcome.line); break;
    case ScheduleRule::special_closed:
        std::snprintf(text, sizeof text, "special day %d (closed)", outcome.line);
        break;
    case ScheduleRule::holiday: std::snprintf(text, sizeof text, "holiday %d", outcome.line); break;
    case ScheduleRule::weekday_open: std::snprintf(text, sizeof text, "weekly: %.8s", day); break;
    case ScheduleRule::weekday_after_hours: std::snprintf(text, sizeof text, "weekly: %.8s (after hours)", day); break;
    case ScheduleRule::weekday_closed: std::snprintf(text, sizeof text, "weekly: %.8s (closed all day)", day); break;
    case ScheduleRule::no_weekday: std::snprintf(text, sizeof text, "weekly: no line for %.8s", day); break;
    }
    return text;
}

}  // namespace zel
