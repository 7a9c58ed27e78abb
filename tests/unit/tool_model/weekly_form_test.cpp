// The weekly operation dialog: time reading, the closed-day rule, the fresh-file save and
// the voice paths' limit.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "record_fixture.h"
#include "weekly_form.h"

using zel::ConfigRecord;
using zel::Field;
using zel::TimeOfDay;

namespace {

const TimeOfDay kOpenedAt{14, 33, 7};  // the time the dialog opened, for unset pickers

std::string weekday_bytes(const ConfigRecord& rec, int d, std::size_t at, std::size_t n)
{
    const std::size_t line = 12022 + 110 * static_cast<std::size_t>(d);
    return std::string(reinterpret_cast<const char*>(&rec.bytes[line + at]), n);
}

}  // namespace

TEST(WeeklyForm, FreshFileShowsElevenElevenAndSavesTheWholeWeekOpen)
{
    ConfigRecord rec = zel::default_record();
    const ConfigRecord before = rec;
    const zel::WeeklyForm form = zel::load_weekly_form(rec);
    for (const zel::WeeklyDay& day : form.days) {
        EXPECT_FALSE(day.closed);
        EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{11, 11, 11}), day.open);
        EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{23, 11, 11}), day.close);
    }
    for (const std::string& v : form.voices) EXPECT_EQ("", v);

    zel::save_weekly_form(form, rec, kOpenedAt);
    const char* names[] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        // name slot at 25 (6 bytes), closed at 31 (5 bytes), open at 36, close at 74.
        EXPECT_EQ(std::string(names[d]) + std::string(3, '\0'), weekday_bytes(rec, d, 25, 6)) << d;
        EXPECT_EQ(std::string("00\0\0\0", 5), weekday_bytes(rec, d, 31, 5)) << d;
        EXPECT_EQ(std::string("11:11:11 AM\0", 12), weekday_bytes(rec, d, 36, 12)) << d;
        EXPECT_EQ(std::string("11:11:11 PM\0", 12), weekday_bytes(rec, d, 74, 12)) << d;
    }
    EXPECT_TRUE(fixture::changes_outside(before, rec,
                                         {Field::day_name, Field::day_closed, Field::day_open_time,
                                          Field::day_close_time})
                    .empty());
}

TEST(WeeklyForm, ClosedDayKeepsItsOldTimesAndNameAndShowsThemAgainTicked)
{
    ConfigRecord rec = zel::default_record();
    zel::WeeklyForm form = zel::load_weekly_form(rec);
    form.days[1].open = TimeOfDay{8, 0, 0};
    form.days[1].close = TimeOfDay{17, 30, 0};
    zel::save_weekly_form(form, rec, kOpenedAt);
    ASSERT_EQ("TUE", zel::get_field(rec, Field::day_name, 1));

    form = zel::load_weekly_form(rec);
    form.days[1].closed = true;
    form.days[1].open = TimeOfDay{6, 0, 0};  // changed, but a closed day stores no times
    form.days[1].close = std::nullopt;
    zel::save_weekly_form(form, rec, kOpenedAt);
    EXPECT_EQ("01", zel::get_field(rec, Field::day_closed, 1));
    EXPECT_EQ("08:00:00 AM", zel::get_field(rec, Field::day_open_time, 1));
    EXPECT_EQ("05:30:00 PM", zel::get_field(rec, Field::day_close_time, 1));
    EXPECT_EQ("TUE", zel::get_field(rec, Field::day_name, 1));

    const zel::WeeklyForm again = zel::load_weekly_form(rec);
    EXPECT_TRUE(again.days[1].closed);
    EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{8, 0, 0}), again.days[1].open);
    EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{17, 30, 0}), again.days[1].close);
    for (int d : {0, 2, 3, 4, 5, 6}) EXPECT_FALSE(again.days[static_cast<std::size_t>(d)].closed) << d;
}

TEST(WeeklyForm, DayClosedFromTheStartNeverGetsAName)
{
    ConfigRecord rec = zel::default_record();
    zel::WeeklyForm form = zel::load_weekly_form(rec);
    form.days[6].closed = true;
    zel::save_weekly_form(form, rec, kOpenedAt);
    EXPECT_EQ("", zel::get_field(rec, Field::day_name, 6));
    EXPECT_EQ("01", zel::get_field(rec, Field::day_closed, 6));
    EXPECT_EQ("11:11:11 AM", zel::get_field(rec, Field::day_open_time, 6));
    EXPECT_EQ("SAT", zel::get_field(rec, Field::day_name, 5));
}

