// The call route dialog driven in the real Plandesk: what it shows of a stored record,
// what Save stores, the one-voice chooser, "Clear All Selection", a cancelled browse after
// either, the missing working file and a voice path too long to keep.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_record.h"
#include "plandesk_driver.h"

namespace {

using zel::Field;

struct RowIds {
    int ext, chooser, voice, port, from, to, alt;
};

// The route rows' controls, row 1 to 16.
constexpr RowIds kRows[16] = {
    {1000, 1015, 1060, 1115, 1023, 1024, 1094}, {1001, 1016, 1061, 1116, 1025, 1026, 1095},
    {1002, 1037, 1062, 1117, 1027, 1028, 1096}, {1004, 1038, 1063, 1118, 1029, 1030, 1097},
    {1005, 1039, 1064, 1119, 1031, 1032, 1098}, {1051, 1040, 1065, 1120, 1033, 1034, 1099},
    {1007, 1041, 1066, 1121, 1035, 1036, 1100}, {1008, 1042, 1067, 1122, 1076, 1077, 1101},
    {1052, 1043, 1068, 1123, 1078, 1079, 1102}, {1053, 1044, 1069, 1124, 1080, 1081, 1103},
    {1054, 1045, 1070, 1125, 1082, 1083, 1104}, {1055, 1046, 1071, 1126, 1084, 1085, 1105},
    {1056, 1047, 1072, 1127, 1086, 1087, 1106}, {1057, 1048, 1073, 1128, 1088, 1089, 1107},
    {1058, 1049, 1074, 1129, 1090, 1091, 1108}, {1059, 1050, 1075, 1130, 1092, 1093, 1109},
};

constexpr int kOneVoiceButton = 1110;
constexpr int kOneVoice = 1111;
constexpr int kDefaultPort = 1112;
constexpr int kNoInputButton = 1113;
constexpr int kNoInputVoice = 1114;
constexpr int kClearAll = 1131;

const std::string kSavedText = std::string(22, ' ') + "SAVED";
constexpr const char* kSavedCaption = "Extension Routing Configuration Updated";
constexpr const char* kRestartText = "Please Restart Program To Set Configuration";
constexpr const char* kRestartCaption = "Extension Routing Configuration Save/Validate";
const std::string kCancelRestartText = std::string(29, ' ') + "Restart Program To Recover Old Configuration";
constexpr const char* kCancelRestartCaption =
    "A Change in Extension Routing Configuration has beed detected, but no save is requested.";

struct StoredRoute {
    int route;
    std::string ext, vox, port, from, to, alt;
};

void store(zel::ConfigRecord& rec, const StoredRoute& r)
{
    zel::set_field(rec, Field::route_ext, r.route, r.ext);
    zel::set_field(rec, Field::route_vox, r.route, r.vox);
    zel::set_field(rec, Field::route_port, r.route, r.port);
    zel::set_field(rec, Field::route_from_time, r.route, r.from);
    zel::set_field(rec, Field::route_to_time, r.route, r.to);
    zel::set_field(rec, Field::route_alt_number, r.route, r.alt);
}

std::string item_text(HWND dialog, int id) { return wd::text(wd::child(dialog, id)); }

// Seconds since midnight of the local clock, and of a time of day.
int local_seconds()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
}
int seconds_of(const zel::TimeOfDay& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

// A time stored by a picker that was never set: inside [before, after], on the clock.
bool time_within(const std::string& stored, int before, int after)
{
    const int t = seconds_of(zel::parse_time(stored));
    return before <= after ? (t >= before && t <= after) : (t >= before || t <= after);
}

TEST(CallRouteDialog, HasEveryControlOfTheTemplateAndNoSystemMenu)
{
    pd::Plandesk run;
    ASSERT_TRUE(run.start());
    HWND dlg = nullptr;
    ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));
    EXPECT_EQ(wd::window_style(dlg) & WS_SYSMENU, 0);

    struct Expect {
        int id;
        const char* cls;
    };
    std::vector<Expect> controls = {{kOneVoiceButton, "Button"}, {kOneVoice, "Edit"},   {kDefaultPort, "Edit"},
                                    {kNoInputButton, "Button"},  {kNoInputVoice, "Edit"}, {kClearAll, "Button"},
                                    {IDOK, "Button"},            {IDCANCEL, "Button"}};
    for (const RowIds& r : kRows) {
        controls.insert(controls.end(), {{r.ext, "Edit"}, {r.chooser, "Button"}, {r.voice, "Edit"}, {r.port, "Edit"},
                                         {r.from, "SysDateTimePick32"}, {r.to, "SysDateTimePick32"}, {r.alt, "Edit"}});
    }
    for (const Expect& e : controls) {
        HWND c = wd::child(dlg, e.id);
        ASSERT_NE(c, nullptr) << "control " << e.id;
        EXPECT_STRCASEEQ(wd::class_name(c).c_str(), e.cls) << "control " << e.id;
    }
    // Voices are set through the choosers only; the row displays show the file's end.
    for (const RowIds& r : kRows) {
        EXPECT_FALSE(IsWindowEnabled(wd::child(dlg, r.voice))) << r.voice;
        EXPECT_NE(wd::window_style(wd::child(dlg, r.voice)) & ES_RIGHT, 0) << r.voice;
    }
    EXPECT_EQ(wd::text(wd::child(dlg, kClearAll)), "Clear All Selection");
    EXPECT_EQ(wd::text(wd::child(dlg, IDOK)), "Save and Close Configuration");
    EXPECT_EQ(wd::text(wd::child(dlg, IDCANCEL)), "Cancel");
}

