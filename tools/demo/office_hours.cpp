// The demo office's week and its one time window.
#include "office_hours.h"

#include <algorithm>
#include <array>
#include <ctime>

#include "text_number.h"

namespace demo {

namespace {

// Weekly lines run Monday first; the clock counts from Sunday.
constexpr std::array<const char*, 7> kDayNames{"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
constexpr int kDayMinutes = 24 * 60;
constexpr int kUsualOpen = 8 * 60;
constexpr int kUsualClose = 18 * 60;
// The last minute a weekday line can hold: the closing minute itself still counts as open.
constexpr int kLastMinute = kDayMinutes - 1;

int line_of_weekday(int weekday) { return (weekday + 6) % 7; }

struct Day {
    bool closed = false;
    int open = kUsualOpen;
    int close = kUsualClose;
};

std::string clock_text(int minutes)
{
    minutes = ((minutes % kDayMinutes) + kDayMinutes) % kDayMinutes;
    return zel::format_time(zel::TimeOfDay{minutes / 60, minutes % 60, 0});
}

std::string field(const char* name, int index) { return std::string(name) + "[" + std::to_string(index) + "]"; }

// Keeps the line open over [from, to], minutes of that line's own day.
void keep_open(Day& day, int from, int to)
{
    if (day.closed) {
        day.closed = false;
        day.open = from;
        day.close = to;
    }
    day.open = std::min(day.open, from);
    day.close = std::max(day.close, to);
}

}  // namespace

std::vector<Assignment> office_plan(const Moment& now, int route)
{
    std::array<Day, 7> week;
    week[5].closed = week[6].closed = true;

    const int minute = now.hour * 60 + now.minute;
    const int today = line_of_weekday(now.weekday);
    const int from = minute - kMarginMinutes;
    const int to = minute + kMarginMinutes;
    keep_open(week[static_cast<std::size_t>(today)], std::max(from, 0), std::min(to, kLastMinute));
    // Calls of a run that starts late in the evening may happen after midnight.
    if (to > kLastMinute) keep_open(week[static_cast<std::size_t>((today + 1) % 7)], 0, to - kDayMinutes);

    std::vector<Assignment> plan;
    for (int d = 0; d < 7; ++d) {
        const Day& day = week[static_cast<std::size_t>(d)];
        plan.push_back({field("day_name", d), kDayNames[static_cast<std::size_t>(d)]});
        plan.push_back({field("day_closed", d), day.closed ? "01" : "00"});
        plan.push_back({field("day_open_time", d), clock_text(day.open)});
        plan.push_back({field("day_close_time", d), clock_text(day.close)});
    }
    // A window that crosses midnight (from later than to) is one Vornline understands.
    plan.push_back({field("route_from_time", route), clock_text(from)});
    plan.push_back({field("route_to_time", route), clock_text(to)});
    return plan;
}

Moment moment_now()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return Moment{local.tm_wday, local.tm_hour, local.tm_min};
}

}  // namespace demo
