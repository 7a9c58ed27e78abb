// zelcfg preview: day by day, which greeting plays when and why, and where a call to each
// extension goes, found by asking the runtime's own schedule and transfer functions about
// every minute of the day. Nothing here decides anything about a call by itself.
#pragma once

#include <string>
#include <vector>

#include "config_record.h"
#include "text_number.h"

namespace zelcfg {

// A stretch of one day, in minutes since midnight: [from, to), to at most 1440.
struct GreetingPeriod {
    int from = 0;
    int to = 0;
    std::string field;   // the voice field, "holiday_vox"
    std::string path;    // its text
    std::string reason;  // schedule_reason
};

struct DialPeriod {
    int from = 0;
    int to = 0;
    std::string dial;
    bool alternate = false;
};

struct RoutePreview {
    std::string ext;  // route_ext of the route a caller keying it reaches
    int route = -1;   // that route (the highest with the number)
    std::vector<DialPeriod> periods;
};

struct DayPreview {
    zel::Date date;
    std::string weekday;  // the runtime's day name: "MON", "WEN", ...
    std::vector<GreetingPeriod> periods;
    std::vector<RoutePreview> routes;
};

struct Preview {
    std::vector<DayPreview> days;
    std::string default_dial;
};

inline constexpr int kMaxPreviewDays = 366;

Preview build_preview(const zel::ConfigRecord& cmd, const zel::Date& from, int days);

// "HH:MM", 24-hour; 1440 is "24:00".
std::string clock_text(int minute_of_day);

std::string preview_text(const Preview& p);
std::string preview_json(const Preview& p);

}  // namespace zelcfg