TEST(CallRouteDialog, OddExtensionsAreShownAndSurviveSave)
{
    const std::vector<StoredRoute> stored = {
        {0, "123", "C:\\Voice\\Three.vox", "201", "09:00:00 AM", "05:30:00 PM", "5551234"},
        {1, "4567", "C:\\Voice\\Four.vox", "202", "08:15:00 AM", "06:00:00 PM", "9,5557777"},
        {2, "98765", "C:\\Voice\\Five.vox", "203", "07:00:00 AM", "07:45:30 PM", "203"},
        {3, "abcd", "C:\\Voice\\Letters.vox", "204", "10:00:00 AM", "11:00:00 AM", ""},
    };
    zel::ConfigRecord rec = zel::default_record();
    for (const StoredRoute& r : stored) store(rec, r);

    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    HWND dlg = nullptr;
    ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));

    for (const StoredRoute& r : stored) {
        const RowIds& ids = kRows[r.route];
        EXPECT_EQ(item_text(dlg, ids.ext), r.ext) << "route " << r.route;
        EXPECT_EQ(item_text(dlg, ids.voice), r.vox) << "route " << r.route;
        EXPECT_EQ(item_text(dlg, ids.port), r.port) << "route " << r.route;
        EXPECT_EQ(item_text(dlg, ids.alt), r.alt) << "route " << r.route;
        EXPECT_EQ(item_text(dlg, ids.from), r.from) << "route " << r.route;
        EXPECT_EQ(item_text(dlg, ids.to), r.to) << "route " << r.route;
    }
    // Typed into an empty row: stored cut to four characters.
    ASSERT_TRUE(wd::set_text(wd::child(dlg, kRows[4].ext), "12345"));

    ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
    ASSERT_TRUE(run.expect_box(kSavedText, kSavedCaption));
    ASSERT_TRUE(run.expect_dialog_closed(dlg));

    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    for (StoredRoute r : stored) {
        if (r.ext.size() > 4) r.ext.resize(4);
        EXPECT_EQ(zel::get_field(saved, Field::route_ext, r.route), r.ext) << "route " << r.route;
        EXPECT_EQ(zel::get_field(saved, Field::route_vox, r.route), r.vox) << "route " << r.route;
        EXPECT_EQ(zel::get_field(saved, Field::route_port, r.route), r.port) << "route " << r.route;
        EXPECT_EQ(zel::get_field(saved, Field::route_from_time, r.route), r.from) << "route " << r.route;
        EXPECT_EQ(zel::get_field(saved, Field::route_to_time, r.route), r.to) << "route " << r.route;
        EXPECT_EQ(zel::get_field(saved, Field::route_alt_number, r.route), r.alt) << "route " << r.route;
    }
    EXPECT_EQ(zel::get_field(saved, Field::route_ext, 4), "1234");
}

