// The two programs end to end, with no hand-made files: an operator designs a phone system
// in Plandesk's dialogs alone (general settings, voices picked in the real open-file
// dialog, weekly hours that hold now, three routes of which one has a window that is
// active now, a holiday and a special-hours day that are not today), restarting the tool
// after each dialog that took a voice, validates it and sets it for use. The exported
// ZEL_SYSTEM.CMD goes beside Vornline.exe and the stand-in board; the channels are opened
// and callers key each route or nothing, and each call must reach the port or the outside
// number that the dialogs configured, with the flash, the pauses and the digits they say.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "commands.h"
#include "config_record.h"
#include "e2e_plan.h"
#include "plandesk_driver.h"
#include "record_file.h"
#include "vornline_driver.h"

namespace {

using namespace std::chrono_literals;
using zel::Field;

// Board time runs this many times faster than real time.
constexpr int kSpeed = 20;
constexpr auto kEventWait = 15s;
constexpr DWORD kWaitMs = 15000;

constexpr int kExitCommand = pd::kExitCommand;

// zelcfg's check of a file; "" when it passes, else what it printed.
std::string zelcfg_check(const std::string& path)
{
    std::string out;
    std::string err;
    if (zelcfg::run({"check", path}, out, err) == 0) return {};
    return "zelcfg check " + path + " failed:\n" + out + err;
}

// Disk offset of validated_flag: its image offset plus one CR for each of the three lines
// before it.
constexpr std::size_t kValidatedDiskOffset = 312 + 3;

struct WeekRow {
    int closed, opens, closes;  // check box and the two time pickers, Monday first
};
constexpr WeekRow kWeekRows[7] = {{1003, 1023, 1024}, {1017, 1025, 1026}, {1018, 1027, 1028}, {1019, 1029, 1030},
                                  {1020, 1031, 1032}, {1021, 1033, 1034}, {1022, 1035, 1036}};

struct RouteRow {
    int ext, chooser, voice, port, from, to, alt;
};
constexpr RouteRow kRouteRows[3] = {{1000, 1015, 1060, 1115, 1023, 1024, 1094},
                                    {1001, 1016, 1061, 1116, 1025, 1026, 1095},
                                    {1002, 1037, 1062, 1117, 1027, 1028, 1096}};

// The chooser and the display of each voice, dialog by dialog.
struct VoiceControl {
    Field field;
    int index, chooser, display;
};
constexpr VoiceControl kWeeklyVoices[4] = {{Field::open_greeting_vox, 0, 1015, 1000},
                                           {Field::closed_greeting_vox, 0, 1016, 1001},
                                           {Field::wrong_ext_vox, 0, 1037, 1002},
                                           {Field::system_error_vox, 0, 1038, 1004}};
constexpr VoiceControl kHolidayVoices[3] = {{Field::special_open_vox, 0, 1248, 1000},
                                            {Field::special_closed_vox, 0, 1249, 1001},
                                            {Field::holiday_vox, 0, 1250, 1002}};

e2e::Moment now_moment()
{
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return e2e::Moment{zel::Date{t.wMonth, t.wDay, t.wYear}, t.wHour * 60 + t.wMinute};
}

std::string padded(const char* text, std::size_t width)
{
    std::string s = text;
    s.resize(width, ' ');
    return s;
}

// A time picker's value for a minute of the day.
zel::TimeOfDay minute_of_day(int minute) { return {minute / 60, minute % 60, 0}; }

bool enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        plan = e2e::make_plan(now_moment());
        planned_at = GetTickCount64();
        // The voices live in a folder of their own beside the working file.
        ASSERT_TRUE(CreateDirectoryA(tool.program.path("voices").c_str(), nullptr));
        voice_folder = tool.program.path("voices");
        const std::size_t audio_bytes_per_second = static_cast<std::size_t>(plan.play_hz / 2);
        for (const e2e::Voice& v : plan.voices) {
            std::string bytes(audio_bytes_per_second * static_cast<std::size_t>(v.audio_seconds), '\0');
            for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x17 * (i % 11) + v.file.size());
            ASSERT_TRUE(tool.program.put_file("voices\\" + v.file, bytes));
            // The weekly dialog keeps 99 characters of a path.
            ASSERT_LE(path_of(v.field, v.index).size(), 99u) << path_of(v.field, v.index);
        }
    }

    std::string path_of(Field f, int index = 0) const
    {
        const e2e::Voice* v = e2e::voice_of(plan, f, index);
        return v != nullptr ? voice_folder + "\\" + v->file : std::string();
    }

    void expect_sound(const std::string& name) const
    {
        EXPECT_EQ("", zelcfg_check(tool.program.path(name))) << name;
    }

    void set_text(HWND dialog, int id, const std::string& text) const
    {
        ASSERT_TRUE(wd::set_text(wd::child(dialog, id), text)) << "control " << id;
    }

    // Save with a voice chosen: the restart box, then the tool ends by itself; the operator
    // starts it again.
    void save_and_restart(HWND dialog, const std::string& text, const std::string& caption)
    {
        ASSERT_TRUE(wd::click(wd::child(dialog, IDOK)));
        ASSERT_TRUE(tool.expect_box(text, caption));
        ASSERT_TRUE(tool.expect_exit(0));
        expect_sound("zel_system.cfg");
        ASSERT_TRUE(tool.restart());
    }

    void configure_general();
    void configure_week();
    void configure_routes();
    void configure_holidays();
    void validate_and_export();
    void check_command_file();
    void place_calls();

    e2e::Plan plan;
    ULONGLONG planned_at = 0;
    std::string voice_folder;
    pd::Plandesk tool;
    vt::Vornline runtime{7900, 90};
};

