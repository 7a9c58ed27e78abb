// Which greeting plays and which schedule flags a call carries.
#include <gtest/gtest.h>

#include <string>

#include "call_clock.h"
#include "schedule.h"
#include "test_record.h"
#include "text_number.h"

using zel::ConfigRecord;
using zel::Field;
using zel::ScheduleRule;
using zel::test::office_record;
using zel::test::put;

namespace {

const std::string kOpen = "C:\\vox\\open.vox";
const std::string kClosed = "C:\\vox\\closed.vox";
const std::string kSpOpen = "C:\\vox\\sp_open.vox";
const std::string kSpClosed = "C:\\vox\\sp_closed.vox";
const std::string kHoliday = "C:\\vox\\holiday.vox";

// Friday 3 July 2009 at the given time.
zel::ClockTexts friday(int hour, int minute)
{
    return zel::make_clock_texts({2009, 7, 3, 5, hour, minute});
}

struct Expect {
    std::string greeting;
    bool closed;
    bool special_open;
};

void expect_outcome(const Expect& e, const zel::ScheduleOutcome& got, const std::string& what)
{
    EXPECT_EQ(e.greeting, got.greeting) << what;
    EXPECT_EQ(e.closed, got.closed) << what;
    EXPECT_EQ(e.special_open, got.special_open) << what;
}

void special_day(ConfigRecord& rec, int line, const std::string& date)
{
    put(rec, Field::special_date, line, date);
}

void special_hours(ConfigRecord& rec, const std::string& open, const std::string& close)
{
    for (int j = 0; j < 54; ++j) {
        put(rec, Field::special_open_time, j, open);
        put(rec, Field::special_close_time, j, close);
    }
}

}  // namespace

TEST(Schedule, SpecialHoursCountBothTheOpeningAndTheClosingMinuteAsOpen)
{
    ConfigRecord rec = office_record();
    special_day(rec, 0, "07/03/2009");
    special_hours(rec, "09:00:00 AM", "05:00:00 PM");
    const struct {
        int hour, minute;
        Expect e;
    } cases[] = {
        {8, 59, {kSpClosed, true, false}}, {9, 0, {kSpOpen, false, true}},
        {17, 0, {kSpOpen, false, true}},   {17, 1, {kSpClosed, true, false}},
        {0, 0, {kSpClosed, true, false}},  {12, 0, {kSpOpen, false, true}},
        {23, 59, {kSpClosed, true, false}},
    };
    for (const auto& c : cases) {
        expect_outcome(c.e, zel::evaluate_schedule(rec, friday(c.hour, c.minute)),
                       std::to_string(c.hour) + ":" + std::to_string(c.minute));
    }
}

TEST(Schedule, SpecialHoursAgreeWithTheRuleAtEveryMinute)
{
    const struct {
        const char* open;
        const char* close;
        int open_minute, close_minute;  // independent statement: open within [open, close]
    } hours[] = {
        {"09:00:00 AM", "05:00:00 PM", 9 * 60, 17 * 60},
        {"12:00:00 AM", "12:30:00 AM", 0, 30},
        {"12:15:00 PM", "11:59:00 PM", 12 * 60 + 15, 23 * 60 + 59},
        {"05:00:00 PM", "09:00:00 AM", 17 * 60, 9 * 60},  // closing before opening: never open
    };
    for (const auto& h : hours) {
        ConfigRecord rec = office_record();
        special_day(rec, 7, "07/03/2009");
        special_hours(rec, h.open, h.close);
        for (int m = 0; m < 24 * 60; ++m) {
            const bool open = m >= h.open_minute && m <= h.close_minute;
            const zel::ScheduleOutcome got = zel::evaluate_schedule(rec, friday(m / 60, m % 60));
            ASSERT_EQ(open, got.special_open) << h.open << " - " << h.close << " at minute " << m;
            ASSERT_EQ(!open, got.closed) << h.open << " - " << h.close << " at minute " << m;
            ASSERT_EQ(open ? kSpOpen : kSpClosed, got.greeting);
        }
    }
}

TEST(Schedule, SpecialHoursAreReadFromLineZeroWhicheverLineMatches)
{
    ConfigRecord rec = office_record();
    special_hours(rec, "09:00:00 AM", "10:00:00 AM");
    // A matching line's own hours would say open at 15:00; line 0's say closed.
    put(rec, Field::special_open_time, 53, "02:00:00 PM");
    put(rec, Field::special_close_time, 53, "04:00:00 PM");
    special_day(rec, 53, "07/03/2009");
    expect_outcome({kSpClosed, true, false}, zel::evaluate_schedule(rec, friday(15, 0)), "15:00");
    expect_outcome({kSpOpen, false, true}, zel::evaluate_schedule(rec, friday(9, 30)), "09:30");
}