TEST(CallRouteDialog, StoredTimesLoadBackAndUnloadedRowsStoreTheOpeningTime)
{
    zel::ConfigRecord rec = zel::default_record();
    store(rec, {0, "1001", "", "201", "12:30:00 AM", "12:30:00 PM", ""});
    store(rec, {1, "1002", "", "202", "01:05:00 PM", "11:59:59 AM", ""});
    // A line never loaded (empty extension) whose times must not survive.
    store(rec, {5, "", "", "", "03:03:03 AM", "04:04:04 AM", ""});

    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    const int before = local_seconds();
    HWND dlg = nullptr;
    ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));
    const int after = local_seconds();

    struct Shown {
        int picker;
        zel::TimeOfDay time;
        const char* text;
    };
    const Shown shown[] = {
        {kRows[0].from, {0, 30, 0}, "12:30:00 AM"},
        {kRows[0].to, {12, 30, 0}, "12:30:00 PM"},
        {kRows[1].from, {13, 5, 0}, "01:05:00 PM"},
        {kRows[1].to, {11, 59, 59}, "11:59:59 AM"},
    };
    for (const Shown& s : shown) {
        zel::TimeOfDay t;
        ASSERT_TRUE(pd::picker_time(wd::child(dlg, s.picker), &t));
        EXPECT_EQ(t, s.time) << "picker " << s.picker;
        EXPECT_EQ(item_text(dlg, s.picker), s.text) << "picker " << s.picker;
    }

    ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
    ASSERT_TRUE(run.expect_box(kSavedText, kSavedCaption));
    ASSERT_TRUE(run.expect_dialog_closed(dlg));

    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    EXPECT_EQ(zel::get_field(saved, Field::route_from_time, 0), "12:30:00 AM");
    EXPECT_EQ(zel::get_field(saved, Field::route_to_time, 0), "12:30:00 PM");
    EXPECT_EQ(zel::get_field(saved, Field::route_from_time, 1), "01:05:00 PM");
    EXPECT_EQ(zel::get_field(saved, Field::route_to_time, 1), "11:59:59 AM");
    for (int k = 2; k < 16; ++k) {
        for (Field f : {Field::route_from_time, Field::route_to_time}) {
            const std::string t = zel::get_field(saved, f, k);
            EXPECT_EQ(t.size(), 11u) << "route " << k << ": " << t;
            EXPECT_TRUE(time_within(t, before, after)) << "route " << k << ": " << t;
        }
    }
}

TEST(CallRouteDialog, OneVoiceForAllGoesToEveryRouteAndTheNoInputVoice)
{
    pd::Plandesk run;
    ASSERT_TRUE(run.start());
    const std::string voice = run.put_voice("All.vox", "voices");
    ASSERT_FALSE(voice.empty());
    HWND dlg = nullptr;
    ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));

    ASSERT_TRUE(run.choose_voice(dlg, kOneVoiceButton, kOneVoice, voice));
    EXPECT_EQ(item_text(dlg, kNoInputVoice), voice);
    for (const RowIds& r : kRows) EXPECT_EQ(item_text(dlg, r.voice), voice) << r.voice;

    ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
    ASSERT_TRUE(run.expect_box(kRestartText, kRestartCaption));
    ASSERT_TRUE(run.expect_exit(0));

    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    EXPECT_EQ(zel::get_field(saved, Field::transfer_vox), voice);
    EXPECT_EQ(zel::get_field(saved, Field::no_input_vox), voice);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(zel::get_field(saved, Field::route_vox, k), voice) << "route " << k;
}