void EndToEnd::configure_general()
{
    HWND dlg = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dlg));
    set_text(dlg, 1000, plan.info_line_1);
    set_text(dlg, 1001, plan.info_line_2);
    set_text(dlg, 1005, plan.answer_ring);
    set_text(dlg, 1007, plan.int_delay);
    set_text(dlg, 1008, plan.ext_delay);
    ASSERT_TRUE(pd::pick_entry(dlg, 1012, plan.vox_entry));
    ASSERT_TRUE(wd::wait_until([&] { return wd::text(wd::child(dlg, 1012)) == plan.vox_entry_text; }, kWaitMs,
                               "the voice file type " + plan.vox_entry_text));
    // No voice here: the tool goes on after its box.
    ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
    ASSERT_TRUE(tool.expect_box(std::string(23, ' ') + "Saved", "General System Configuration"));
    ASSERT_TRUE(wd::wait_window_gone(dlg, kWaitMs));
    ASSERT_TRUE(tool.program.running());
    expect_sound("zel_system.cfg");
}

void EndToEnd::configure_week()
{
    HWND dlg = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dlg));
    for (const VoiceControl& v : kWeeklyVoices)
        ASSERT_TRUE(tool.choose_voice(dlg, v.chooser, v.display, path_of(v.field, v.index)));
    for (int d = 0; d < 7; ++d) {
        const e2e::DayHours& h = plan.week[static_cast<std::size_t>(d)];
        const WeekRow& row = kWeekRows[d];
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutA(wd::child(dlg, row.closed), BM_SETCHECK,
                                        h.closed_all_day ? BST_CHECKED : BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, 2000,
                                        &ignored));
        if (h.closed_all_day) continue;
        ASSERT_TRUE(pd::set_picker_time(wd::child(dlg, row.opens), minute_of_day(h.opens)));
        ASSERT_TRUE(pd::set_picker_time(wd::child(dlg, row.closes), minute_of_day(h.closes)));
    }
    save_and_restart(dlg, "Restarting Program To Set Weekly Configuration", "Weekly Configuration Save/Validate");
}

void EndToEnd::configure_routes()
{
    HWND dlg = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kCallRoute, &dlg));
    for (const e2e::Route& r : plan.routes) {
        SCOPED_TRACE("route row " + std::to_string(r.row + 1));
        const RouteRow& row = kRouteRows[r.row];
        set_text(dlg, row.ext, r.ext);
        set_text(dlg, row.port, r.port);
        set_text(dlg, row.alt, r.alt);
        ASSERT_TRUE(pd::set_picker_time(wd::child(dlg, row.from), minute_of_day(r.from)));
        ASSERT_TRUE(pd::set_picker_time(wd::child(dlg, row.to), minute_of_day(r.to)));
        ASSERT_TRUE(tool.choose_voice(dlg, row.chooser, row.voice, path_of(Field::route_vox, r.row)));
    }
    set_text(dlg, 1112, plan.default_port);
    ASSERT_TRUE(tool.choose_voice(dlg, 1113, 1114, path_of(Field::no_input_vox)));
    save_and_restart(dlg, "Please Restart Program To Set Configuration", "Extension Routing Configuration Save/Validate");
}

