// The demo office's week, checked the way Vornline will read it: its own schedule and
// transfer rules, at every minute of the hour that follows the moment of the run.
#include "office_hours.h"

#include <gtest/gtest.h>

#include "call_clock.h"
#include "config_record.h"
#include "schedule.h"
#include "transfer.h"

namespace demo {
namespace {

constexpr int kRoute = 2;

zel::ConfigRecord office(const Moment& now)
{
    zel::ConfigRecord rec = zel::default_record();
    const struct {
        zel::Field field;
        int index;
        const char* value;
    } base[] = {
        {zel::Field::open_greeting_vox, 0, "open.vox"},   {zel::Field::closed_greeting_vox, 0, "closed.vox"},
        {zel::Field::int_transfer_delay, 0, "2"},         {zel::Field::ext_transfer_delay, 0, "2"},
        {zel::Field::route_ext, kRoute, "1003"},          {zel::Field::route_port, kRoute, "203"},
        {zel::Field::route_alt_number, kRoute, "95550123"}, {zel::Field::route_vox, kRoute, "support.vox"},
    };
    for (const auto& b : base) EXPECT_EQ(zel::set_field(rec, b.field, b.index, b.value), zel::SetResult::ok);
    for (const Assignment& a : office_plan(now, kRoute)) {
        const std::size_t bracket = a.field.find('[');
        const auto field = zel::field_by_name(a.field.substr(0, bracket));
        EXPECT_TRUE(field.has_value()) << a.field;
        if (!field) continue;
        const int index = std::stoi(a.field.substr(bracket + 1));
        EXPECT_EQ(zel::set_field(rec, *field, index, a.value), zel::SetResult::ok) << a.field << "=" << a.value;
    }
    return rec;
}

// The moment `minutes` after `m`, with the weekday carried over midnight.
zel::CallClock later(const Moment& m, int minutes)
{
    int total = m.hour * 60 + m.minute + minutes;
    int weekday = m.weekday;
    while (total >= 24 * 60) {
        total -= 24 * 60;
        weekday = (weekday + 1) % 7;
    }
    while (total < 0) {
        total += 24 * 60;
        weekday = (weekday + 6) % 7;
    }
    return zel::CallClock{2026, 12, 7, weekday, total / 60, total % 60};
}

const Moment kMoments[] = {
    {1, 9, 30},   // Monday morning, inside the usual hours
    {2, 7, 0},    // Tuesday before the usual opening
    {4, 17, 30},  // Thursday, the usual closing inside the hour
    {3, 23, 30},  // Wednesday night: the hour runs into Thursday
    {5, 23, 59},  // Friday's last minute: the hour is Saturday's, usually closed
    {6, 12, 0},   // Saturday, usually closed
    {0, 0, 5},    // just after midnight on Sunday
    {0, 0, 0},
};

TEST(OfficePlan, OpenAndInTheWindowForTheWholeHourAfterTheMoment)
{
    for (const Moment& m : kMoments) {
        const zel::ConfigRecord rec = office(m);
        for (int k = 0; k < kMarginMinutes; ++k) {
            const zel::CallClock at = later(m, k);
            SCOPED_TRACE(testing::Message() << "weekday " << m.weekday << " " << m.hour << ":" << m.minute << " + "
                                            << k << " min");
            const zel::ClockTexts texts = zel::make_clock_texts(at);
            const zel::ScheduleOutcome schedule = zel::evaluate_schedule(rec, texts);
            ASSERT_EQ(schedule.rule, zel::ScheduleRule::weekday_open);
            ASSERT_EQ(schedule.greeting, "open.vox");
            ASSERT_FALSE(schedule.closed);
            const zel::TransferPlan plan = zel::prepare_route_transfer(rec, kRoute, texts.time, schedule);
            ASSERT_STREQ(plan.dial, "&,,9,,5550123");
        }
    }
}

TEST(OfficePlan, TheWindowIsOnlyAroundTheMoment)
{
    for (const Moment& m : kMoments) {
        const zel::ConfigRecord rec = office(m);
        SCOPED_TRACE(testing::Message() << "weekday " << m.weekday << " " << m.hour << ":" << m.minute);
        // Outside the window the route dials its port, whatever the schedule says there.
        for (int k : {-kMarginMinutes - 1, -kMarginMinutes - 30, kMarginMinutes + 1, 5 * 60}) {
            const zel::ClockTexts texts = zel::make_clock_texts(later(m, k));
            zel::ScheduleOutcome open_day;  // neither flag: the window alone decides
            EXPECT_FALSE(zel::use_alternate(rec, kRoute, texts.time, open_day)) << k;
        }
    }
}

TEST(OfficePlan, TheRestOfTheWeekKeepsOrdinaryHours)
{
    // Wednesday noon: only Wednesday's line is touched, and it already covers the hour.
    const std::vector<Assignment> plan = office_plan({3, 12, 0}, kRoute);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"day_name[0]", "MON"},           {"day_closed[0]", "00"},
        {"day_open_time[0]", "08:00:00 AM"}, {"day_close_time[0]", "06:00:00 PM"},
        {"day_name[2]", "WEN"},           {"day_closed[5]", "01"},
        {"day_closed[6]", "01"},          {"day_name[6]", "SUN"},
        {"route_from_time[2]", "11:00:00 AM"}, {"route_to_time[2]", "01:00:00 PM"},
    };
    for (const auto& [field, value] : expected) {
        bool found = false;
        for (const Assignment& a : plan) {
            if (a.field == field) {
                EXPECT_EQ(a.value, value) << field;
                found = true;
            }
        }
        EXPECT_TRUE(found) << field;
    }
    EXPECT_EQ(plan.size(), 7u * 4u + 2u);
}

TEST(OfficePlan, LateEveningWidensTodayAndOpensAClosedTomorrowOnlyForTheHour)
{
    const std::vector<Assignment> plan = office_plan({5, 23, 30}, kRoute);  // Friday 23:30
    auto value = [&](const std::string& field) {
        for (const Assignment& a : plan) {
            if (a.field == field) return a.value;
        }
        return std::string("(none)");
    };
    EXPECT_EQ(value("day_close_time[4]"), "11:59:00 PM");   // Friday to its last minute
    EXPECT_EQ(value("day_closed[5]"), "00");                // Saturday opened ...
    EXPECT_EQ(value("day_open_time[5]"), "12:00:00 AM");    // ... from midnight
    EXPECT_EQ(value("day_close_time[5]"), "12:30:00 AM");   // ... for what the hour needs
    EXPECT_EQ(value("route_from_time[2]"), "10:30:00 PM");  // a window across midnight
    EXPECT_EQ(value("route_to_time[2]"), "12:30:00 AM");
}

}  // namespace
}  // namespace demo
