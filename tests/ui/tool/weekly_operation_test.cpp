// The weekly operation dialog driven in the real Plandesk.exe: what it shows for a record,
// what Save stores (a closed day keeps its old times and name), the time reading rule,
// long stored paths, Enter's save, and the dialog without a working file.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "config_record.h"
#include "plandesk_driver.h"

namespace {

struct DayControls {
    int closed, opens, closes;
};

constexpr std::array<DayControls, 7> kDays{{
    {1003, 1023, 1024}, {1017, 1025, 1026}, {1018, 1027, 1028}, {1019, 1029, 1030},
    {1020, 1031, 1032}, {1021, 1033, 1034}, {1022, 1035, 1036},
}};
constexpr std::array<const char*, 7> kNames{"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
constexpr std::array<int, 4> kVoiceEdits{1000, 1001, 1002, 1004};
constexpr std::array<zel::Field, 4> kVoiceFields{zel::Field::open_greeting_vox, zel::Field::closed_greeting_vox,
                                                 zel::Field::wrong_ext_vox, zel::Field::system_error_vox};

const std::string kSaved = std::string(22, ' ') + "SAVED";
constexpr const char* kSavedCaption = "Extension Routing Configuration Updated";
constexpr const char* kRestartAfterCancel = "Restart Program Without Update Configuration";
constexpr const char* kRestartAfterCancelCaption = "Weekly Configuration change detected";

bool checked(HWND dialog, int id)
{
    return SendMessageA(wd::child(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Save, expect the SAVED box, and see the dialog close with the tool still running.
void save_expecting_saved(pd::Plandesk& tool, HWND dialog)
{
    ASSERT_TRUE(wd::click(wd::child(dialog, IDOK)));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(tool.wait_box(&box));
    EXPECT_EQ(box.text, kSaved);
    EXPECT_EQ(box.caption, kSavedCaption);
    ASSERT_TRUE(wd::dismiss(box));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
    EXPECT_TRUE(tool.program.running());
    EXPECT_TRUE(IsWindow(tool.main));
}

TEST(WeeklyDialog, ShowsItsLabelsRowsAndButtonsVerbatim)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));
    std::vector<std::string> texts;
    for (HWND h : wd::descendants(dialog)) texts.push_back(wd::text(h));
    const char* expected[] = {
        "Select Voice Files", "Opening Hour Greeting:", "Office Closed Greeting:", "Extension Retry Request:",
        "System Error Goodbye:", "Set Operation Hour For Your Business", "Check if Close All Day ", "Open At",
        "Close At",
    };
    for (const char* e : expected) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), e), texts.end()) << "missing \"" << e << "\"";
    }
    const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (std::size_t d = 0; d < kDays.size(); ++d) {
        EXPECT_EQ(wd::text(wd::child(dialog, kDays[d].closed)), days[d]);
        for (int picker : {kDays[d].opens, kDays[d].closes}) {
            EXPECT_EQ(wd::class_name(wd::child(dialog, picker)), "SysDateTimePick32") << picker;
            const LONG_PTR style = wd::window_style(wd::child(dialog, picker));
            EXPECT_EQ(style & DTS_TIMEFORMAT, DTS_TIMEFORMAT) << picker;
            EXPECT_TRUE(style & DTS_RIGHTALIGN) << picker;
        }
    }
    for (int edit : kVoiceEdits) {
        EXPECT_FALSE(IsWindowEnabled(wd::child(dialog, edit))) << edit;
        EXPECT_TRUE(wd::window_style(wd::child(dialog, edit)) & ES_READONLY) << edit;
    }
    EXPECT_EQ(wd::text(wd::child(dialog, IDOK)), "OK to Save and Close Configuration");
    EXPECT_TRUE(wd::window_style(wd::child(dialog, IDOK)) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(wd::text(wd::child(dialog, IDCANCEL)), "Cancel");
    ASSERT_TRUE(wd::click(wd::child(dialog, IDCANCEL)));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
}

// Enter goes to the default button: it saves, and the tool goes on.
TEST(WeeklyDialog, EnterSaves)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));
    // Keys go to a control with the focus's part in the dialog.
    ASSERT_TRUE(PostMessageA(wd::child(dialog, kDays[0].closed), WM_KEYDOWN, VK_RETURN, 1));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(tool.wait_box(&box));
    EXPECT_EQ(box.text, kSaved);
    ASSERT_TRUE(wd::dismiss(box));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
    zel::ConfigRecord rec;
    ASSERT_TRUE(tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_name, 0), "MON");
    EXPECT_TRUE(tool.program.running());
}

