// Picker readings shared by the weekly, call route and holiday dialogs.
#include "picker_value.h"

#include <tuple>

namespace zel {

bool is_valid_time(const TimeOfDay& t)
{
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

std::optional<TimeOfDay> read_picker_time(std::string_view stored)
{
    const TimeOfDay t = parse_time(stored);
    if (!is_valid_time(t)) return std::nullopt;
    return t;
}

std::string picker_time_text(const std::optional<TimeOfDay>& shown, const TimeOfDay& initial)
{
    return format_time(shown ? *shown : initial);
}

bool date_before(const Date& a, const Date& b)
{
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

std::optional<Date> read_picker_date(std::string_view stored, const Date& first, const Date& last)
{
    const Date d = parse_date(stored);
    if (!is_valid_date(d) || date_before(d, first) || date_before(last, d)) return std::nullopt;
    return d;
}

std::string picker_date_text(const std::optional<Date>& shown)
{
    return shown ? format_date(*shown) : std::string();
}

}  // namespace zel
