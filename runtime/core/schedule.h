// Schedule evaluation: from the command record and the call's clock texts, which
// greeting the caller hears and in which schedule state the call's transfers are made.
#pragma once

#include <string>

#include "call_clock.h"
#include "config_record.h"

namespace zel {

// Which rule decided; kept with the outcome so that a trace or a test can tell why.
enum class ScheduleRule {
    special_open,        // a special-hours day, within its hours
    special_closed,      // a special-hours day, outside its hours
    holiday,
    weekday_open,        // today's weekday line, within its hours
    weekday_after_hours, // today's weekday line, outside its hours (closed flag stays false)
    weekday_closed,      // today's weekday line is marked closed all day
    no_weekday,          // no weekday line carries today's name
};

struct ScheduleOutcome {
    std::string greeting;       // the voice file path to play, copied from the record
    bool closed = false;        // transfers go to each route's alternate number
    bool special_open = false;  // transfers go to each route's port
    ScheduleRule rule = ScheduleRule::no_weekday;
    int line = -1;              // the table line that decided (the last match); -1 for no_weekday
};

// Special-hours days first (hours from line 0), then holidays, then the weekday lines.
// Every line of a table is examined and the last matching one decides.
ScheduleOutcome evaluate_schedule(const ConfigRecord& cmd, const ClockTexts& now);

// The record field whose voice file a rule plays.
Field greeting_field(ScheduleRule rule);

// Why the greeting was chosen, in the operator's terms: "special day 3 (open)",
// "special day 3 (closed)", "holiday 12" (line indexes as zelcfg names them), "weekly: TUE",
// "weekly: TUE (after hours)", "weekly: TUE (closed all day)", "weekly: no line for TUE".
std::string schedule_reason(const ScheduleOutcome& outcome, const ClockTexts& now);

}  // namespace zel