TEST(WeeklyDialog, FreshFileShowsDefaultHoursAndSavesTheDayNames)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());  // creates the working file with the default record
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));

    for (int edit : kVoiceEdits) EXPECT_EQ(wd::text(wd::child(dialog, edit)), "") << edit;
    for (std::size_t d = 0; d < kDays.size(); ++d) {
        EXPECT_FALSE(checked(dialog, kDays[d].closed)) << d;
        EXPECT_EQ(wd::text(wd::child(dialog, kDays[d].opens)), "11:11:11 AM") << d;
        EXPECT_EQ(wd::text(wd::child(dialog, kDays[d].closes)), "11:11:11 PM") << d;
    }

    save_expecting_saved(tool, dialog);

    zel::ConfigRecord expected = zel::default_record();
    for (int d = 0; d < 7; ++d) {
        zel::set_field(expected, zel::Field::day_closed, d, "00");
        zel::set_field(expected, zel::Field::day_name, d, kNames[static_cast<std::size_t>(d)]);
    }
    zel::ConfigRecord rec;
    ASSERT_TRUE(tool.record(&rec));
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(zel::get_field(rec, zel::Field::day_closed, d), "00") << d;
        EXPECT_EQ(zel::get_field(rec, zel::Field::day_open_time, d), "11:11:11 AM") << d;
        EXPECT_EQ(zel::get_field(rec, zel::Field::day_close_time, d), "11:11:11 PM") << d;
        EXPECT_EQ(zel::get_field(rec, zel::Field::day_name, d), kNames[static_cast<std::size_t>(d)]) << d;
    }
    EXPECT_TRUE(rec == expected) << "bytes other than the seven day lines changed";
}

TEST(WeeklyDialog, ClosedDayKeepsItsOldTimesAndNameAndShowsThemTickedAgain)
{
    zel::ConfigRecord start = zel::default_record();
    // Tuesday was saved open once; Sunday has been closed from the start.
    zel::set_field(start, zel::Field::day_closed, 1, "00");
    zel::set_field(start, zel::Field::day_open_time, 1, "08:30:00 AM");
    zel::set_field(start, zel::Field::day_close_time, 1, "05:15:00 PM");
    zel::set_field(start, zel::Field::day_name, 1, "TUE");
    zel::set_field(start, zel::Field::day_closed, 6, "01");

    pd::Plandesk tool;
    ASSERT_TRUE(tool.put_record(start));
    ASSERT_TRUE(tool.start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));
    EXPECT_FALSE(checked(dialog, kDays[1].closed));
    EXPECT_TRUE(checked(dialog, kDays[6].closed));

    // Close Tuesday and move its pickers: neither time may reach the record.
    SendMessageA(wd::child(dialog, kDays[1].closed), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(pd::set_picker_time(wd::child(dialog, kDays[1].opens), {10, 0, 0}));
    ASSERT_TRUE(pd::set_picker_time(wd::child(dialog, kDays[1].closes), {11, 0, 0}));
    save_expecting_saved(tool, dialog);

    zel::ConfigRecord rec;
    ASSERT_TRUE(tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_closed, 1), "01");
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_open_time, 1), "08:30:00 AM");
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_close_time, 1), "05:15:00 PM");
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_name, 1), "TUE");
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_closed, 6), "01");
    EXPECT_EQ(zel::get_field(rec, zel::Field::day_name, 6), "") << "a day never saved open has no name";
    for (int d : {0, 2, 3, 4, 5}) {
        EXPECT_EQ(zel::get_field(rec, zel::Field::day_closed, d), "00") << d;
        EXPECT_EQ(zel::get_field(rec, zel::Field::day_name, d), kNames[static_cast<std::size_t>(d)]) << d;
    }

    // The next showing reads the file again.
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));
    EXPECT_TRUE(checked(dialog, kDays[1].closed));
    EXPECT_EQ(wd::text(wd::child(dialog, kDays[1].opens)), "08:30:00 AM");
    EXPECT_EQ(wd::text(wd::child(dialog, kDays[1].closes)), "05:15:00 PM");
    EXPECT_FALSE(checked(dialog, kDays[2].closed));
    ASSERT_TRUE(wd::click(wd::child(dialog, IDCANCEL)));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
}

