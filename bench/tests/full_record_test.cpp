// The benchmarks' workload: its dates and its record must be what the benchmarks claim,
// or a figure would be measured on a shorter path than it names.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "full_record.h"
#include "record_file.h"
#include "schedule.h"

namespace {

using zelbench::CallMoment;

TEST(FullRecord, CalendarArithmeticCrossesMonthsYearsAndLeapDays)
{
    struct Case {
        zel::Date from;
        int days;
        zel::Date to;
    };
    const Case cases[] = {
        {{2, 28, 2024}, 1, {2, 29, 2024}},
        {{2, 28, 2023}, 1, {3, 1, 2023}},
        {{2, 28, 2100}, 1, {3, 1, 2100}},   // not a leap year
        {{2, 28, 2000}, 1, {2, 29, 2000}},  // a leap year
        {{12, 31, 2023}, 60, {2, 29, 2024}},
        {{1, 2, 2030}, 53, {2, 24, 2030}},
        {{3, 1, 2024}, -1, {2, 29, 2024}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zelbench::add_days(c.from, c.days), c.to) << zel::format_date(c.from) << " + " << c.days;
    }
}

TEST(FullRecord, WeekdaysOfKnownDates)
{
    struct Case {
        zel::Date date;
        int weekday;
    };
    const Case cases[] = {
        {{1, 1, 1970}, 4}, {{1, 2, 2030}, 3}, {{2, 29, 2024}, 4}, {{3, 1, 2000}, 3}, {{8, 4, 2030}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(zelbench::weekday_of(c.date), c.weekday) << zel::format_date(c.date);
}

TEST(FullRecord, EveryDateAndRouteIsFilledAndDistinct)
{
    const zel::ConfigRecord rec = zelbench::full_record();
    std::set<std::string> dates;
    for (int j = 0; j < zelbench::kSpecialDays; ++j) dates.insert(zel::get_field(rec, zel::Field::special_date, j));
    for (int i = 0; i < zelbench::kHolidays; ++i) dates.insert(zel::get_field(rec, zel::Field::holiday_date, i));
    EXPECT_EQ(dates.size(), static_cast<std::size_t>(zelbench::kSpecialDays + zelbench::kHolidays));
    for (const std::string& d : dates) EXPECT_TRUE(zel::is_valid_date(zel::parse_date(d))) << d;

    std::set<std::string> entries;
    for (int r = 0; r < zelbench::kRoutes; ++r) {
        entries.insert(zel::get_field(rec, zel::Field::route_ext, r));
        EXPECT_EQ(zel::get_field(rec, zel::Field::route_alt_number, r).size(), 12u) << "an outside number";
        EXPECT_FALSE(zel::get_field(rec, zel::Field::route_vox, r).empty());
    }
    EXPECT_EQ(entries.size(), static_cast<std::size_t>(zelbench::kRoutes)) << "one route per extension";
    EXPECT_EQ(zel::get_field(rec, zel::Field::validated_flag), "1");
}

TEST(FullRecord, EachMomentIsDecidedOnTheLastLineOfItsTable)
{
    const zel::ConfigRecord rec = zelbench::full_record();
    const zel::ClockTexts special = zel::make_clock_texts(zelbench::call_moment(CallMoment::special_last));
    EXPECT_EQ(special.date, zel::get_field(rec, zel::Field::special_date, zelbench::kSpecialDays - 1));

    const zel::ClockTexts holiday = zel::make_clock_texts(zelbench::call_moment(CallMoment::holiday_last));
    EXPECT_EQ(holiday.date, zel::get_field(rec, zel::Field::holiday_date, zelbench::kHolidays - 1));

    const zel::ClockTexts sunday = zel::make_clock_texts(zelbench::call_moment(CallMoment::weekday_last));
    EXPECT_EQ(sunday.day, zel::get_field(rec, zel::Field::day_name, 6)) << "the week's last line";
    EXPECT_EQ(zel::evaluate_schedule(rec, sunday).rule, zel::ScheduleRule::weekday_after_hours);
}

TEST(FullRecord, SurvivesTheDiskFormAndKeepsItsVoiceFolder)
{
    zelbench::FullRecordOptions o;
    o.voice_folder = "Z:\\tmp\\voices\\";
    o.int_transfer_delay = 0;
    o.validated = false;
    const zel::ConfigRecord rec = zelbench::full_record(o);
    zel::ConfigRecord back;
    ASSERT_EQ(zel::from_disk(zel::to_disk(rec), back), zel::kRecordSize);
    EXPECT_EQ(back, rec);
    EXPECT_EQ(zel::get_field(rec, zel::Field::system_error_vox), "Z:\\tmp\\voices\\goodbye.vox");
    EXPECT_EQ(zel::get_field(rec, zel::Field::route_vox, 15), "Z:\\tmp\\voices\\route15.vox");
    EXPECT_EQ(zel::get_field(rec, zel::Field::int_transfer_delay), "0");
    EXPECT_EQ(zel::get_field(rec, zel::Field::validated_flag), "0");
    EXPECT_EQ(zelbench::voice_set(o.voice_folder).all().size(), 9u + zelbench::kRoutes);
}

}  // namespace