void EndToEnd::configure_holidays()
{
    HWND dlg = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kHoliday, &dlg));
    ASSERT_TRUE(pd::set_picker_date(wd::child(dlg, 1188), plan.holiday));
    ASSERT_TRUE(pd::set_picker_date(wd::child(dlg, 1132), plan.special));
    ASSERT_TRUE(pd::set_picker_time(wd::child(dlg, 1186), minute_of_day(plan.special_opens)));
    ASSERT_TRUE(pd::set_picker_time(wd::child(dlg, 1187), minute_of_day(plan.special_closes)));
    for (const VoiceControl& v : kHolidayVoices)
        ASSERT_TRUE(tool.choose_voice(dlg, v.chooser, v.display, path_of(v.field, v.index)));
    save_and_restart(dlg, "Restart Program To Set Configuration", "Holiday Schedule Configuration Save/Validate");
}

void EndToEnd::validate_and_export()
{
    HWND dlg = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kValidate, &dlg));
    HWND report_box = wd::child(dlg, 1000);
    HWND report = wd::child(dlg, IDOK);
    HWND set = wd::child(dlg, 1015);
    ASSERT_NE(set, nullptr);
    EXPECT_FALSE(enabled(set)) << "Set is offered before a report";

    ASSERT_TRUE(wd::click(report));
    std::string text;
    ASSERT_TRUE(wd::wait_until([&] { return !(text = wd::text(report_box)).empty(); }, kWaitMs, "the report"));
    // Every check passed, and the report says so.
    const std::string pieces[] = {
        padded("Close Voice: OK.", 62),
        padded("System Error Voice: OK.", 62),
        padded("Open Greeting Voice: OK.", 62),
        padded("Wrong Extension Voice: OK.", 62),
        padded("No Input Voice: OK.", 62),
        padded("Voice Type Selection: Selectied.", 59),
        "One or more extension, port & Voice defined correctly.",
        std::string(53, ' '),
        padded("General Report Completed. No Show Stopper Detected!", 66),
    };
    std::string clean;
    for (const std::string& p : pieces) clean += p;
    EXPECT_EQ(text.substr(0, clean.size()), clean) << text;
    // zelcfg's report judges the working file the same way.
    std::string out, err;
    EXPECT_EQ(0, zelcfg::run({"report", tool.program.path("zel_system.cfg")}, out, err)) << out << err;
    EXPECT_NE(out.find("General Report Completed. No Show Stopper Detected!"), std::string::npos) << out;

    const std::string working = tool.program.read_file("zel_system.cfg");
    ASSERT_TRUE(wd::wait_until([&] { return enabled(set); }, kWaitMs, "Set Configuration For Use to be offered"));
    ASSERT_TRUE(wd::click(set));
    ASSERT_TRUE(wd::wait_until([&] { return !enabled(set) && !enabled(report); }, kWaitMs,
                               "Report and Set to be disabled after the export"));
    EXPECT_TRUE(tool.expect_no_box()) << "the export reported a fault";

    // The command file is the working file with the validated mark, and nothing else.
    const std::string exported = tool.program.read_file("zel_system.cmd");
    ASSERT_EQ(exported.size(), zel::kDiskSize);
    ASSERT_EQ(working.size(), zel::kDiskSize);
    std::vector<std::size_t> differ;
    for (std::size_t i = 0; i < exported.size(); ++i) {
        if (exported[i] != working[i]) differ.push_back(i);
    }
    EXPECT_EQ(std::vector<std::size_t>{kValidatedDiskOffset}, differ);
    EXPECT_EQ('1', exported[kValidatedDiskOffset]);
    EXPECT_EQ('0', working[kValidatedDiskOffset]) << "the general dialog's save leaves '0'";

    ASSERT_TRUE(wd::click(wd::child(dlg, IDCANCEL)));
    ASSERT_TRUE(wd::wait_window_gone(dlg, kWaitMs));
    ASSERT_TRUE(wd::post_command(tool.main, kExitCommand));
    ASSERT_TRUE(tool.expect_exit(0));
    EXPECT_EQ(working, tool.program.read_file("zel_system.cfg")) << "the export changed the working file";
    expect_sound("zel_system.cfg");
    expect_sound("zel_system.cmd");
}

void EndToEnd::check_command_file()
{
    zel::ConfigRecord cmd;
    std::size_t got = 0;
    ASSERT_EQ(zel::ReadStatus::ok, zel::load_record(tool.program.path("zel_system.cmd").c_str(), cmd, &got)) << got;
    // Each dialog kept what the ones before it saved.
    for (const e2e::Expected& x : e2e::expected_fields(plan, voice_folder)) {
        EXPECT_EQ(zel::get_field(cmd, x.field, x.index), x.text)
            << zel::field_def(x.field).name << "[" << x.index << "]";
    }
}

