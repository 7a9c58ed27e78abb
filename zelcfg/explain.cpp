// The findings of check --explain, one small function per kind, each in record order.
#include "explain.h"

#include <cctype>
#include <cstdio>

#include "calendar.h"
#include "text_number.h"
#include "transfer.h"

namespace zelcfg {

namespace {

using zel::Field;

std::string name_of(Field f, int index)
{
    std::string name = zel::field_def(f).name;
    if (zel::field_count(f) > 1) name += "[" + std::to_string(index) + "]";
    return name;
}

std::string route_name(const zel::ConfigRecord& cmd, int r)
{
    const std::string ext = zel::get_field(cmd, Field::route_ext, r);
    return "route " + std::to_string(r) + (ext.empty() ? std::string() : " (" + ext + ")");
}

// Minutes since midnight as the runtime reads a record time: hours and minutes only.
int minute_of(const std::string& time_text)
{
    const zel::TimeOfDay t = zel::parse_time(time_text);
    return t.hour * 60 + t.minute;
}

void dates(const zel::ConfigRecord& cmd, const ExplainOptions& o, std::vector<Explanation>& out)
{
    const long today = days_from_date(o.today);
    const struct {
        Field field;
        const char* what;
        const char* instead;
    } tables[] = {
        {Field::special_date, "special day", "the holiday or weekly greeting"},
        {Field::holiday_date, "holiday", "the weekly greeting"},
    };
    for (const auto& t : tables) {
        for (int i = 0; i < zel::field_count(t.field); ++i) {
            const std::string text = zel::get_field(cmd, t.field, i);
            if (text.empty()) continue;
            zel::Date d;
            if (!parse_day_text(text, d)) {
                zel::Date guess;
                // Input text read by a fixed format, never used as one.
                if (std::sscanf(text.c_str(), "%d/%d/%d", &guess.month, &guess.day, &guess.year) != 3) guess = {};
                const std::string fix = zel::is_valid_date(guess)
                                            ? "write it as " + zel::format_date(guess)
                                            : std::string("write a real date as MM/DD/YYYY, or clear it");
                out.push_back({name_of(t.field, i),
                               "\"" + text + "\" is not a date in the form MM/DD/YYYY, so it never matches the day of a call",
                               std::string("get ") + t.instead + " on the day that was meant", fix});
            } else if (days_from_date(d) < today) {
                out.push_back({name_of(t.field, i),
                               text + " is past; a date names one year, so this " + t.what + " will not come again",
                               std::string("get ") + t.instead + " on that day in later years",
                               "set the coming date, or clear it"});
            }
        }
    }
}

void holiday_and_special(const zel::ConfigRecord& cmd, std::vector<Explanation>& out)
{
    for (int h = 0; h < zel::field_count(Field::holiday_date); ++h) {
        const std::string date = zel::get_field(cmd, Field::holiday_date, h);
        if (date.empty()) continue;
        for (int s = 0; s < zel::field_count(Field::special_date); ++s) {
            if (zel::get_field(cmd, Field::special_date, s) != date) continue;
            out.push_back({name_of(Field::holiday_date, h),
                           date + " is also special day " + std::to_string(s) + "; the special day wins",
                           "hear special_open_vox or special_closed_vox by the special hours, never holiday_vox",
                           "clear holiday_date[" + std::to_string(h) + "] or special_date[" + std::to_string(s) + "]"});
            break;
        }
    }
}

void duplicate_extensions(const zel::ConfigRecord& cmd, std::vector<Explanation>& out)
{
    for (int r = 0; r < zel::kRouteCount; ++r) {
        const std::string ext = zel::get_field(cmd, Field::route_ext, r);
        if (ext.empty()) continue;
        const int winner = zel::find_route(cmd, ext);  // the runtime's own lookup
        if (winner == r) continue;
        out.push_back({name_of(Field::route_ext, r),
                       "extension " + ext + " is also route " + std::to_string(winner) + "'s (" +
                           zel::get_field(cmd, Field::route_ext, winner) + "); the later route wins",
                       "who key " + ext + " always reach route " + std::to_string(winner) + "; route " +
                           std::to_string(r) + " can never be reached",
                       "give route " + std::to_string(r) + " another extension, or clear it"});
    }
}

void empty_alternates(const zel::ConfigRecord& cmd, std::vector<Explanation>& out)
{
    for (int r = 0; r < zel::kRouteCount; ++r) {
        if (zel::get_field(cmd, Field::route_ext, r).empty()) continue;
        const std::string from = zel::get_field(cmd, Field::route_from_time, r);
        const std::string to = zel::get_field(cmd, Field::route_to_time, r);
        // Equal window texts always dial the port, closed office or not.
        if (from == to || !zel::get_field(cmd, Field::route_alt_number, r).empty()) continue;
        out.push_back({name_of(Field::route_alt_number, r),
                       route_name(cmd, r) + " dials its alternate from " + from + " to " + to +
                           " and whenever the office is closed, but the alternate is empty",
                       "get the flash followed by nothing and are left on the line",
                       "set route_alt_number[" + std::to_string(r) + "], or make route_from_time[" + std::to_string(r) +
                           "] and route_to_time[" + std::to_string(r) + "] equal"});
    }
}

void one_minute_days(const zel::ConfigRecord& cmd, std::vector<Explanation>& out)
{
    for (int d = 0; d < zel::field_count(Field::day_name); ++d) {
        const std::string name = zel::get_field(cmd, Field::day_name, d);
        if (name.empty()) continue;
        // The runtime reads only the slot's second byte: '0' there means open.
        if (cmd.bytes[zel::field_offset(Field::day_closed, d) + 1] != '0') continue;
        const std::string open = zel::get_field(cmd, Field::day_open_time, d);
        const std::string close = zel::get_field(cmd, Field::day_close_time, d);
        if (minute_of(open) != minute_of(close)) continue;
        out.push_back({name_of(Field::day_close_time, d),
                       name + " is open, and opens and closes at the same minute (" + open + ")",
                       "hear the open greeting during that one minute and the closed greeting all the rest of the day",
                       "set the closing time, or mark " + name + " closed all day"});
    }
}

void half_routes(const zel::ConfigRecord& cmd, std::vector<Explanation>& out)
{
    for (int r = 0; r < zel::kRouteCount; ++r) {
        const bool ext = !zel::get_field(cmd, Field::route_ext, r).empty();
        const bool voice = !zel::get_field(cmd, Field::route_vox, r).empty();
        const bool port = !zel::get_field(cmd, Field::route_port, r).empty();
        const std::string n = std::to_string(r);
        if (!ext) {
            if (voice || port) {
                out.push_back({name_of(Field::route_ext, r),
                               "route " + n + " has a " + (port ? "port" : "voice") + " but no extension",
                               "cannot reach it", "set route_ext[" + n + "], or clear the route"});
            }
            continue;
        }
        if (!voice && !port) {
            out.push_back({name_of(Field::route_port, r), route_name(cmd, r) + " has neither a voice nor a port",
                           "hear nothing, while a PLAY FAILED box on Vornline's screen holds the line until someone "
                           "closes it, then get the flash followed by nothing and are left on the line",
                           "set route_port[" + n + "] and route_vox[" + n + "], or clear route_ext[" + n + "]"});
        } else if (voice && !port) {
            out.push_back({name_of(Field::route_port, r), route_name(cmd, r) + " has a voice but no port",
                           "hear the voice, then get the flash followed by nothing whenever the port is dialled, "
                           "and are left on the line",
                           "set route_port[" + n + "]"});
        } else if (port && !voice) {
            out.push_back({name_of(Field::route_vox, r), route_name(cmd, r) + " has a port but no voice",
                           "hear nothing before the transfer, while a PLAY FAILED box on Vornline's screen holds "
                           "the line until someone closes it",
                           "choose route_vox[" + n + "]"});
        }
    }
}

// Voices the schedule can come to play, left empty.
void empty_greetings(const zel::ConfigRecord& cmd, std::vector<Explanation>& out)
{
    const struct {
        Field dates;
        Field voice;
        const char* what;
    } uses[] = {
        {Field::special_date, Field::special_open_vox, "special days are listed"},
        {Field::special_date, Field::special_closed_vox, "special days are listed"},
        {Field::holiday_date, Field::holiday_vox, "holidays are listed"},
    };
    for (const auto& u : uses) {
        if (!zel::get_field(cmd, u.voice).empty()) continue;
        bool listed = false;
        for (int i = 0; i < zel::field_count(u.dates); ++i) listed = listed || !zel::get_field(cmd, u.dates, i).empty();
        if (!listed) continue;
        out.push_back({zel::field_def(u.voice).name, std::string(u.what) + " but this greeting is empty",
                       "hear no greeting on those days, while a PLAY FAILED box on Vornline's screen holds the line "
                       "until someone closes it",
                       std::string("choose ") + zel::field_def(u.voice).name});
    }
}

bool readable(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

void missing_voices(const zel::ConfigRecord& cmd, const ExplainOptions& o, std::vector<Explanation>& out)
{
    std::vector<std::pair<Field, int>> voices = {
        {Field::open_greeting_vox, 0},  {Field::closed_greeting_vox, 0}, {Field::special_open_vox, 0},
        {Field::special_closed_vox, 0}, {Field::holiday_vox, 0},         {Field::wrong_ext_vox, 0},
        {Field::no_input_vox, 0},       {Field::system_error_vox, 0},
    };
    for (int r = 0; r < zel::kRouteCount; ++r) {
        if (!zel::get_field(cmd, Field::route_ext, r).empty()) voices.emplace_back(Field::route_vox, r);
    }
    for (const auto& [field, index] : voices) {
        const std::string path = zel::get_field(cmd, field, index);
        if (path.empty()) continue;
        const std::string local = resolve_voice_path(path, o);
        if (local.empty() || readable(local)) continue;
        out.push_back({name_of(field, index),
                       path + " cannot be read" + (local == path ? std::string() : " (looked for as " + local + ")"),
                       "hear nothing where it should play, while a PLAY FAILED box on Vornline's screen holds the "
                       "line until someone closes it",
                       "put the file there, or choose another"});
    }
}

bool same_path_char(char a, char b)
{
    if ((a == '\\' || a == '/') && (b == '\\' || b == '/')) return true;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

std::vector<Explanation> explain_record(const zel::ConfigRecord& cmd, const ExplainOptions& options)
{
    std::vector<Explanation> out;
    dates(cmd, options, out);
    holiday_and_special(cmd, out);
    one_minute_days(cmd, out);
    duplicate_extensions(cmd, out);
    half_routes(cmd, out);
    empty_alternates(cmd, out);
    empty_greetings(cmd, out);
    missing_voices(cmd, options, out);
    return out;
}

std::string explanation_line(const Explanation& e)
{
    return e.field + ": " + e.problem + "; callers " + e.caller + "; fix: " + e.fix;
}

bool parse_voice_root(const std::string& text, VoiceRoot& root)
{
    const std::size_t eq = text.find('=');
    root.record_prefix = eq == std::string::npos ? text : text.substr(0, eq);
    root.local_dir = eq == std::string::npos ? text : text.substr(eq + 1);
    return !root.record_prefix.empty() && !root.local_dir.empty();
}

std::string resolve_voice_path(const std::string& path, const ExplainOptions& options)
{
    for (const VoiceRoot& root : options.voice_roots) {
        std::string prefix = root.record_prefix;
        while (prefix.size() > 1 && (prefix.back() == '/' || prefix.back() == '\\')) prefix.pop_back();
        if (path.size() <= prefix.size() + 1) continue;
        bool under = path[prefix.size()] == '/' || path[prefix.size()] == '\\';
        for (std::size_t i = 0; under && i < prefix.size(); ++i) under = same_path_char(path[i], prefix[i]);
        if (!under) continue;
        std::string rest = path.substr(prefix.size() + 1);
        if (!options.paths_as_they_are) {
            for (char& c : rest) {
                if (c == '\\') c = '/';
            }
        }
        std::string dir = root.local_dir;
        if (dir.back() != '/' && dir.back() != '\\') dir += '/';
        return dir + rest;
    }
    return options.paths_as_they_are ? path : std::string();
}

}  // namespace zelcfg