TEST(Schedule, PrecedenceIsSpecialThenHolidayThenWeekday)
{
    const struct {
        const char* name;
        int special_line;  // -1: no special-hours line for today
        int holiday_line;  // -1: no holiday line for today
        int hour;
        Expect e;
        ScheduleRule rule;
    } cases[] = {
        {"special and holiday, open hours", 4, 10, 10, {kSpOpen, false, true}, ScheduleRule::special_open},
        {"special and holiday, closed hours", 0, 0, 20, {kSpClosed, true, false}, ScheduleRule::special_closed},
        {"holiday only, office hours", -1, 59, 10, {kHoliday, true, false}, ScheduleRule::holiday},
        {"holiday in line 0", -1, 0, 3, {kHoliday, true, false}, ScheduleRule::holiday},
        {"plain weekday, open", -1, -1, 10, {kOpen, false, false}, ScheduleRule::weekday_open},
        {"plain weekday, evening", -1, -1, 20, {kClosed, false, false}, ScheduleRule::weekday_after_hours},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = office_record();
        special_hours(rec, "09:00:00 AM", "05:00:00 PM");
        // Other dates in the tables must not interfere.
        special_day(rec, 1, "07/04/2009");
        put(rec, Field::holiday_date, 2, "07/02/2009");
        if (c.special_line >= 0) special_day(rec, c.special_line, "07/03/2009");
        if (c.holiday_line >= 0) put(rec, Field::holiday_date, c.holiday_line, "07/03/2009");
        const zel::ScheduleOutcome got = zel::evaluate_schedule(rec, friday(c.hour, 0));
        expect_outcome(c.e, got, c.name);
        EXPECT_EQ(c.rule, got.rule) << c.name;
    }
}