TEST(CallRouteDialog, ClearAllSelectionStoresNineSpacesInTheFirstVoicesAndEmptiesTheRest)
{
    zel::ConfigRecord rec = zel::default_record();
    zel::set_field(rec, Field::transfer_vox, "C:\\Voice\\All.vox");
    zel::set_field(rec, Field::no_input_vox, "C:\\Voice\\None.vox");
    for (int k = 0; k < 16; ++k) {
        store(rec, {k, std::to_string(2000 + k), "C:\\Voice\\R" + std::to_string(k) + ".vox", "2" + std::to_string(k),
                    "09:00:00 AM", "05:00:00 PM", ""});
    }

    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    HWND dlg = nullptr;
    ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));
    ASSERT_EQ(item_text(dlg, kRows[15].voice), "C:\\Voice\\R15.vox");

    const std::string nine(9, ' ');
    ASSERT_TRUE(wd::click(wd::child(dlg, kClearAll)));
    ASSERT_TRUE(wd::wait_until([&] { return item_text(dlg, kOneVoice) == nine; }, 10000, "1111 to be cleared"));
    EXPECT_EQ(item_text(dlg, kRows[0].voice), nine);
    EXPECT_EQ(item_text(dlg, kRows[1].voice), nine);
    for (int r = 2; r < 16; ++r) EXPECT_EQ(item_text(dlg, kRows[r].voice), "") << "row " << r + 1;
    EXPECT_EQ(item_text(dlg, kNoInputVoice), "");

    // Not a voice choice: Save confirms and the tool goes on.
    ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
    ASSERT_TRUE(run.expect_box(kSavedText, kSavedCaption));
    ASSERT_TRUE(run.expect_dialog_closed(dlg));

    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    EXPECT_EQ(zel::get_field(saved, Field::transfer_vox), nine);
    EXPECT_EQ(zel::get_field(saved, Field::no_input_vox), "");
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(zel::get_field(saved, Field::route_vox, k), k < 2 ? nine : "") << "route " << k;
        EXPECT_EQ(zel::get_field(saved, Field::route_ext, k), std::to_string(2000 + k)) << "route " << k;
    }
}

// A chooser keeps its last pick, but a browse cancelled later must not bring that pick
// back over what the one-voice chooser or "Clear All Selection" has put in its place.
TEST(CallRouteDialog, CancelledBrowseLeavesEveryVoiceAsItIs)
{
    const std::string nine(9, ' ');
    struct Case {
        const char* name;
        int chooser;  // the chooser whose browse is cancelled
        bool clear_all;
    };
    const Case cases[] = {
        {"row 1 picked, then one voice for all, then row 1 cancelled", kRows[0].chooser, false},
        {"one voice for all, then Clear All Selection, then one voice cancelled", kOneVoiceButton, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pd::Plandesk run;
        ASSERT_TRUE(run.start());
        const std::string first = run.put_voice("First.vox", "voices");
        const std::string all = run.put_voice("All.vox", "voices");
        ASSERT_FALSE(first.empty() || all.empty());
        HWND dlg = nullptr;
        ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));

        // What every voice box should show at the end, row 1 to 16, then 1111 and 1114.
        std::vector<std::string> expected;
        if (c.clear_all) {
            ASSERT_TRUE(run.choose_voice(dlg, kOneVoiceButton, kOneVoice, all));
            ASSERT_TRUE(wd::click(wd::child(dlg, kClearAll)));
            ASSERT_TRUE(pd::wait_text(wd::child(dlg, kOneVoice), nine));
            for (int r = 0; r < 16; ++r) expected.push_back(r < 2 ? nine : "");
            expected.push_back(nine);
            expected.push_back("");
        } else {
            ASSERT_TRUE(run.choose_voice(dlg, kRows[0].chooser, kRows[0].voice, first));
            ASSERT_TRUE(run.choose_voice(dlg, kOneVoiceButton, kOneVoice, all));
            ASSERT_TRUE(pd::wait_text(wd::child(dlg, kRows[0].voice), all));
            expected.assign(18, all);
        }
        auto shown = [&] {
            std::vector<std::string> texts;
            for (const RowIds& r : kRows) texts.push_back(item_text(dlg, r.voice));
            texts.push_back(item_text(dlg, kOneVoice));
            texts.push_back(item_text(dlg, kNoInputVoice));
            return texts;
        };
        ASSERT_EQ(shown(), expected);

        HWND chooser = wd::child(dlg, c.chooser);
        ASSERT_TRUE(pd::press_chooser(chooser));
        ASSERT_TRUE(run.cancel_file());
        ASSERT_TRUE(pd::drain_posted(wd::child(chooser, 12345)));
        EXPECT_TRUE(run.expect_no_box());
        EXPECT_EQ(shown(), expected) << "a cancelled browse changed a voice";

        // The record takes what the boxes show; the browse still counts as a change.
        ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
        ASSERT_TRUE(run.expect_box(kRestartText, kRestartCaption));
        ASSERT_TRUE(run.expect_exit(0));
        zel::ConfigRecord saved;
        ASSERT_TRUE(run.record(&saved));
        for (int k = 0; k < 16; ++k)
            EXPECT_EQ(zel::get_field(saved, Field::route_vox, k), expected[static_cast<std::size_t>(k)]) << "route " << k;
        EXPECT_EQ(zel::get_field(saved, Field::transfer_vox), expected[16]);
        EXPECT_EQ(zel::get_field(saved, Field::no_input_vox), expected[17]);
    }
}