TEST(WeeklyDialog, StoredTimesAreReadByTheClockRuleAndSavedBackUnchanged)
{
    struct Row {
        int day;
        bool opening;
        const char* stored;
        int hour, minute, second;
        const char* saved;  // what Save writes back
    };
    const Row rows[] = {
        {0, true, "12:15:00 AM", 0, 15, 0, "12:15:00 AM"},   // a quarter past midnight
        {0, false, "12:15:00 PM", 12, 15, 0, "12:15:00 PM"},  // a quarter past noon
        {1, true, "07:45:00 PM", 19, 45, 0, "07:45:00 PM"},
        {1, false, "09:05:30 AM", 9, 5, 30, "09:05:30 AM"},
        {2, true, "", 0, 0, 0, "12:00:00 AM"},               // empty reads as midnight
        {2, false, "11:59:59 PM", 23, 59, 59, "11:59:59 PM"},
        {3, true, "06:00:00 PM", 18, 0, 0, "06:00:00 PM"},   // opens after it closes: kept
        {3, false, "08:00:00 AM", 8, 0, 0, "08:00:00 AM"},
    };
    // Paths: longer than the 99 the dialog stores, exactly 99, and empty.
    std::string long_path = "C:\\Voice\\";
    while (long_path.size() < 110) long_path += "long";
    long_path += ".vox";
    std::string exact_path = "C:\\V\\";
    while (exact_path.size() < 95) exact_path += "e";
    exact_path += ".vox";
    ASSERT_EQ(exact_path.size(), 99u);

    zel::ConfigRecord start = zel::default_record();
    for (const Row& r : rows) {
        zel::set_field(start, r.opening ? zel::Field::day_open_time : zel::Field::day_close_time, r.day, r.stored);
    }
    ASSERT_EQ(zel::set_field(start, zel::Field::open_greeting_vox, long_path), zel::SetResult::ok);
    zel::set_field(start, zel::Field::closed_greeting_vox, exact_path);
    zel::set_field(start, zel::Field::wrong_ext_vox, "");
    zel::set_field(start, zel::Field::system_error_vox, "C:\\Voice\\Bye.vox");

    pd::Plandesk tool;
    ASSERT_TRUE(tool.put_record(start));
    ASSERT_TRUE(tool.start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));

    for (const Row& r : rows) {
        const DayControls& c = kDays[static_cast<std::size_t>(r.day)];
        HWND picker = wd::child(dialog, r.opening ? c.opens : c.closes);
        SYSTEMTIME st{};
        DWORD gdt = 0;
        ASSERT_TRUE(wd::get_datetime(picker, &st, &gdt));
        EXPECT_EQ(gdt, static_cast<DWORD>(GDT_VALID));
        EXPECT_EQ(st.wHour, r.hour) << "stored \"" << r.stored << "\"";
        EXPECT_EQ(st.wMinute, r.minute) << "stored \"" << r.stored << "\"";
        EXPECT_EQ(st.wSecond, r.second) << "stored \"" << r.stored << "\"";
        EXPECT_EQ(wd::text(picker), r.saved) << "stored \"" << r.stored << "\"";
    }
    EXPECT_EQ(wd::text(wd::child(dialog, 1000)), long_path) << "a stored path is shown whole";
    EXPECT_EQ(wd::text(wd::child(dialog, 1001)), exact_path);
    EXPECT_EQ(wd::text(wd::child(dialog, 1002)), "");
    EXPECT_EQ(wd::text(wd::child(dialog, 1004)), "C:\\Voice\\Bye.vox");

    save_expecting_saved(tool, dialog);

    zel::ConfigRecord rec;
    ASSERT_TRUE(tool.record(&rec));
    for (const Row& r : rows) {
        EXPECT_EQ(zel::get_field(rec, r.opening ? zel::Field::day_open_time : zel::Field::day_close_time, r.day),
                  r.saved)
            << "stored \"" << r.stored << "\"";
    }
    EXPECT_EQ(zel::get_field(rec, zel::Field::open_greeting_vox), long_path.substr(0, 99));
    EXPECT_EQ(zel::get_field(rec, zel::Field::closed_greeting_vox), exact_path);
    EXPECT_EQ(zel::get_field(rec, zel::Field::wrong_ext_vox), "");
    EXPECT_EQ(zel::get_field(rec, zel::Field::system_error_vox), "C:\\Voice\\Bye.vox");
}

TEST(WeeklyDialog, WithoutWorkingFileSaveWritesNothingAndAChoiceStillEndsTheToolLater)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.program.put_file("Error.vox", "vox"));
    ASSERT_TRUE(tool.start());
    ASSERT_TRUE(tool.program.remove_file("zel_system.cfg"));

    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));
    for (int edit : kVoiceEdits) EXPECT_EQ(wd::text(wd::child(dialog, edit)), "") << edit;
    for (const DayControls& c : kDays) EXPECT_FALSE(checked(dialog, c.closed));

    ASSERT_TRUE(tool.choose_voice(dialog, 1038, 1004, tool.program.path("Error.vox")));

    // Without a file, Save only closes: no box, no restart, nothing written.
    ASSERT_TRUE(wd::click(wd::child(dialog, IDOK)));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
    EXPECT_TRUE(tool.expect_no_box());
    EXPECT_TRUE(tool.program.running());
    EXPECT_FALSE(tool.program.file_exists("zel_system.cfg"));

    // The choice still counts: the folder may have moved, so the next end of the dialog
    // ends the tool.
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dialog));
    ASSERT_TRUE(wd::click(wd::child(dialog, IDCANCEL)));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(tool.wait_box(&box));
    EXPECT_EQ(box.text, kRestartAfterCancel);
    EXPECT_EQ(box.caption, kRestartAfterCancelCaption);
    ASSERT_TRUE(wd::dismiss(box));
    EXPECT_TRUE(tool.expect_exit(0));
}

}  // namespace
