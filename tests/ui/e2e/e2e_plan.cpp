// The end-to-end test's phone system, made from the clock at the test's start.
#include "e2e_plan.h"

#include <algorithm>
#include <cstdio>

#include "calendar.h"

namespace e2e {

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr const char* kDayNames[7] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};

int wrap(int minute) { return ((minute % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay; }


std::string voice_path(const std::string& folder, const Voice& v) { return folder + "\\" + v.file; }

}  // namespace

int weekday_of(const zel::Date& d) { return (zelcfg::weekday_of(d) + 6) % 7; }  // Monday is row 0

zel::Date add_days(const zel::Date& d, int days)
{
    return zelcfg::date_from_days(zelcfg::days_from_date(d) + days);
}

Moment later(const Moment& m, int minutes)
{
    const int total = m.minute + minutes;
    const int day_shift = total >= 0 ? total / kMinutesPerDay : -((kMinutesPerDay - 1 - total) / kMinutesPerDay);
    return Moment{add_days(m.date, day_shift), wrap(total)};
}

std::string time_text(int minute) { return zel::format_time(zel::TimeOfDay{wrap(minute) / 60, wrap(minute) % 60, 0}); }

Plan make_plan(const Moment& now)
{
    Plan p;
    p.made = now;

    // Today open for two hours either side of now, within the day; tomorrow open all day,
    // in case the test runs past midnight; one day closed all day, the rest office hours.
    const int today = weekday_of(now.date);
    for (int d = 0; d < 7; ++d) {
        DayHours& h = p.week[static_cast<std::size_t>(d)];
        if (d == today) {
            h.opens = std::max(0, now.minute - 120);
            h.closes = std::min(kMinutesPerDay - 1, now.minute + 120);
        } else if (d == (today + 1) % 7) {
            h.opens = 0;
            h.closes = kMinutesPerDay - 1;
        } else if (d == (today + 3) % 7) {
            h.closed_all_day = true;
        } else {
            h.opens = 8 * 60;
            h.closes = 18 * 60;
        }
    }

    // Equal times: no window, the port whatever the alternate. A window that opens three
    // hours from now: the port. A window from an hour ago to two hours on: the outside
    // number, its first digit followed by the external delay's three pauses.
    const int at_six_hours = wrap(now.minute + 360);
    p.routes = {
        Route{0, "2001", "201", "305", at_six_hours, at_six_hours, "&,,201", "ONE"},
        Route{1, "2002", "202", "95550002", wrap(now.minute + 180), wrap(now.minute + 300), "&,,202", "TWO"},
        Route{2, "2003", "203", "95551234", wrap(now.minute - 60), wrap(now.minute + 120), "&,,9,,,5551234", "THREE"},
    };

    p.holiday = add_days(now.date, -1);
    p.special = add_days(now.date, 7);

    using zel::Field;
    p.voices = {
        {Field::open_greeting_vox, 0, "open.vox", 60},
        {Field::closed_greeting_vox, 0, "closed.vox", 60},
        {Field::wrong_ext_vox, 0, "wrong.vox", 4},
        {Field::system_error_vox, 0, "goodbye.vox", 120},
        {Field::route_vox, 0, "route1.vox", 1},
        {Field::route_vox, 1, "route2.vox", 1},
        {Field::route_vox, 2, "route3.vox", 1},
        {Field::no_input_vox, 0, "noinput.vox", 1},
        {Field::special_open_vox, 0, "spopen.vox", 1},
        {Field::special_closed_vox, 0, "spclosed.vox", 1},
        {Field::holiday_vox, 0, "holiday.vox", 1},
    };
    return p;
}

const Voice* voice_of(const Plan& plan, zel::Field field, int index)
{
    for (const Voice& v : plan.voices) {
        if (v.field == field && v.index == index) return &v;
    }
    return nullptr;
}

std::vector<Expected> expected_fields(const Plan& p, const std::string& voice_folder)
{
    using zel::Field;
    std::vector<Expected> e = {
        {Field::info_line_1, 0, p.info_line_1},
        {Field::info_line_2, 0, p.info_line_2},
        {Field::answer_ring, 0, p.answer_ring},
        {Field::int_transfer_delay, 0, p.int_delay},
        {Field::ext_transfer_delay, 0, p.ext_delay},
        {Field::vox_type_index, 0, std::to_string(p.vox_entry)},
        {Field::vox_type_name, 0, p.vox_name},
        {Field::validated_flag, 0, "1"},
        {Field::default_port, 0, p.default_port},
        {Field::transfer_vox, 0, ""},
    };
    for (int d = 0; d < 7; ++d) {
        const DayHours& h = p.week[static_cast<std::size_t>(d)];
        e.push_back({Field::day_closed, d, h.closed_all_day ? "01" : "00"});
        // A day saved as closed keeps what a new file holds: no name, the default times.
        e.push_back({Field::day_name, d, h.closed_all_day ? "" : kDayNames[d]});
        e.push_back({Field::day_open_time, d, h.closed_all_day ? "11:11:11 AM" : time_text(h.opens)});
        e.push_back({Field::day_close_time, d, h.closed_all_day ? "11:11:11 PM" : time_text(h.closes)});
    }
    for (int r = 0; r < 16; ++r) {
        const auto planned = std::find_if(p.routes.begin(), p.routes.end(), [&](const Route& x) { return x.row == r; });
        if (planned == p.routes.end()) {
            for (Field f : {Field::route_ext, Field::route_vox, Field::route_port, Field::route_alt_number})
                e.push_back({f, r, ""});
            continue;
        }
        e.push_back({Field::route_ext, r, planned->ext});
        e.push_back({Field::route_port, r, planned->port});
        e.push_back({Field::route_alt_number, r, planned->alt});
        e.push_back({Field::route_from_time, r, time_text(planned->from)});
        e.push_back({Field::route_to_time, r, time_text(planned->to)});
    }
    for (int i = 0; i < zel::field_count(Field::holiday_date); ++i)
        e.push_back({Field::holiday_date, i, i == 0 ? zel::format_date(p.holiday) : ""});
    for (int j = 0; j < zel::field_count(Field::special_date); ++j) {
        e.push_back({Field::special_date, j, j == 0 ? zel::format_date(p.special) : ""});
        e.push_back({Field::special_open_time, j, time_text(p.special_opens)});
        e.push_back({Field::special_close_time, j, time_text(p.special_closes)});
    }
    for (const Voice& v : p.voices) e.push_back({v.field, v.index, voice_path(voice_folder, v)});
    return e;
}

zel::ConfigRecord planned_record(const Plan& plan, const std::string& voice_folder)
{
    zel::ConfigRecord rec = zel::default_record();
    for (const Expected& x : expected_fields(plan, voice_folder)) zel::set_field(rec, x.field, x.index, x.text);
    return rec;
}

}  // namespace e2e
