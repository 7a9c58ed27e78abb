// The benchmarks' full command record and the moments of a call against it.
#include "full_record.h"

#include <cstdio>

#include "calendar.h"

namespace zelbench {

namespace {

void put(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& text)
{
    // Every text here fits its slot; a cut would quietly change the workload.
    if (zel::set_field(rec, f, index, text) != zel::SetResult::ok) {
        std::fprintf(stderr, "full record: %s[%d] does not take \"%s\"\n", zel::field_def(f).name, index,
                     text.c_str());
    }
}

std::string two_digits(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

}  // namespace

zel::Date add_days(const zel::Date& d, int days)
{
    return zelcfg::date_from_days(zelcfg::days_from_date(d) + days);
}

int weekday_of(const zel::Date& d) { return zelcfg::weekday_of(d); }

zel::Date special_day(int j) { return add_days({1, 2, 2030}, j); }
zel::Date holiday(int i) { return add_days({6, 1, 2030}, i); }

std::string route_entry(int route) { return std::to_string(2000 + route); }
std::string route_port(int route) { return std::to_string(300 + route); }
std::string route_alt(int route) { return "91415555" + std::to_string(1000 + route); }

std::vector<std::string> VoiceSet::all() const
{
    std::vector<std::string> v{open,         closed,       wrong_ext,      transfer, system_error,
                               no_input,     special_open, special_closed, holiday};
    v.insert(v.end(), routes.begin(), routes.end());
    return v;
}

VoiceSet voice_set(const std::string& voice_folder)
{
    VoiceSet s;
    s.open = voice_folder + "open.vox";
    s.closed = voice_folder + "closed.vox";
    s.wrong_ext = voice_folder + "wrong_ext.vox";
    s.transfer = voice_folder + "transfer.vox";
    s.system_error = voice_folder + "goodbye.vox";
    s.no_input = voice_folder + "no_input.vox";
    s.special_open = voice_folder + "special_open.vox";
    s.special_closed = voice_folder + "special_closed.vox";
    s.holiday = voice_folder + "holiday.vox";
    for (int r = 0; r < kRoutes; ++r) s.routes.push_back(voice_folder + "route" + two_digits(r) + ".vox");
    return s;
}

zel::ConfigRecord full_record(const FullRecordOptions& o)
{
    using zel::Field;
    zel::ConfigRecord rec = zel::default_record();
    put(rec, Field::info_line_1, 0, "Main office auto-attendant");
    put(rec, Field::info_line_2, 0, "Sixteen routes, every special day and holiday in use");
    put(rec, Field::info_line_3, 0, "Benchmark workload");
    put(rec, Field::answer_ring, 0, std::to_string(o.answer_ring));
    put(rec, Field::int_transfer_delay, 0, std::to_string(o.int_transfer_delay));
    put(rec, Field::ext_transfer_delay, 0, std::to_string(o.ext_transfer_delay));
    put(rec, Field::vox_type_index, 0, std::to_string(o.vox_type_index));
    put(rec, Field::vox_type_name, 0, "DRT_8KHZ");
    put(rec, Field::outside_line_digit, 0, "9");
    put(rec, Field::default_port, 0, "299");
    put(rec, Field::validated_flag, 0, o.validated ? "1" : "0");

    const VoiceSet v = voice_set(o.voice_folder);
    put(rec, Field::open_greeting_vox, 0, v.open);
    put(rec, Field::closed_greeting_vox, 0, v.closed);
    put(rec, Field::wrong_ext_vox, 0, v.wrong_ext);
    put(rec, Field::transfer_vox, 0, v.transfer);
    put(rec, Field::system_error_vox, 0, v.system_error);
    put(rec, Field::no_input_vox, 0, v.no_input);
    put(rec, Field::special_open_vox, 0, v.special_open);
    put(rec, Field::special_closed_vox, 0, v.special_closed);
    put(rec, Field::holiday_vox, 0, v.holiday);

    for (int j = 0; j < kSpecialDays; ++j) {
        put(rec, Field::special_date, j, zel::format_date(special_day(j)));
        put(rec, Field::special_open_time, j, "08:00:00 AM");
        put(rec, Field::special_close_time, j, "06:00:00 PM");
    }
    for (int i = 0; i < kHolidays; ++i) put(rec, Field::holiday_date, i, zel::format_date(holiday(i)));

    const char* names[7] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        put(rec, Field::day_name, d, names[d]);
        put(rec, Field::day_closed, d, "00");
        put(rec, Field::day_open_time, d, "09:00:00 AM");
        put(rec, Field::day_close_time, d, "05:00:00 PM");
    }
    for (int r = 0; r < kRoutes; ++r) {
        put(rec, Field::route_ext, r, route_entry(r));
        put(rec, Field::route_vox, r, v.routes[static_cast<std::size_t>(r)]);
        put(rec, Field::route_port, r, route_port(r));
        put(rec, Field::route_from_time, r, "05:00:00 PM");
        put(rec, Field::route_to_time, r, "08:00:00 AM");
        put(rec, Field::route_alt_number, r, route_alt(r));
    }
    return rec;
}

zel::CallClock call_moment(CallMoment m)
{
    zel::Date date{};
    int hour = 10, minute = 30;
    switch (m) {
    case CallMoment::special_last:
        date = special_day(kSpecialDays - 1);
        break;
    case CallMoment::holiday_last:
        date = holiday(kHolidays - 1);
        break;
    case CallMoment::weekday_last:
        // The first Sunday after the holidays, in the evening.
        date = add_days(holiday(kHolidays - 1), 1);
        while (weekday_of(date) != 0) date = add_days(date, 1);
        hour = 19;
        break;
    }
    return {date.year, date.month, date.day, weekday_of(date), hour, minute};
}

const char* moment_name(CallMoment m)
{
    switch (m) {
    case CallMoment::special_last: return "special_last";
    case CallMoment::holiday_last: return "holiday_last";
    case CallMoment::weekday_last: return "weekday_last";
    }
    return "?";
}

}  // namespace zelbench
