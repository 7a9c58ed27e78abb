// Transfer dialing. Every dial string is assembled in a fixed buffer with explicit
// bounds; record slots already limit what a command file can hold, but the builder
// does not rely on that.
#include "transfer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "call_clock.h"
#include "text_number.h"

namespace zel {

namespace {

using Clock = std::pair<int, int>;  // (hour, minute): compared hour first

Clock clock_of(std::string_view time_text)
{
    const TimeOfDay t = parse_time(time_text);
    return {t.hour, t.minute};
}

int capped_pauses(int n)
{
    return std::clamp(n, 0, kMaxPauses);
}

}  // namespace

int find_route(const ConfigRecord& cmd, std::string_view entry)
{
    const int wanted = leading_number(entry);
    int found = -1;
    for (int r = 0; r < kRouteCount; ++r) {
        const std::string ext = get_field(cmd, Field::route_ext, r);
        // An unused route would otherwise catch "0000", "*" and "#" entries and
        // send the caller to an empty voice and no target.
        if (ext.empty()) continue;
        if (leading_number(ext) == wanted) found = r;
    }
    return found;
}

std::string flash_prefix(const ConfigRecord& cmd)
{
    const int pauses = capped_pauses(field_number(cmd, Field::int_transfer_delay));
    return "&" + std::string(static_cast<std::size_t>(pauses), ',');
}

bool in_alternate_window(std::string_view from_text, std::string_view to_text,
                         const std::string& time_text)
{
    if (from_text == to_text) return false;
    const Clock from = clock_of(from_text);
    const Clock to = clock_of(to_text);
    const HourMinute hm = read_time_text(time_text);
    const Clock now{hm.hour, hm.minute};
    if (from > to) return now >= from || now < to;  // the window passes midnight
    return now >= from && now < to;
}

bool use_alternate(const ConfigRecord& cmd, int route, const std::string& time_text,
                   const ScheduleOutcome& schedule)
{
    const std::string from = get_field(cmd, Field::route_from_time, route);
    const std::string to = get_field(cmd, Field::route_to_time, route);
    bool alternate = in_alternate_window(from, to, time_text);
    if (schedule.closed) alternate = true;
    if (schedule.special_open) alternate = false;
    if (from == to) alternate = false;
    return alternate;
}

std::string alternate_target(std::string_view alt_number, int pauses)
{
    if (alt_number.size() <= 5) return std::string(alt_number);
    std::string target(alt_number.substr(0, 1));
    target.append(static_cast<std::size_t>(capped_pauses(pauses)), ',');
    target.append(alt_number.substr(1));
    return target;
}

bool build_dial_string(char* out, std::size_t size, std::string_view prefix, std::string_view target)
{
    if (out == nullptr || size == 0) return false;
    const std::size_t room = size - 1;
    if (prefix.size() > room) {
        // A flash without all of its pauses would dial into the ringing line too
        // early; dial nothing rather than part of a prefix.
        out[0] = '\0';
        return false;
    }
    std::memcpy(out, prefix.data(), prefix.size());
    const std::size_t take = std::min(target.size(), room - prefix.size());
    std::memcpy(out + prefix.size(), target.data(), take);
    out[prefix.size() + take] = '\0';
    return take == target.size();
}

TransferPlan prepare_route_transfer(const ConfigRecord& cmd, int route, const std::string& time_text,
                                    const ScheduleOutcome& schedule)
{
    TransferPlan plan;
    if (route < 0 || route >= kRouteCount) return prepare_default_transfer(cmd);
    plan.route = route;
    plan.picture = route + 1;
    plan.voice = get_field(cmd, Field::route_vox, route);
    plan.alternate = use_alternate(cmd, route, time_text, schedule);
    const std::string target =
        plan.alternate
            ? alternate_target(get_field(cmd, Field::route_alt_number, route),
                               field_number(cmd, Field::ext_transfer_delay))
            : get_field(cmd, Field::route_port, route);
    plan.cut = !build_dial_string(plan.dial, sizeof plan.dial, flash_prefix(cmd), target);
    return plan;
}

TransferPlan prepare_default_transfer(const ConfigRecord& cmd)
{
    TransferPlan plan;
    plan.voice = get_field(cmd, Field::no_input_vox);
    plan.picture = kDefaultTransferPicture;
    plan.route = -1;
    plan.cut = !build_dial_string(plan.dial, sizeof plan.dial, flash_prefix(cmd),
                                  get_field(cmd, Field::default_port));
    return plan;
}

}  // namespace zel
