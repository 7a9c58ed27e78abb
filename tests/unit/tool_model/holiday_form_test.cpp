// The holiday schedules dialog: empty date pickers save the empty text, stored dates load
// into the picker of the same line, the special-hours time pair goes to all 54 lines, and
// short voices are dropped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "holiday_form.h"
#include "record_fixture.h"

using zel::ConfigRecord;
using zel::Date;
using zel::Field;
using zel::TimeOfDay;

namespace {

const TimeOfDay kOpenedAt{16, 2, 0};

constexpr std::initializer_list<Field> kHolidayFields = {
    Field::special_date,     Field::special_open_time,  Field::special_close_time, Field::holiday_date,
    Field::special_open_vox, Field::special_closed_vox, Field::holiday_vox};

}  // namespace

TEST(HolidayForm, FreshFileSavesNoDateAndMidnightAsBothTimes)
{
    ConfigRecord rec = zel::default_record();
    const ConfigRecord before = rec;
    const zel::HolidayForm form = zel::load_holiday_form(rec);
    for (const auto& d : form.special_dates) EXPECT_FALSE(d.has_value());
    for (const auto& d : form.holiday_dates) EXPECT_FALSE(d.has_value());
    EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{0, 0, 0}), form.open_time);
    EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{0, 0, 0}), form.close_time);

    zel::save_holiday_form(form, rec, kOpenedAt);
    for (int j = 0; j < 54; ++j) {
        EXPECT_EQ("", zel::get_field(rec, Field::special_date, j)) << j;
        EXPECT_EQ("12:00:00 AM", zel::get_field(rec, Field::special_open_time, j)) << j;
        EXPECT_EQ("12:00:00 AM", zel::get_field(rec, Field::special_close_time, j)) << j;
    }
    for (int i = 0; i < 60; ++i) EXPECT_EQ("", zel::get_field(rec, Field::holiday_date, i)) << i;
    EXPECT_TRUE(fixture::changes_outside(before, rec, kHolidayFields).empty());
}

TEST(HolidayForm, DatesGoToTheLineOfTheirPickerAndLoadBackIntoIt)
{
    ConfigRecord rec = zel::default_record();
    zel::HolidayForm form = zel::load_holiday_form(rec);
    // First, last and middle of each of the three columns (18 special days, 20 holidays each).
    const int special[] = {0, 9, 17, 18, 26, 35, 36, 44, 53};
    const int holiday[] = {0, 10, 19, 20, 30, 39, 40, 50, 59};
    for (int j : special) form.special_dates[static_cast<std::size_t>(j)] = Date{3, 1 + j % 28, 2027};
    for (int i : holiday) form.holiday_dates[static_cast<std::size_t>(i)] = Date{12, 1 + i % 28, 2030};
    zel::save_holiday_form(form, rec, kOpenedAt);

    for (int j = 0; j < 54; ++j) {
        const bool set = std::find(std::begin(special), std::end(special), j) != std::end(special);
        char expected[16];
        std::snprintf(expected, sizeof expected, "03/%02d/2027", 1 + j % 28);
        EXPECT_EQ(set ? expected : "", zel::get_field(rec, Field::special_date, j)) << j;
    }
    for (int i = 0; i < 60; ++i) {
        const bool set = std::find(std::begin(holiday), std::end(holiday), i) != std::end(holiday);
        char expected[16];
        std::snprintf(expected, sizeof expected, "12/%02d/2030", 1 + i % 28);
        EXPECT_EQ(set ? expected : "", zel::get_field(rec, Field::holiday_date, i)) << i;
    }
    const zel::HolidayForm again = zel::load_holiday_form(rec);
    EXPECT_EQ(form.special_dates, again.special_dates);
    EXPECT_EQ(form.holiday_dates, again.holiday_dates);
}

