// The holiday schedules dialog driven in the real Plandesk: empty and set date pickers,
// the special-hours time pair, the three voices as stored, and Save with its box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "config_record.h"
#include "record_file.h"
#include "plandesk_driver.h"

namespace {

using zel::Field;

constexpr int kSpecialFirst = 1132;  // + j, j = 0..53
constexpr int kHolidayFirst = 1188;  // + i, i = 0..59
constexpr int kOpenTime = 1186;
constexpr int kCloseTime = 1187;
constexpr int kVoiceEdits[3] = {1000, 1001, 1002};
constexpr Field kVoiceFields[3] = {Field::special_open_vox, Field::special_closed_vox, Field::holiday_vox};

const std::string kSavedText = std::string(22, ' ') + "SAVED";
constexpr const char* kSavedCaption = "Holiday Schedule Routing Configuration Updated";

std::string item_text(HWND dialog, int id) { return wd::text(wd::child(dialog, id)); }

HWND open_holidays(pd::Plandesk& run)
{
    HWND dlg = nullptr;
    EXPECT_TRUE(run.open_dialog(pd::kHoliday, &dlg));
    return dlg;
}

wd::Status save_and_confirm(pd::Plandesk& run, HWND dlg)
{
    if (wd::Status s = wd::click(wd::child(dlg, IDOK)); !s) return s;
    if (wd::Status s = run.expect_box(kSavedText, kSavedCaption); !s) return s;
    return run.expect_dialog_closed(dlg);
}

TEST(HolidayScheduleDialog, FreshFileSavesNoDatesAndMidnightAsBothTimes)
{
    pd::Plandesk run;
    ASSERT_TRUE(run.start());
    HWND dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    EXPECT_NE(wd::window_style(dlg) & WS_SYSMENU, 0);

    for (int id = kSpecialFirst; id < kHolidayFirst + 60; ++id) {
        if (id == kOpenTime || id == kCloseTime) continue;
        HWND picker = wd::child(dlg, id);
        ASSERT_NE(picker, nullptr) << id;
        EXPECT_NE(wd::window_style(picker) & DTS_SHOWNONE, 0) << id;
        std::optional<zel::Date> date;
        ASSERT_TRUE(pd::picker_date(picker, &date)) << id;
        EXPECT_FALSE(date.has_value()) << id;
    }
    for (int id : {kOpenTime, kCloseTime}) EXPECT_EQ(item_text(dlg, id), "12:00:00 AM") << id;

    // Columns fill from top to bottom: three of 18 special-hours days, three of 20 holidays,
    // each column to the right of the one before.
    struct Group {
        int first, columns, rows;
    };
    for (const Group& g : {Group{kSpecialFirst, 3, 18}, Group{kHolidayFirst, 3, 20}}) {
        for (int c = 0; c < g.columns; ++c) {
            const int top = g.first + c * g.rows;
            const RECT head = wd::window_rect(wd::child(dlg, top));
            if (c > 0) {
                EXPECT_GE(head.left, wd::window_rect(wd::child(dlg, top - g.rows)).right) << top;
            }
            for (int r = 1; r < g.rows; ++r) {
                const RECT above = wd::window_rect(wd::child(dlg, top + r - 1));
                const RECT here = wd::window_rect(wd::child(dlg, top + r));
                EXPECT_EQ(here.left, head.left) << top + r;
                EXPECT_GE(here.top, above.bottom) << top + r;
            }
        }
    }

    ASSERT_TRUE(save_and_confirm(run, dlg));
    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    for (int i = 0; i < 60; ++i) EXPECT_EQ(zel::get_field(saved, Field::holiday_date, i), "") << "holiday " << i;
    for (int j = 0; j < 54; ++j) {
        EXPECT_EQ(zel::get_field(saved, Field::special_date, j), "") << "special " << j;
        EXPECT_EQ(zel::get_field(saved, Field::special_open_time, j), "12:00:00 AM") << "special " << j;
        EXPECT_EQ(zel::get_field(saved, Field::special_close_time, j), "12:00:00 AM") << "special " << j;
    }
}

TEST(HolidayScheduleDialog, DatesGoToTheirOwnLinesAndLoadBack)
{
    // First, middle and last picker of each column, and the range's ends.
    const std::map<int, zel::Date> special = {
        {0, {2, 8, 2007}},   {9, {3, 15, 2027}},  {17, {4, 1, 2027}},   {18, {5, 2, 2027}},
        {35, {6, 3, 2028}},  {36, {7, 4, 2030}},  {44, {11, 26, 2026}}, {53, {12, 31, 2099}},
    };
    const std::map<int, zel::Date> holidays = {
        {0, {1, 1, 2027}},    {10, {2, 14, 2027}}, {19, {5, 31, 2027}}, {20, {7, 4, 2027}},
        {39, {9, 6, 2027}},   {40, {10, 11, 2027}}, {50, {11, 25, 2027}}, {59, {12, 25, 2027}},
    };

    pd::Plandesk run;
    ASSERT_TRUE(run.start());
    HWND dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    for (const auto& [j, d] : special) ASSERT_TRUE(pd::set_picker_date(wd::child(dlg, kSpecialFirst + j), d)) << j;
    for (const auto& [i, d] : holidays) ASSERT_TRUE(pd::set_picker_date(wd::child(dlg, kHolidayFirst + i), d)) << i;
    EXPECT_EQ(item_text(dlg, kSpecialFirst + 9), "03/15/2027");
    ASSERT_TRUE(save_and_confirm(run, dlg));

    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    for (int j = 0; j < 54; ++j) {
        const auto it = special.find(j);
        EXPECT_EQ(zel::get_field(saved, Field::special_date, j), it == special.end() ? "" : zel::format_date(it->second))
            << "special " << j;
    }
    for (int i = 0; i < 60; ++i) {
        const auto it = holidays.find(i);
        EXPECT_EQ(zel::get_field(saved, Field::holiday_date, i), it == holidays.end() ? "" : zel::format_date(it->second))
            << "holiday " << i;
    }

    // The next showing reads them back into the same pickers, the others stay empty.
    dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    auto expect_loaded = [&](int id, const std::optional<zel::Date>& want) {
        std::optional<zel::Date> got;
        ASSERT_TRUE(pd::picker_date(wd::child(dlg, id), &got)) << id;
        EXPECT_EQ(got.has_value(), want.has_value()) << id;
        if (got && want) {
            EXPECT_EQ(*got, *want) << id;
        }
    };
    for (int j = 0; j < 54; ++j) {
        const auto it = special.find(j);
        expect_loaded(kSpecialFirst + j, it == special.end() ? std::nullopt : std::optional<zel::Date>(it->second));
    }
    for (int i = 0; i < 60; ++i) {
        const auto it = holidays.find(i);
        expect_loaded(kHolidayFirst + i, it == holidays.end() ? std::nullopt : std::optional<zel::Date>(it->second));
    }
    // Saving again changes nothing.
    const std::string first_save = run.file_bytes();
    ASSERT_TRUE(save_and_confirm(run, dlg));
    EXPECT_EQ(run.file_bytes(), first_save);
}

TEST(HolidayScheduleDialog, ImpossibleStoredDatesLoadEmptyAndAreSavedEmpty)
{
    const char* stored[] = {"13/01/2027", "02/30/2027", "02/07/2007", "01/01/2100", "garbage", "12/31/2099"};
    zel::ConfigRecord rec = zel::default_record();
    for (int i = 0; i < 6; ++i) zel::set_field(rec, Field::holiday_date, i, stored[i]);

    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    HWND dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(save_and_confirm(run, dlg));
    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(zel::get_field(saved, Field::holiday_date, i), "") << stored[i];
    EXPECT_EQ(zel::get_field(saved, Field::holiday_date, 5), "12/31/2099");
}

TEST(HolidayScheduleDialog, TimePairOfLineZeroIsShownAndWrittenToAllLines)
{
    zel::ConfigRecord rec = zel::default_record();
    zel::set_field(rec, Field::special_open_time, 0, "12:30:00 AM");
    zel::set_field(rec, Field::special_close_time, 0, "01:05:00 PM");
    zel::set_field(rec, Field::special_open_time, 7, "09:00:00 AM");
    zel::set_field(rec, Field::special_close_time, 53, "05:00:00 PM");

    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    HWND dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    zel::TimeOfDay open, close;
    ASSERT_TRUE(pd::picker_time(wd::child(dlg, kOpenTime), &open));
    ASSERT_TRUE(pd::picker_time(wd::child(dlg, kCloseTime), &close));
    EXPECT_EQ(open, (zel::TimeOfDay{0, 30, 0}));
    EXPECT_EQ(close, (zel::TimeOfDay{13, 5, 0}));
    EXPECT_EQ(item_text(dlg, kOpenTime), "12:30:00 AM");

    ASSERT_TRUE(save_and_confirm(run, dlg));
    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    for (int j = 0; j < 54; ++j) {
        EXPECT_EQ(zel::get_field(saved, Field::special_open_time, j), "12:30:00 AM") << j;
        EXPECT_EQ(zel::get_field(saved, Field::special_close_time, j), "01:05:00 PM") << j;
    }
}

TEST(HolidayScheduleDialog, ShortVoicesAreDroppedAndLongerOnesKeptUpTo121)
{
    const std::string long_path = "C:\\" + std::string(114, 'v') + ".vox";  // 121 characters
    const std::string too_long = "C:\\" + std::string(120, 'w') + ".vox";   // 127: cut to 121
    struct Case {
        std::string stored, shown, saved;
    };
    const Case cases[3] = {
        {"C:\\a", "", ""},
        {"C:\\ab", "C:\\ab", "C:\\ab"},
        {long_path, long_path, long_path},
    };
    zel::ConfigRecord rec = zel::default_record();
    for (int v = 0; v < 3; ++v) zel::set_field(rec, kVoiceFields[v], cases[v].stored);

    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    HWND dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(item_text(dlg, kVoiceEdits[v]), cases[v].shown) << v;
        EXPECT_FALSE(IsWindowEnabled(wd::child(dlg, kVoiceEdits[v]))) << v;
    }
    ASSERT_TRUE(save_and_confirm(run, dlg));
    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    for (int v = 0; v < 3; ++v) EXPECT_EQ(zel::get_field(saved, kVoiceFields[v]), cases[v].saved) << v;

    // A stored path longer than the dialog keeps is cut at Save.
    zel::set_field(saved, Field::holiday_vox, too_long);
    ASSERT_TRUE(run.program.put_file("zel_system.cfg", zel::to_disk(saved)));
    dlg = open_holidays(run);
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(save_and_confirm(run, dlg));
    ASSERT_TRUE(run.record(&saved));
    EXPECT_EQ(zel::get_field(saved, Field::holiday_vox), too_long.substr(0, 121));
}

}  // namespace
