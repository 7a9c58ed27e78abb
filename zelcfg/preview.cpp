// The preview walks every minute of every day through evaluate_schedule and, for each
// reachable extension, prepare_route_transfer, and merges neighbouring minutes that came
// out the same. So whatever the runtime would do at a minute is what the preview shows
// for it, with no second copy of the rules to drift apart.
#include "preview.h"

#include <cstdio>
#include <utility>

#include "calendar.h"
#include "call_clock.h"
#include "schedule.h"
#include "text_number.h"
#include "transfer.h"

namespace zelcfg {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

// Routes callers can reach, one per extension number, in route order of first mention.
std::vector<RoutePreview> reachable_routes(const zel::ConfigRecord& cmd)
{
    std::vector<RoutePreview> routes;
    for (int r = 0; r < zel::kRouteCount; ++r) {
        const std::string ext = zel::get_field(cmd, zel::Field::route_ext, r);
        const int route = zel::find_route(cmd, ext);
        if (route < 0) continue;
        bool seen = false;
        for (const RoutePreview& p : routes) seen = seen || p.route == route;
        if (!seen) routes.push_back({zel::get_field(cmd, zel::Field::route_ext, route), route, {}});
    }
    return routes;
}

bool same(const GreetingPeriod& a, const GreetingPeriod& b)
{
    return a.field == b.field && a.path == b.path && a.reason == b.reason;
}

bool same(const DialPeriod& a, const DialPeriod& b)
{
    return a.dial == b.dial && a.alternate == b.alternate;
}

// Adds minute `minute` to the day's periods: the last period grows when the minute came
// out the same, otherwise a new one starts.
template <typename Period>
void extend(std::vector<Period>& periods, int minute, Period now)
{
    if (!periods.empty() && periods.back().to == minute && same(periods.back(), now)) {
        periods.back().to = minute + 1;
        return;
    }
    now.from = minute;
    now.to = minute + 1;
    periods.push_back(std::move(now));
}

// The record's 12-hour form of a minute of the day.
std::string record_time_text(int minute_of_day, int second)
{
    zel::TimeOfDay t;
    t.hour = minute_of_day / 60;
    t.minute = minute_of_day % 60;
    t.second = second;
    return zel::format_time(t);
}

// A period in the record's own 12-hour form, both ends included to the second: the
// runtime reads only hours and minutes, so every second of the last minute belongs to it.
std::string span_text(int from, int to)
{
    return record_time_text(from, 0) + " - " + record_time_text(to - 1, 59);
}

void json_string(std::string& out, const std::string& text)
{
    out += '"';
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7f) {
            // Record bytes above 0x7f carry no declared encoding; read as Latin-1 they stay
            // valid JSON and can be told apart.
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(c));
            out += esc;
        } else {
            out += ch;
        }
    }
    out += '"';
}

}  // namespace

std::string clock_text(int minute_of_day)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", (minute_of_day / 60) % 100, minute_of_day % 60);
    return text;
}

Preview build_preview(const zel::ConfigRecord& cmd, const zel::Date& from, int days)
{
    Preview p;
    p.default_dial = zel::prepare_default_transfer(cmd).dial;
    const std::vector<RoutePreview> routes = reachable_routes(cmd);
    const long first = days_from_date(from);
    for (int i = 0; i < days; ++i) {
        DayPreview day;
        day.date = date_from_days(first + i);
        day.routes = routes;
        for (int m = 0; m < kMinutesPerDay; ++m) {
            const zel::ClockTexts texts = zel::make_clock_texts(clock_at(day.date, m / 60, m % 60));
            if (m == 0) day.weekday = texts.day;
            const zel::ScheduleOutcome s = zel::evaluate_schedule(cmd, texts);
            extend(day.periods, m,
                   GreetingPeriod{0, 0, zel::field_def(zel::greeting_field(s.rule)).name, s.greeting,
                                  zel::schedule_reason(s, texts)});
            for (RoutePreview& r : day.routes) {
                const zel::TransferPlan plan = zel::prepare_route_transfer(cmd, r.route, texts.time, s);
                extend(r.periods, m, DialPeriod{0, 0, plan.dial, plan.alternate});
            }
        }
        p.days.push_back(std::move(day));
    }
    return p;
}

std::string preview_text(const Preview& p)
{
    std::string out = "Default transfer (no entry, or a wrong one twice): " + p.default_dial + "\n";
    for (const DayPreview& d : p.days) {
        out += "\n" + zel::format_date(d.date) + " " + d.weekday + "\n";
        out += "  Greeting\n";
        for (const GreetingPeriod& g : d.periods) {
            out += "    " + span_text(g.from, g.to) + "  " + g.field + " " + (g.path.empty() ? "<empty>" : g.path) +
                   "  [" + g.reason + "]\n";
        }
        for (const RoutePreview& r : d.routes) {
            out += "  Extension " + r.ext + " (route " + std::to_string(r.route) + ")\n";
            for (const DialPeriod& dp : r.periods) {
                out += "    " + span_text(dp.from, dp.to) + "  " + dp.dial + "  " +
                       (dp.alternate ? "alternate" : "port") + "\n";
            }
        }
    }
    return out;
}

std::string preview_json(const Preview& p)
{
    std::string out = "{\n  \"default_transfer\": ";
    json_string(out, p.default_dial);
    out += ",\n  \"days\": [";
    for (std::size_t i = 0; i < p.days.size(); ++i) {
        const DayPreview& d = p.days[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"date\": ";
        json_string(out, zel::format_date(d.date));
        out += ", \"weekday\": ";
        json_string(out, d.weekday);
        out += ",\n      \"periods\": [";
        for (std::size_t j = 0; j < d.periods.size(); ++j) {
            const GreetingPeriod& g = d.periods[j];
            out += j ? ",\n        {" : "\n        {";
            out += "\"from\": \"" + clock_text(g.from) + "\", \"to\": \"" + clock_text(g.to) + "\", \"greeting_field\": ";
            json_string(out, g.field);
            out += ", \"greeting\": ";
            json_string(out, g.path);
            out += ", \"reason\": ";
            json_string(out, g.reason);
            out += "}";
        }
        out += "],\n      \"routes\": [";
        for (std::size_t j = 0; j < d.routes.size(); ++j) {
            const RoutePreview& r = d.routes[j];
            out += j ? ",\n        {" : "\n        {";
            out += "\"ext\": ";
            json_string(out, r.ext);
            out += ", \"route\": " + std::to_string(r.route) + ", \"periods\": [";
            for (std::size_t k = 0; k < r.periods.size(); ++k) {
                const DialPeriod& dp = r.periods[k];
                out += k ? ", {" : "{";
                out += "\"from\": \"" + clock_text(dp.from) + "\", \"to\": \"" + clock_text(dp.to) + "\", \"dial\": ";
                json_string(out, dp.dial);
                out += std::string(", \"target\": \"") + (dp.alternate ? "alternate" : "port") + "\"}";
            }
            out += "]}";
        }
        out += "]}";
    }
    out += "\n  ]\n}\n";
    return out;
}

}  // namespace zelcfg
