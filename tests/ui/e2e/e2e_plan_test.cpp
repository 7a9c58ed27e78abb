// The end-to-end plan judged by the runtime's own rules, whatever the minute the test
// starts at: for the whole time the plan must hold, the office is open, no schedule flag is
// set, and each route and the default transfer dial what the plan says. Its calendar steps
// are checked against known dates, across month, year and leap-day ends.
#include <gtest/gtest.h>

#include <string>

#include "e2e_plan.h"
#include "schedule.h"
#include "status_pictures.h"
#include "transfer.h"

namespace {

using e2e::Moment;
using zel::Date;

zel::ClockTexts texts_at(const Moment& m)
{
    zel::CallClock c;
    c.year = m.date.year;
    c.month = m.date.month;
    c.day = m.date.day;
    c.weekday = (e2e::weekday_of(m.date) + 1) % 7;  // the clock counts from Sunday
    c.hour = m.minute / 60;
    c.minute = m.minute % 60;
    return zel::make_clock_texts(c);
}

TEST(PlanCalendar, StepsAndWeekdaysMatchKnownDates)
{
    struct Row {
        Date from;
        int days;
        Date to;
        int weekday;  // of `to`, 0 Monday
    };
    const Row rows[] = {
        {{12, 7, 2026}, 0, {12, 7, 2026}, 0},    // a Monday
        {{12, 7, 2026}, -1, {12, 6, 2026}, 6},
        {{12, 31, 2026}, 1, {1, 1, 2027}, 4},    // New Year's Day 2027 is a Friday
        {{1, 1, 2027}, -1, {12, 31, 2026}, 3},
        {{2, 28, 2028}, 1, {2, 29, 2028}, 1},    // a leap day, a Tuesday
        {{2, 28, 2027}, 1, {3, 1, 2027}, 0},
        {{3, 1, 2100}, -1, {2, 28, 2100}, 6},    // 2100 is no leap year
        {{2, 29, 2000}, 7, {3, 7, 2000}, 1},
        {{1, 1, 1970}, 0, {1, 1, 1970}, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(zel::format_date(r.from) + " + " + std::to_string(r.days));
        const Date got = e2e::add_days(r.from, r.days);
        EXPECT_EQ(zel::format_date(got), zel::format_date(r.to));
        EXPECT_EQ(e2e::weekday_of(got), r.weekday);
    }
    // Minutes roll the date over at midnight, forwards and backwards.
    const Moment late{{12, 31, 2026}, 23 * 60 + 30};
    EXPECT_EQ(zel::format_date(e2e::later(late, 29).date), "12/31/2026");
    EXPECT_EQ(zel::format_date(e2e::later(late, 30).date), "01/01/2027");
    EXPECT_EQ(e2e::later(late, 30).minute, 0);
    EXPECT_EQ(zel::format_date(e2e::later(Moment{{1, 1, 2027}, 10}, -11).date), "12/31/2026");
    EXPECT_EQ(e2e::later(Moment{{1, 1, 2027}, 10}, -11).minute, 23 * 60 + 59);
    EXPECT_EQ(e2e::time_text(0), "12:00:00 AM");
    EXPECT_EQ(e2e::time_text(12 * 60 + 5), "12:05:00 PM");
    EXPECT_EQ(e2e::time_text(23 * 60 + 59), "11:59:00 PM");
}

TEST(PlanHolds, AtEveryStartingMinuteForItsWholeTime)
{
    const std::string folder = "C:\\v";
    // Start days: an ordinary Monday, a Sunday before a month end, New Year's Eve, the
    // eve of a leap day.
    const Date starts[] = {{12, 7, 2026}, {5, 30, 2027}, {12, 31, 2026}, {2, 28, 2028}};
    for (const Date& day : starts) {
        for (int minute = 0; minute < 24 * 60; ++minute) {
            const Moment start{day, minute};
            const e2e::Plan plan = e2e::make_plan(start);
            const zel::ConfigRecord rec = e2e::planned_record(plan, folder);
            const std::string open_greeting = folder + "\\" + e2e::voice_of(plan, zel::Field::open_greeting_vox)->file;
            for (int elapsed : {0, 1, e2e::kHoldMinutes}) {
                const Moment at = e2e::later(start, elapsed);
                const zel::ClockTexts now = texts_at(at);
                SCOPED_TRACE("plan made " + now.date + " at minute " + std::to_string(minute) + ", now " + now.time);
                const zel::ScheduleOutcome s = zel::evaluate_schedule(rec, now);
                EXPECT_EQ(s.rule, zel::ScheduleRule::weekday_open);
                EXPECT_EQ(s.greeting, open_greeting);
                EXPECT_FALSE(s.closed);
                EXPECT_FALSE(s.special_open);
                EXPECT_NE(now.date, zel::format_date(plan.holiday));
                EXPECT_NE(now.date, zel::format_date(plan.special));
                for (const e2e::Route& r : plan.routes) {
                    ASSERT_EQ(zel::find_route(rec, r.ext), r.row);
                    const zel::TransferPlan t = zel::prepare_route_transfer(rec, r.row, now.time, s);
                    EXPECT_EQ(std::string(t.dial), r.dial) << "route " << r.ext;
                    EXPECT_EQ(std::string(zel::transfer_picture_name(t.picture)), r.picture);
                    EXPECT_EQ(t.voice, folder + "\\" + e2e::voice_of(plan, zel::Field::route_vox, r.row)->file);
                }
                const zel::TransferPlan d = zel::prepare_default_transfer(rec);
                EXPECT_EQ(std::string(d.dial), plan.default_dial);
                EXPECT_EQ(std::string(zel::transfer_picture_name(d.picture)), plan.default_picture);
            }
            // The first minute that fails says enough.
            if (HasFailure()) return;
        }
    }
}

TEST(PlanHolds, TheHolidayAndTheSpecialDayAreTheOnesTheRuntimeFinds)
{
    const Moment start{{12, 7, 2026}, 21 * 60 + 13};
    const e2e::Plan plan = e2e::make_plan(start);
    const zel::ConfigRecord rec = e2e::planned_record(plan, "C:\\v");
    // On those days instead of today, their own greetings and flags rule.
    const zel::ScheduleOutcome holiday = zel::evaluate_schedule(rec, texts_at(Moment{plan.holiday, 12 * 60}));
    EXPECT_EQ(holiday.rule, zel::ScheduleRule::holiday);
    EXPECT_EQ(holiday.greeting, "C:\\v\\holiday.vox");
    const zel::ScheduleOutcome special = zel::evaluate_schedule(rec, texts_at(Moment{plan.special, 12 * 60}));
    EXPECT_EQ(special.rule, zel::ScheduleRule::special_open);
    EXPECT_EQ(special.greeting, "C:\\v\\spopen.vox");
    const zel::ScheduleOutcome late = zel::evaluate_schedule(rec, texts_at(Moment{plan.special, 17 * 60 + 1}));
    EXPECT_EQ(late.rule, zel::ScheduleRule::special_closed);
    // The day closed all day is three days on.
    const Moment closed_day{e2e::add_days(start.date, 3), 12 * 60};
    const zel::ScheduleOutcome closed = zel::evaluate_schedule(rec, texts_at(closed_day));
    EXPECT_NE(closed.rule, zel::ScheduleRule::weekday_open);
    EXPECT_TRUE(closed.closed);
}

}  // namespace