void EndToEnd::place_calls()
{
    const ULONGLONG elapsed_ms = GetTickCount64() - planned_at;
    ASSERT_LT(elapsed_ms, static_cast<ULONGLONG>(e2e::kHoldMinutes - 10) * 60000)
        << "the design was made for the clock " << elapsed_ms / 60000 << " minutes ago and no longer holds";

    ASSERT_TRUE(runtime.program.copy_in(tool.program.path("zel_system.cmd"), "ZEL_SYSTEM.CMD"));
    ASSERT_TRUE(runtime.start({.speed = kSpeed}));
    ASSERT_TRUE(runtime.open());
    ASSERT_TRUE(runtime.wait_lines_waiting(zel::leading_number(plan.answer_ring)));
    runtime.board.skip_received();

    const std::string hz = std::to_string(plan.play_hz);
    auto play = [&](int line, const std::string& path) { return "play " + std::to_string(line) + " " + hz + " " + path; };
    struct Call {
        int line;
        std::string keys;  // "" for a silent caller
        std::string voice, dial, picture;
    };
    std::vector<Call> calls;
    for (const e2e::Route& r : plan.routes)
        calls.push_back({r.row + 1, r.ext, path_of(Field::route_vox, r.row), r.dial, r.picture});
    calls.push_back({4, "", path_of(Field::no_input_vox), plan.default_dial, plan.default_picture});

    zeltest::LineController& board = runtime.board;
    for (const Call& c : calls) {
        const std::string n = std::to_string(c.line);
        SCOPED_TRACE("line " + n + (c.keys.empty() ? ", a silent caller" : ", keys " + c.keys));
        board.send("ring " + n + " 4");
        ASSERT_TRUE(board.expect("answer " + n, kEventWait));
        // The office is open now: neither a holiday nor a special-hours day.
        ASSERT_TRUE(board.expect(play(c.line, path_of(Field::open_greeting_vox)), kEventWait));
        if (c.keys.empty()) {
            ASSERT_TRUE(board.expect("collectend " + n + " 32", kEventWait));
        } else {
            board.send("dtmf " + n + " " + c.keys);
            ASSERT_TRUE(board.expect("collectend " + n + " 1 " + c.keys, kEventWait));
        }
        ASSERT_TRUE(board.expect(play(c.line, c.voice), kEventWait));
        ASSERT_TRUE(board.expect("dial " + n + " " + c.dial, kEventWait));
        ASSERT_TRUE(board.expect("dialend " + n, kEventWait));
        ASSERT_TRUE(board.expect(play(c.line, path_of(Field::system_error_vox)), kEventWait));
        // The goodbye lasts long enough to see the transfer's picture; the caller then goes.
        EXPECT_EQ(runtime.picture(c.line - 1), c.picture);
        board.send("hangup " + n);
        ASSERT_TRUE(board.expect("hook " + n + " on", kEventWait));
        ASSERT_TRUE(board.expect("wait " + n + " " + plan.answer_ring, kEventWait));
    }
    // Every call dialled once, and every voice was found.
    int dials = 0;
    for (const zeltest::BoardEvent& e : board.events()) {
        EXPECT_FALSE(zeltest::event_matches("playfail *", e.text)) << e.text;
        if (zeltest::event_matches("dial *", e.text)) ++dials;
    }
    EXPECT_EQ(dials, static_cast<int>(calls.size())) << board.report();
    // A box of a call would have held its line before it waited again.
    EXPECT_TRUE(wd::message_boxes(runtime.program.pid()).empty()) << wd::describe_screen();
    ASSERT_TRUE(runtime.close_and_exit(true));
}

TEST_F(EndToEnd, APhoneSystemDesignedInTheDialogsRoutesEveryCaller)
{
    ASSERT_TRUE(tool.start());
    expect_sound("zel_system.cfg");
    ASSERT_NO_FATAL_FAILURE(configure_general());
    ASSERT_NO_FATAL_FAILURE(configure_week());
    ASSERT_NO_FATAL_FAILURE(configure_routes());
    ASSERT_NO_FATAL_FAILURE(configure_holidays());
    ASSERT_NO_FATAL_FAILURE(validate_and_export());
    ASSERT_NO_FATAL_FAILURE(check_command_file());
    ASSERT_NO_FATAL_FAILURE(place_calls());
}

}  // namespace