TEST(Schedule, WeekdayLinesDecideByNameAndTheLastMatchingLineWins)
{
    const struct {
        const char* name;
        const char* day;                // today's name
        int weekday;                    // 0 Sunday
        const char* line_names[7];      // day_name of lines 0-6
        const char* line_closed[7];     // day_closed of lines 0-6
        int hour;
        Expect e;
    } cases[] = {
        {"Wednesday finds WEN", "WEN", 3,
         {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"}, {"00", "00", "00", "00", "00", "00", "00"},
         10, {kOpen, false, false}},
        {"Wednesday never finds WED", "WEN", 3,
         {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"}, {"00", "00", "00", "00", "00", "00", "00"},
         10, {kClosed, true, false}},
        {"an empty name for today is closed", "FRI", 5,
         {"MON", "TUE", "WEN", "THU", "", "SAT", "SUN"}, {"00", "00", "00", "00", "00", "00", "00"},
         10, {kClosed, true, false}},
        {"closed all day sets the flag", "FRI", 5,
         {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"}, {"00", "00", "00", "00", "01", "00", "00"},
         10, {kClosed, true, false}},
        {"after hours leaves the flag", "FRI", 5,
         {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"}, {"00", "00", "00", "00", "00", "00", "00"},
         18, {kClosed, false, false}},
        {"a later open line overrides a closed one", "FRI", 5,
         {"FRI", "TUE", "WEN", "THU", "MON", "SAT", "FRI"}, {"01", "00", "00", "00", "00", "00", "00"},
         10, {kOpen, false, false}},
        {"a later closed line overrides an open one", "FRI", 5,
         {"FRI", "TUE", "WEN", "THU", "MON", "SAT", "FRI"}, {"00", "00", "00", "00", "00", "00", "01"},
         10, {kClosed, true, false}},
        {"anything but 0 in the second byte is closed", "FRI", 5,
         {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"}, {"00", "00", "00", "00", "0", "00", "00"},
         10, {kClosed, true, false}},
        {"the first byte is not looked at", "FRI", 5,
         {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"}, {"00", "00", "00", "00", "10", "00", "00"},
         10, {kOpen, false, false}},
        {"names compare whole", "FRI", 5,
         {"MON", "TUE", "WEN", "THU", "FRID", "SAT", "SUN"}, {"00", "00", "00", "00", "00", "00", "00"},
         10, {kClosed, true, false}},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = office_record();
        for (int d = 0; d < 7; ++d) {
            put(rec, Field::day_name, d, c.line_names[d]);
            put(rec, Field::day_closed, d, c.line_closed[d]);
        }
        zel::ClockTexts now = zel::make_clock_texts({2009, 7, 3, c.weekday, c.hour, 0});
        ASSERT_EQ(c.day, now.day);
        expect_outcome(c.e, zel::evaluate_schedule(rec, now), c.name);
    }
}

TEST(Schedule, WeekdayHoursAgreeWithTheRuleAtEveryMinute)
{
    ConfigRecord rec = office_record();
    put(rec, Field::day_open_time, 4, "08:30:00 AM");
    put(rec, Field::day_close_time, 4, "12:00:00 PM");
    for (int m = 0; m < 24 * 60; ++m) {
        const bool open = m >= 8 * 60 + 30 && m <= 12 * 60;
        const zel::ScheduleOutcome got = zel::evaluate_schedule(rec, friday(m / 60, m % 60));
        ASSERT_EQ(open ? kOpen : kClosed, got.greeting) << "minute " << m;
        ASSERT_FALSE(got.closed) << "minute " << m;
        ASSERT_FALSE(got.special_open) << "minute " << m;
    }
}

TEST(Schedule, DatesCompareAsWholeTexts)
{
    const struct {
        const char* stored;
        bool matches;
    } cases[] = {
        {"07/03/2009", true}, {"7/3/2009", false}, {"07/03/09", false},
        {"07/03/2009 ", false}, {"07-03-2009", false}, {"", false},
    };
    for (const auto& c : cases) {
        ConfigRecord holiday = office_record();
        put(holiday, Field::holiday_date, 30, c.stored);
        EXPECT_EQ(c.matches, zel::evaluate_schedule(holiday, friday(10, 0)).greeting == kHoliday)
            << "holiday " << c.stored;
        ConfigRecord special = office_record();
        special_hours(special, "09:00:00 AM", "05:00:00 PM");
        special_day(special, 30, c.stored);
        EXPECT_EQ(c.matches, zel::evaluate_schedule(special, friday(10, 0)).special_open)
            << "special " << c.stored;
    }
    // 7 March 2009 as the tool might never write it: "3/7/2009" is not "03/07/2009".
    ConfigRecord rec = office_record();
    put(rec, Field::holiday_date, 0, "3/7/2009");
    const zel::ClockTexts march7 = zel::make_clock_texts({2009, 3, 7, 6, 10, 0});
    EXPECT_EQ(kOpen, zel::evaluate_schedule(rec, march7).greeting);
}

TEST(Schedule, AFreshRecordIsClosedWithTheFlagSet)
{
    // No weekday name has been written yet, so no line is today's.
    const zel::ScheduleOutcome got = zel::evaluate_schedule(zel::default_record(), friday(10, 0));
    EXPECT_EQ("", got.greeting);
    EXPECT_TRUE(got.closed);
    EXPECT_FALSE(got.special_open);
    EXPECT_EQ(ScheduleRule::no_weekday, got.rule);
}

TEST(Schedule, TheReasonNamesTheRuleAndTheLineThatDecided)
{
    ConfigRecord rec = office_record();
    special_day(rec, 3, "07/03/2009");
    special_day(rec, 5, "07/03/2009");  // the last matching line decides
    special_hours(rec, "09:00:00 AM", "05:00:00 PM");
    put(rec, Field::holiday_date, 12, "07/04/2009");
    put(rec, Field::day_closed, 6, "01");  // Sunday closed all day
    put(rec, Field::day_name, 0, "");      // no Monday line
    const struct {
        zel::CallClock clock;
        const char* reason;
        const char* field;
    } cases[] = {
        {{2009, 7, 3, 5, 10, 0}, "special day 5 (open)", "special_open_vox"},
        {{2009, 7, 3, 5, 18, 0}, "special day 5 (closed)", "special_closed_vox"},
        {{2009, 7, 4, 6, 10, 0}, "holiday 12", "holiday_vox"},
        {{2009, 7, 7, 2, 10, 0}, "weekly: TUE", "open_greeting_vox"},
        {{2009, 7, 7, 2, 20, 0}, "weekly: TUE (after hours)", "closed_greeting_vox"},
        {{2009, 7, 5, 0, 10, 0}, "weekly: SUN (closed all day)", "closed_greeting_vox"},
        {{2009, 7, 6, 1, 10, 0}, "weekly: no line for MON", "closed_greeting_vox"},
    };
    for (const auto& c : cases) {
        const zel::ClockTexts texts = zel::make_clock_texts(c.clock);
        const zel::ScheduleOutcome got = zel::evaluate_schedule(rec, texts);
        EXPECT_EQ(c.reason, zel::schedule_reason(got, texts)) << c.reason;
        EXPECT_STREQ(c.field, zel::field_def(zel::greeting_field(got.rule)).name) << c.reason;
        EXPECT_EQ(zel::get_field(rec, zel::greeting_field(got.rule)), got.greeting) << c.reason;
    }
}
