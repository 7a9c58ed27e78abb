// The demo office's week, made around the moment of the run: ordinary hours (08:00 to
// 18:00 on weekdays, closed at the weekend), widened where needed so that the office is
// open now and for the next hour whatever the day and time; and one route's time window
// that covers the same hour, so that its calls go to its outside number.
#pragma once

#include <string>
#include <vector>

namespace demo {

struct Moment {
    int weekday = 0;  // 0 Sunday .. 6 Saturday, as the local clock gives it
    int hour = 0;
    int minute = 0;
};

// One zelcfg assignment: "day_name[0]" and "MON".
struct Assignment {
    std::string field;
    std::string value;
};

// Minutes of margin on each side of the moment that the plan keeps open (and inside the
// route's window): the run and its calls happen well within it.
inline constexpr int kMarginMinutes = 60;

// The weekly lines (day_name, day_closed, day_open_time, day_close_time for the seven
// lines, Monday first) and the window (route_from_time, route_to_time) of `route`.
std::vector<Assignment> office_plan(const Moment& now, int route);

// The local clock now.
Moment moment_now();

}  // namespace demo