TEST(HolidayForm, OnlyRealDatesInsideThePickersRangeLoadAndTheySaveBackUnchanged)
{
    struct Case {
        const char* stored;
        std::optional<Date> shown;
        const char* saved;
    };
    const std::vector<Case> cases = {
        {"02/08/2007", Date{2, 8, 2007}, "02/08/2007"},   // first day of the range
        {"02/07/2007", std::nullopt, ""},                 // one day early
        {"12/31/2099", Date{12, 31, 2099}, "12/31/2099"}, // last day of the range
        {"01/01/2100", std::nullopt, ""},
        {"05/02/2024", Date{5, 2, 2024}, "05/02/2024"},   // past the old upper bound
        {"02/29/2028", Date{2, 29, 2028}, "02/29/2028"},
        {"02/29/2027", std::nullopt, ""},
        {"13/01/2020", std::nullopt, ""},
        {"00/10/2020", std::nullopt, ""},
        {"", std::nullopt, ""},
        {"2/8/2009", std::nullopt, ""},                   // read by fixed positions
        {"07/04/2026 x", Date{7, 4, 2026}, "07/04/2026"},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        zel::set_field(rec, Field::holiday_date, 59, c.stored);
        zel::set_field(rec, Field::special_date, 53, c.stored);
        const zel::HolidayForm form = zel::load_holiday_form(rec);
        EXPECT_EQ(c.shown, form.holiday_dates[59]) << c.stored;
        EXPECT_EQ(c.shown, form.special_dates[53]) << c.stored;
        zel::save_holiday_form(form, rec, kOpenedAt);
        EXPECT_EQ(c.saved, zel::get_field(rec, Field::holiday_date, 59)) << c.stored;
        EXPECT_EQ(c.saved, zel::get_field(rec, Field::special_date, 53)) << c.stored;
    }
}

TEST(HolidayForm, TimePairOfLineZeroIsShownAndWrittenIntoAllLines)
{
    ConfigRecord rec = zel::default_record();
    for (int j = 0; j < 54; ++j) {
        zel::set_field(rec, Field::special_open_time, j, j == 0 ? "12:30:00 AM" : "09:00:00 AM");
        zel::set_field(rec, Field::special_close_time, j, j == 0 ? "01:05:00 PM" : "05:00:00 PM");
    }
    zel::HolidayForm form = zel::load_holiday_form(rec);
    EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{0, 30, 0}), form.open_time);
    EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{13, 5, 0}), form.close_time);
    zel::save_holiday_form(form, rec, kOpenedAt);
    for (int j = 0; j < 54; ++j) {
        EXPECT_EQ("12:30:00 AM", zel::get_field(rec, Field::special_open_time, j)) << j;
        EXPECT_EQ("01:05:00 PM", zel::get_field(rec, Field::special_close_time, j)) << j;
    }

    form.open_time = std::nullopt;  // a stored time that was no time of day
    form.close_time = TimeOfDay{11, 59, 59};
    zel::save_holiday_form(form, rec, kOpenedAt);
    EXPECT_EQ("04:02:00 PM", zel::get_field(rec, Field::special_open_time, 53));
    EXPECT_EQ("11:59:59 AM", zel::get_field(rec, Field::special_close_time, 53));

    zel::set_field(rec, Field::special_open_time, 0, "24:00:00 AM");
    EXPECT_FALSE(zel::load_holiday_form(rec).open_time.has_value());
}

TEST(HolidayForm, VoicesOfFourCharactersOrFewerAreDroppedLongerOnesKeptUpTo121)
{
    struct Case {
        std::string stored;
        std::string shown;
        std::string saved;
    };
    const std::string slot_full(127, 'p');
    const std::vector<Case> cases = {
        {"", "", ""},
        {"C:\\a", "", ""},
        {"C:\\ab", "C:\\ab", "C:\\ab"},
        {"C:\\Voice\\Holiday.vox", "C:\\Voice\\Holiday.vox", "C:\\Voice\\Holiday.vox"},
        {std::string(121, 'q'), std::string(121, 'q'), std::string(121, 'q')},
        {slot_full, slot_full, std::string(121, 'p')},
    };
    const Field fields[] = {Field::special_open_vox, Field::special_closed_vox, Field::holiday_vox};
    for (const Case& c : cases) {
        ConfigRecord rec = fixture::full_record();
        const ConfigRecord before = rec;
        for (Field f : fields) zel::set_field(rec, f, c.stored);
        const zel::HolidayForm form = zel::load_holiday_form(rec);
        for (const std::string& v : form.voices) EXPECT_EQ(c.shown, v) << c.stored;
        zel::save_holiday_form(form, rec, kOpenedAt);
        for (Field f : fields) EXPECT_EQ(c.saved, zel::get_field(rec, f)) << c.stored;
        EXPECT_TRUE(fixture::changes_outside(before, rec, kHolidayFields).empty()) << c.stored;
    }
}