TEST(WeeklyForm, ClosedMarkIsReadAsOneNumberAndWrittenAsTwoCharacters)
{
    struct Case {
        const char* stored;
        bool ticked;
    };
    const std::vector<Case> cases = {
        {"", false}, {"00", false}, {"01", true}, {"1", true}, {"10", false}, {"011", false}, {"x1", false},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        zel::set_field(rec, Field::day_closed, 3, c.stored);
        zel::WeeklyForm form = zel::load_weekly_form(rec);
        EXPECT_EQ(c.ticked, form.days[3].closed) << c.stored;

        // Whatever was there, a day saved closed reads back ticked, and an open one unticked.
        for (bool closed : {true, false}) {
            ConfigRecord saved = rec;
            form.days[3].closed = closed;
            zel::save_weekly_form(form, saved, kOpenedAt);
            EXPECT_EQ(closed ? "01" : "00", zel::get_field(saved, Field::day_closed, 3)) << c.stored;
            EXPECT_EQ(closed, zel::load_weekly_form(saved).days[3].closed) << c.stored;
        }
    }
}

TEST(WeeklyForm, StoredTimesLoadByTheClockRuleAndSaveBackAsShown)
{
    struct Case {
        const char* stored;
        std::optional<TimeOfDay> shown;
        const char* saved;
    };
    const std::vector<Case> cases = {
        {"12:15:00 AM", TimeOfDay{0, 15, 0}, "12:15:00 AM"},
        {"12:15:00 PM", TimeOfDay{12, 15, 0}, "12:15:00 PM"},
        {"07:45:00 PM", TimeOfDay{19, 45, 0}, "07:45:00 PM"},
        {"11:59:59 AM", TimeOfDay{11, 59, 59}, "11:59:59 AM"},
        {"", TimeOfDay{0, 0, 0}, "12:00:00 AM"},
        {"08:30", TimeOfDay{8, 30, 0}, "08:30:00 AM"},
        // Digits that make no time of day leave the picker on the time the dialog opened.
        {"25:00:00 AM", std::nullopt, "02:33:07 PM"},
        {"10:75:00 AM", std::nullopt, "02:33:07 PM"},
        {"10:15:61 PM", std::nullopt, "02:33:07 PM"},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        zel::set_field(rec, Field::day_open_time, 4, c.stored);
        zel::set_field(rec, Field::day_close_time, 4, c.stored);
        const zel::WeeklyForm form = zel::load_weekly_form(rec);
        EXPECT_EQ(c.shown, form.days[4].open) << c.stored;
        EXPECT_EQ(c.shown, form.days[4].close) << c.stored;
        zel::save_weekly_form(form, rec, kOpenedAt);
        EXPECT_EQ(c.saved, zel::get_field(rec, Field::day_open_time, 4)) << c.stored;
        EXPECT_EQ(c.saved, zel::get_field(rec, Field::day_close_time, 4)) << c.stored;
    }
}

TEST(WeeklyForm, VoicesAreShownWholeAndSavedCutToNinetyNine)
{
    ConfigRecord rec = fixture::full_record();
    const ConfigRecord before = rec;
    zel::WeeklyForm form = zel::load_weekly_form(rec);
    const Field fields[] = {Field::open_greeting_vox, Field::closed_greeting_vox, Field::wrong_ext_vox,
                            Field::system_error_vox};
    for (std::size_t v = 0; v < 4; ++v) {
        EXPECT_EQ(127u, form.voices[v].size());
        EXPECT_EQ(zel::get_field(rec, fields[v]), form.voices[v]);
    }
    form.voices[static_cast<std::size_t>(zel::WeeklyVoice::wrong_ext)] = "";
    form.voices[static_cast<std::size_t>(zel::WeeklyVoice::system_error)] = "C:\\Voice\\Bye.vox";
    zel::save_weekly_form(form, rec, kOpenedAt);
    EXPECT_EQ(zel::get_field(before, Field::open_greeting_vox).substr(0, 99), zel::get_field(rec, Field::open_greeting_vox));
    EXPECT_EQ(zel::get_field(before, Field::closed_greeting_vox).substr(0, 99),
              zel::get_field(rec, Field::closed_greeting_vox));
    EXPECT_EQ("", zel::get_field(rec, Field::wrong_ext_vox));
    EXPECT_EQ("C:\\Voice\\Bye.vox", zel::get_field(rec, Field::system_error_vox));
    EXPECT_TRUE(fixture::changes_outside(before, rec,
                                         {Field::open_greeting_vox, Field::closed_greeting_vox,
                                          Field::wrong_ext_vox, Field::system_error_vox, Field::day_name,
                                          Field::day_closed, Field::day_open_time, Field::day_close_time})
                    .empty());
}