// Without the file Save writes nothing and confirms nothing; a voice chosen meanwhile still
// ends the tool, as the file dialog may have moved the current folder.
TEST(CallRouteDialog, MissingWorkingFileIsReportedAndSaveWritesNothing)
{
    for (bool choose_voice : {false, true}) {
        SCOPED_TRACE(choose_voice ? "with a voice chosen" : "without a voice chosen");
        pd::Plandesk run;
        ASSERT_TRUE(run.start());
        ASSERT_TRUE(run.program.remove_file("zel_system.cfg"));
        const std::string voice = run.put_voice("Default.vox", "voices");

        ASSERT_TRUE(wd::post_command(run.main, pd::kCallRoute.command));
        ASSERT_TRUE(run.expect_box("zel_system.cfg", "Encounter Problem Opening"));
        HWND dlg = nullptr;
        ASSERT_TRUE(run.program.wait_window({.cls = "#32770", .caption = pd::kCallRoute.caption}, 15000, &dlg));
        EXPECT_EQ(item_text(dlg, kRows[0].ext), "");
        EXPECT_EQ(item_text(dlg, kDefaultPort), "");
        EXPECT_EQ(item_text(dlg, kOneVoice), "");
        ASSERT_TRUE(wd::set_text(wd::child(dlg, kRows[0].ext), "1001"));
        if (choose_voice) {
            ASSERT_TRUE(run.choose_voice(dlg, kNoInputButton, kNoInputVoice, voice));
        }

        ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
        if (choose_voice) {
            ASSERT_TRUE(run.expect_box(kRestartText, kRestartCaption));
            ASSERT_TRUE(run.expect_exit(0));
        } else {
            ASSERT_TRUE(run.expect_dialog_closed(dlg));
            EXPECT_TRUE(run.expect_no_box());
        }
        EXPECT_FALSE(run.program.file_exists("zel_system.cfg"));
    }
}

// A path the record cannot hold whole is refused, not cut into another file's name.
TEST(CallRouteDialog, OverLongVoicePathIsRefusedWithItsBoxAndTheVoiceKept)
{
    zel::ConfigRecord rec = zel::default_record();
    store(rec, {1, "1002", "C:\\Voice\\Kept.vox", "202", "09:00:00 AM", "05:00:00 PM", ""});
    pd::Plandesk run;
    ASSERT_TRUE(run.put_record(rec));
    ASSERT_TRUE(run.start());
    const std::string voice = run.put_voice("Long.vox", std::string(100, 'L'));
    ASSERT_GT(voice.size(), 121u);
    HWND dlg = nullptr;
    ASSERT_TRUE(run.open_dialog(pd::kCallRoute, &dlg));

    ASSERT_TRUE(pd::press_chooser(dlg, kRows[1].chooser));
    ASSERT_TRUE(run.choose_file(voice));
    ASSERT_TRUE(run.expect_box("The voice file path is longer than 121 characters. Move the file to a shorter path.",
                               "Voice File Not Set"));
    EXPECT_EQ(item_text(dlg, kRows[1].voice), "C:\\Voice\\Kept.vox");

    // The chooser was used all the same: Save ends the tool.
    ASSERT_TRUE(wd::click(wd::child(dlg, IDOK)));
    ASSERT_TRUE(run.expect_box(kRestartText, kRestartCaption));
    ASSERT_TRUE(run.expect_exit(0));
    zel::ConfigRecord saved;
    ASSERT_TRUE(run.record(&saved));
    EXPECT_EQ(zel::get_field(saved, Field::route_vox, 1), "C:\\Voice\\Kept.vox");
}

}  // namespace
