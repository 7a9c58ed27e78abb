// The benchmarks' workload: a command record filled the way a busy office fills it, with
// every special-hours day, every holiday, all sixteen routes, every voice and a full week,
// and the moments of a call that make each table be searched to its last line.
#pragma once

#include <string>
#include <vector>

#include "call_clock.h"
#include "config_record.h"
#include "text_number.h"

namespace zelbench {

inline constexpr int kSpecialDays = 54;
inline constexpr int kHolidays = 60;
inline constexpr int kRoutes = 16;

// Calendar arithmetic for choosing dates (proleptic Gregorian).
zel::Date add_days(const zel::Date& d, int days);
int weekday_of(const zel::Date& d);  // 0 Sunday .. 6 Saturday

// Distinct dates: the special-hours days run from 2 January 2030, the holidays from
// 1 June 2030, one day apart, so no date is both.
zel::Date special_day(int j);
zel::Date holiday(int i);

// Route r (0-15): extension 2000+r, port 300+r, an outside number of 12 characters as
// alternate, and a window from 05:00 PM to 08:00 AM (across midnight).
std::string route_entry(int route);
std::string route_port(int route);
std::string route_alt(int route);

// The voice file names the record uses, in `voice_folder` (which ends in a separator).
struct VoiceSet {
    std::string open, closed, wrong_ext, transfer, system_error, no_input;
    std::string special_open, special_closed, holiday;
    std::vector<std::string> routes;  // kRoutes
    std::vector<std::string> all() const;
};
VoiceSet voice_set(const std::string& voice_folder);

struct FullRecordOptions {
    std::string voice_folder = "C:\\voice\\";
    int int_transfer_delay = 2;
    int ext_transfer_delay = 3;
    int answer_ring = 1;
    int vox_type_index = 2;  // 8 kHz
    bool validated = true;
};

// Special hours 08:00 AM to 06:00 PM; weekdays MON..SUN ("WEN" for Wednesday) open
// 09:00 AM to 05:00 PM, none closed all day; default port 299.
zel::ConfigRecord full_record(const FullRecordOptions& options = {});

// Moments of a call, each making the schedule look through every line of its tables:
// the last special-hours day; the last holiday (after all special days missed); and a
// Sunday evening that is neither (after all special days and holidays missed, with the
// week's last line matching).
enum class CallMoment { special_last, holiday_last, weekday_last };
zel::CallClock call_moment(CallMoment m);
const char* moment_name(CallMoment m);

}  // namespace zelbench
