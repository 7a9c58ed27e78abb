// The voice file chooser, worked in the weekly dialog of the real Plandesk.exe: what a
// choice shows, two files joined, a cancelled browse that keeps the choice, a path over the
// limit refused, presses that must not browse, the keys that must, the re-entry guard,
// the take-over of the template button, its tooltip (made when the pointer first rests on
// the button, here in the call route dialog with its 18 choosers) and its painting.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "config_record.h"
#include "plandesk_driver.h"

namespace {

constexpr int kOpenEdit = 1000;
constexpr int kOpenChooser = 1015;
constexpr int kEmbeddedEdit = 12345;
constexpr UINT kToolId = 12346;

constexpr const char* kRestartAfterSave = "Restarting Program To Set Weekly Configuration";
constexpr const char* kRestartAfterCancel = "Restart Program Without Update Configuration";

// A started tool with its weekly dialog open on `start`.
struct WeeklyRun {
    pd::Plandesk tool;
    HWND dialog = nullptr;
    HWND chooser = nullptr;

    wd::Status open(const zel::ConfigRecord& start = zel::default_record())
    {
        if (wd::Status s = tool.put_record(start); !s) return s;
        if (wd::Status s = tool.start(); !s) return s;
        if (wd::Status s = tool.open_dialog(pd::kWeekly, &dialog); !s) return s;
        chooser = wd::child(dialog, kOpenChooser);
        return chooser != nullptr ? wd::Status::success() : wd::Status::failure("no chooser 1015");
    }
    HWND file_dialog() const
    {
        HWND files = nullptr;
        tool.file_dialog(&files);
        return files;
    }
    // Ends the dialog with the button `id` and expects the box `text`, then the tool's end.
    void end_expecting_restart(int id, const std::string& text)
    {
        ASSERT_TRUE(wd::click(wd::child(dialog, id)));
        wd::MessageBoxInfo box;
        ASSERT_TRUE(tool.wait_box(&box));
        EXPECT_EQ(box.text, text);
        ASSERT_TRUE(wd::dismiss(box));
        EXPECT_TRUE(tool.expect_exit(0));
    }
};

zel::ConfigRecord record_with_open_voice(const std::string& path)
{
    zel::ConfigRecord rec = zel::default_record();
    zel::set_field(rec, zel::Field::open_greeting_vox, path);
    return rec;
}

TEST(VoiceFileChooser, ChoosingAFileShowsExactlyItsFullPath)
{
    WeeklyRun run;
    ASSERT_TRUE(run.tool.program.put_file("Open.vox", "vox"));
    ASSERT_TRUE(run.open());
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    // The dialog offers the one filter; its file type box is cmb1 (0x470).
    EXPECT_EQ(wd::text(GetDlgItem(files, 0x470)), "Vox Files (*.Vox)");
    EXPECT_EQ(SendMessageA(GetDlgItem(files, 0x470), CB_GETCOUNT, 0, 0), 1);
    const std::string chosen = run.tool.program.path("Open.vox");
    ASSERT_TRUE(pd::choose_in_file_dialog(files, chosen));

    ASSERT_TRUE(pd::wait_text(wd::child(run.dialog, kOpenEdit), chosen));
    EXPECT_EQ(wd::text(wd::child(run.chooser, kEmbeddedEdit)), chosen) << "the chooser shows its first path";
    run.end_expecting_restart(IDOK, kRestartAfterSave);
    zel::ConfigRecord rec;
    ASSERT_TRUE(run.tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::open_greeting_vox), chosen);
}

TEST(VoiceFileChooser, TwoFilesInOneFolderAreJoinedWithoutSeparator)
{
    pd::ShortFolder folder;  // two full paths must fit the 99 characters
    ASSERT_FALSE(folder.path().empty());
    const std::string a = folder.put("A.vox");
    const std::string b = folder.put("B.vox");
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());

    WeeklyRun run;
    ASSERT_TRUE(run.open());
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(pd::open_folder_in_file_dialog(files, folder.path()));
    ASSERT_TRUE(pd::choose_in_file_dialog(files, "\"A.vox\" \"B.vox\""));

    ASSERT_TRUE(pd::wait_text(wd::child(run.dialog, kOpenEdit), a + b));
    EXPECT_EQ(wd::text(wd::child(run.chooser, kEmbeddedEdit)), a);
    run.end_expecting_restart(IDOK, kRestartAfterSave);
    zel::ConfigRecord rec;
    ASSERT_TRUE(run.tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::open_greeting_vox), a + b);
}

// A browse cancelled after a good choice keeps that choice, and Save still restarts.
TEST(VoiceFileChooser, BrowseCancelledAfterAChoiceKeepsTheChoice)
{
    WeeklyRun run;
    ASSERT_TRUE(run.tool.program.put_file("New.vox", "vox"));
    ASSERT_TRUE(run.open(record_with_open_voice("C:\\Voice\\Old.vox")));
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    const std::string expected = run.tool.program.path("New.vox");
    ASSERT_TRUE(pd::choose_in_file_dialog(files, expected));
    ASSERT_TRUE(pd::wait_text(wd::child(run.dialog, kOpenEdit), expected));

    ASSERT_TRUE(pd::press_chooser(run.chooser));
    files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(pd::cancel_file_dialog(files));

    run.end_expecting_restart(IDOK, kRestartAfterSave);
    zel::ConfigRecord rec;
    ASSERT_TRUE(run.tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::open_greeting_vox), expected);
}

TEST(VoiceFileChooser, PathOverTheLimitIsRefusedWithABoxAndTheVoiceKept)
{
    WeeklyRun run;
    const std::string folder = run.tool.program.folder();
    // A real file whose full path is 100 characters: one more than the dialog stores.
    ASSERT_LT(folder.size() + 1 + 5, 100u);
    const std::string name = std::string(100 - folder.size() - 1 - 4, 'L') + ".vox";
    ASSERT_TRUE(run.tool.program.put_file(name, "vox"));
    const std::string chosen = run.tool.program.path(name);
    ASSERT_EQ(chosen.size(), 100u);
    ASSERT_TRUE(run.open(record_with_open_voice("C:\\Voice\\Old.vox")));

    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(pd::choose_in_file_dialog(files, chosen));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(run.tool.wait_box(&box));
    EXPECT_EQ(box.text, "The voice file path is longer than 99 characters. Move the file to a shorter path.");
    EXPECT_EQ(box.caption, "Voice File Not Set");
    EXPECT_EQ(wd::text(wd::child(run.dialog, kOpenEdit)), "C:\\Voice\\Old.vox");
    ASSERT_TRUE(wd::dismiss(box));

    // The refused path is not offered again by a later cancelled browse.
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(pd::cancel_file_dialog(files));
    EXPECT_TRUE(run.tool.expect_no_box());
    EXPECT_EQ(wd::text(wd::child(run.dialog, kOpenEdit)), "C:\\Voice\\Old.vox");

    run.end_expecting_restart(IDOK, kRestartAfterSave);
    zel::ConfigRecord rec;
    ASSERT_TRUE(run.tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::open_greeting_vox), "C:\\Voice\\Old.vox");
}

TEST(VoiceFileChooser, PressDraggedOffAndReleasedOutsideDoesNotBrowse)
{
    WeeklyRun run;
    ASSERT_TRUE(run.open());
    const POINT in = pd::button_part_point(run.chooser);
    const RECT client = wd::client_rect(run.chooser);
    const LPARAM outside = MAKELPARAM(client.right + 40, client.bottom + 40);
    ASSERT_TRUE(PostMessageA(run.chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(in.x, in.y)));
    ASSERT_TRUE(PostMessageA(run.chooser, WM_MOUSEMOVE, MK_LBUTTON, outside));
    ASSERT_TRUE(PostMessageA(run.chooser, WM_LBUTTONUP, 0, outside));
    HWND edit = wd::child(run.chooser, kEmbeddedEdit);
    EXPECT_TRUE(pd::expect_no_file_dialog(edit));

    // A release inside without a press inside does not browse either.
    ASSERT_TRUE(PostMessageA(run.chooser, WM_LBUTTONUP, 0, MAKELPARAM(in.x, in.y)));
    EXPECT_TRUE(pd::expect_no_file_dialog(edit));

    // No notification went out: Cancel ends the dialog quietly.
    ASSERT_TRUE(wd::click(wd::child(run.dialog, IDCANCEL)));
    ASSERT_TRUE(wd::wait_window_gone(run.dialog, 5000));
    EXPECT_TRUE(run.tool.expect_no_box());
    EXPECT_TRUE(run.tool.program.running());

    // The same press, released inside, does browse.
    ASSERT_TRUE(run.tool.open_dialog(pd::kWeekly, &run.dialog));
    run.chooser = wd::child(run.dialog, kOpenChooser);
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(pd::cancel_file_dialog(files));
    run.end_expecting_restart(IDCANCEL, kRestartAfterCancel);
}

TEST(VoiceFileChooser, SpaceReleaseAndEnterBrowseAndEnterDoesNotSave)
{
    struct Row {
        const char* name;
        bool enter_on_edit;
    };
    for (const Row& r : {Row{"space on the button", false}, Row{"Enter in the edit box", true}}) {
        SCOPED_TRACE(r.name);
        WeeklyRun run;
        ASSERT_TRUE(run.open());
        HWND edit = wd::child(run.chooser, kEmbeddedEdit);
        ASSERT_NE(edit, nullptr);
        if (r.enter_on_edit) {
            ASSERT_TRUE(PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1));
        } else {
            ASSERT_TRUE(PostMessageA(run.chooser, WM_KEYDOWN, VK_SPACE, 1));
            // The press alone does not browse.
            EXPECT_TRUE(pd::expect_no_file_dialog(edit));
            ASSERT_TRUE(PostMessageA(run.chooser, WM_KEYUP, VK_SPACE, 0xC0000001));
        }
        HWND files = run.file_dialog();
        ASSERT_NE(files, nullptr);
        ASSERT_TRUE(pd::cancel_file_dialog(files));
        // The key went to the chooser, not to the dialog's default button.
        ASSERT_TRUE(pd::drain_posted(edit));
        EXPECT_TRUE(run.tool.expect_no_box());
        EXPECT_TRUE(IsWindow(run.dialog));
        run.end_expecting_restart(IDCANCEL, kRestartAfterCancel);
    }
}

TEST(VoiceFileChooser, SecondActivationWhileBrowsingIsRefused)
{
    WeeklyRun run;
    ASSERT_TRUE(run.tool.program.put_file("Open.vox", "vox"));
    ASSERT_TRUE(run.open());
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);

    // Delivered by the file dialog's own loop while it is up; a second dialog would be
    // made before that loop takes the marker posted behind them.
    HWND edit = wd::child(run.chooser, kEmbeddedEdit);
    ASSERT_TRUE(PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1));
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    ASSERT_TRUE(pd::drain_posted(edit));
    int dialogs = 0;
    for (const wd::WindowInfo& w : wd::top_windows(run.tool.program.pid())) {
        if (w.cls != "#32770" || w.hwnd == run.dialog || w.hwnd == files) continue;
        if (w.visible || wd::file_name_box(w.hwnd) != nullptr) ++dialogs;
    }
    EXPECT_EQ(dialogs, 0) << wd::describe_screen();

    const std::string chosen = run.tool.program.path("Open.vox");
    ASSERT_TRUE(pd::choose_in_file_dialog(files, chosen));
    ASSERT_TRUE(pd::wait_text(wd::child(run.dialog, kOpenEdit), chosen));
    EXPECT_TRUE(pd::expect_no_file_dialog(edit));
    run.end_expecting_restart(IDOK, kRestartAfterSave);
}

TEST(VoiceFileChooser, EditBoxSelectionFollowsTheFocus)
{
    WeeklyRun run;
    ASSERT_TRUE(run.tool.program.put_file("Open.vox", "vox"));
    ASSERT_TRUE(run.open());
    ASSERT_TRUE(pd::press_chooser(run.chooser));
    HWND files = run.file_dialog();
    ASSERT_NE(files, nullptr);
    const std::string chosen = run.tool.program.path("Open.vox");
    ASSERT_TRUE(pd::choose_in_file_dialog(files, chosen));
    HWND edit = wd::child(run.chooser, kEmbeddedEdit);
    ASSERT_TRUE(pd::wait_text(edit, chosen));

    const int length = static_cast<int>(chosen.size());
    auto selection = [&] {
        const DWORD sel = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
        return std::pair<int, int>(LOWORD(sel), HIWORD(sel));
    };
    auto wait_selection = [&](std::pair<int, int> want, bool empty, const char* what) {
        std::pair<int, int> last;
        wd::Status s = wd::wait_until([&] {
            last = selection();
            return empty ? last.first == last.second : last == want;
        }, 5000, what);
        if (!s) {
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            GetGUIThreadInfo(GetWindowThreadProcessId(run.dialog, nullptr), &gui);
            s.message = "selection " + std::to_string(last.first) + "-" + std::to_string(last.second) +
                        (gui.hwndFocus == edit ? "; the focus is in this box; " : "; the focus is elsewhere; ") +
                        s.message;
        }
        return s;
    };

    // The keyboard focus moves only within the window the user works in: whatever program
    // was in front before (the file dialog just closed), the dialog must be now.
    ASSERT_TRUE(wd::wait_until(
        [&] {
            if (GetForegroundWindow() == run.dialog) return true;
            SetForegroundWindow(run.dialog);
            return false;
        },
        5000, "the dialog in front"));
    // Focus given to the control goes to its edit box with the whole text selected. The
    // dialog moves the real focus there (a bare focus notification would leave the real
    // focus wherever the file dialog left it, and Tab would then move it onto the edit box).
    ASSERT_TRUE(PostMessageA(run.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run.chooser), TRUE));
    EXPECT_TRUE(wait_selection({0, length}, false, "the whole path selected"));
    // Tab moves the focus on; the poll sees it leave and takes the selection away. Posted
    // right behind the focus move, the Tab is often handled before the poll's next tick.
    ASSERT_TRUE(PostMessageA(edit, WM_KEYDOWN, VK_TAB, 1));
    EXPECT_TRUE(wait_selection({}, true, "no selection once the focus left"));
    // Back in the edit box, the whole text is selected again.
    ASSERT_TRUE(PostMessageA(run.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run.chooser), TRUE));
    EXPECT_TRUE(wait_selection({0, length}, false, "the whole path selected again"));
    run.end_expecting_restart(IDCANCEL, kRestartAfterCancel);
}

TEST(VoiceFileChooser, TakesOverTheTemplateButtonWithEditBoxTooltipAndLayout)
{
    WeeklyRun run;
    ASSERT_TRUE(run.open());
    for (int id : {1015, 1016, 1037, 1038}) {
        HWND chooser = wd::child(run.dialog, id);
        ASSERT_NE(chooser, nullptr) << id;
        EXPECT_EQ(wd::text(chooser), "") << "the template caption is taken away";
        HWND edit = wd::child(chooser, kEmbeddedEdit);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(GetParent(edit), chooser);
        EXPECT_EQ(wd::class_name(edit), "Edit");
        const LONG_PTR style = wd::window_style(edit);
        EXPECT_TRUE(style & ES_READONLY);
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        EXPECT_TRUE(style & ES_NOHIDESEL);
        EXPECT_TRUE(GetWindowLongPtrA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        // The template button is no wider than the button part: the edit box gets nothing.
        ASSERT_LE(wd::client_rect(chooser).right, 27);
        EXPECT_EQ(wd::client_rect(edit).right, 0);
    }

    // Widened, the chooser keeps 27 pixels at its right for the button part.
    ASSERT_TRUE(SetWindowPos(run.chooser, nullptr, 0, 0, 200, 24, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    HWND edit = wd::child(run.chooser, kEmbeddedEdit);
    const int width = wd::client_rect(run.chooser).right;
    ASSERT_TRUE(wd::wait_until([&] {
        RECT r = wd::window_rect(edit);
        return r.right - r.left == width - 27;
    }, 5000, "the edit box to take all but the button part"));
    RECT edit_rect = wd::window_rect(edit);
    RECT chooser_rect = wd::window_rect(run.chooser);
    EXPECT_EQ(edit_rect.left, chooser_rect.left + (chooser_rect.right - chooser_rect.left - width) / 2);

    // The tooltip's tool over the button part; the chooser makes it once the pointer is there.
    const POINT in = pd::button_part_point(run.chooser);
    ASSERT_TRUE(PostMessageA(run.chooser, WM_MOUSEMOVE, 0, MAKELPARAM(in.x, in.y)));
    ASSERT_TRUE(pd::drain_posted(edit));
    bool found = false;
    for (const wd::WindowInfo& w : wd::top_windows(run.tool.program.pid())) {
        if (w.cls != TOOLTIPS_CLASSA) continue;
        std::string text;
        RECT rect{};
        HWND tool_hwnd = nullptr;
        if (!pd::tooltip_tool(w.hwnd, kToolId, &tool_hwnd, &rect, &text)) continue;
        if (tool_hwnd != run.chooser) continue;
        found = true;
        EXPECT_EQ(text, "Find a Vox File");
        EXPECT_EQ(rect.left, width - 27);
        EXPECT_EQ(rect.right, width);
    }
    EXPECT_TRUE(found) << "no tooltip with tool 12346 for the chooser";
}

// The tooltips of the choosers in `dialog` that have been made: chooser control -> tooltip.
std::vector<std::pair<HWND, HWND>> chooser_tooltips(DWORD pid, HWND dialog)
{
    std::vector<std::pair<HWND, HWND>> tips;
    for (const wd::WindowInfo& w : wd::top_windows(pid)) {
        if (w.cls != TOOLTIPS_CLASSA) continue;
        HWND owner = nullptr;
        RECT rect{};
        std::string text;
        if (pd::tooltip_tool(w.hwnd, kToolId, &owner, &rect, &text) && GetParent(owner) == dialog)
            tips.emplace_back(owner, w.hwnd);
    }
    return tips;
}

// The call route dialog opens without its 18 tooltip windows; resting the pointer on one
// chooser's button makes that chooser's tip, which shows its text as before.
TEST(VoiceFileChooser, TooltipIsMadeWhenThePointerFirstRestsOnTheButton)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    HWND dlg = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kCallRoute, &dlg));
    const DWORD pid = tool.program.pid();
    EXPECT_TRUE(chooser_tooltips(pid, dlg).empty()) << "tooltips made before the pointer came";

    // Above every other window, so that the pointer is over the chooser and nothing else.
    ASSERT_TRUE(SetWindowPos(dlg, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    HWND chooser = wd::child(dlg, 1016);  // row 2
    ASSERT_NE(chooser, nullptr);
    const POINT in = pd::button_part_point(chooser);
    POINT on_screen = in;
    ClientToScreen(chooser, &on_screen);
    ASSERT_TRUE(SetCursorPos(on_screen.x, on_screen.y));
    ASSERT_TRUE(wd::wait_until([&] { return WindowFromPoint(on_screen) == chooser; }, 5000,
                               "the chooser under the pointer"));
    // The moved pointer reaches the chooser as a mouse move; the posted one makes sure.
    ASSERT_TRUE(PostMessageA(chooser, WM_MOUSEMOVE, 0, MAKELPARAM(in.x, in.y)));

    HWND shown = nullptr;
    EXPECT_TRUE(wd::wait_until([&] {
        for (const wd::WindowInfo& w : wd::top_windows(pid)) {
            if (w.cls == TOOLTIPS_CLASSA && w.visible && wd::text(w.hwnd) == "Find a Vox File") {
                shown = w.hwnd;
                return true;
            }
        }
        return false;
    }, 10000, "the tip \"Find a Vox File\" to show"));
    const auto tips = chooser_tooltips(pid, dlg);
    ASSERT_EQ(tips.size(), 1u) << "only the chooser under the pointer makes its tooltip";
    EXPECT_EQ(tips[0].first, chooser);
    EXPECT_EQ(tips[0].second, shown);

    // Away from the button, the tip goes again.
    const RECT dialog_rect = wd::window_rect(dlg);
    ASSERT_TRUE(SetCursorPos(dialog_rect.left + 5, dialog_rect.bottom - 5));
    PostMessageA(chooser, WM_MOUSEMOVE, 0, MAKELPARAM(-200, -200));
    EXPECT_TRUE(wd::wait_until([&] { return !IsWindowVisible(shown); }, 10000, "the tip to go"));
    SetWindowPos(dlg, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST(VoiceFileChooser, PaintsTheFolderInColourAndInGreyWhenDisabledAndShowsThePress)
{
    WeeklyRun run;
    ASSERT_TRUE(run.open());
    // The start-up picture goes by itself after a moment; it must not hide the pixels.
    ASSERT_TRUE(wd::wait_until([&] {
        return wd::find_window({.cls = "PlandeskSplash", .pid = run.tool.program.pid()}) == nullptr;
    }, 10000, "the splash picture to go"));
    // Above every other window, so another program's windows cannot hide the pixels.
    ASSERT_TRUE(SetWindowPos(run.dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));

    const RECT client = wd::client_rect(run.chooser);
    POINT origin{0, 0};
    ClientToScreen(run.chooser, &origin);
    // As the template made it: all button part, the glyph centred in it shrunk by 2.
    const int part_left = client.right > 27 ? client.right - 27 : 0;
    const int glyph_left = part_left + 2 + (client.right - part_left - 4 - 16) / 2;
    const int glyph_top = 2 + (client.bottom - 4 - 16) / 2;
    auto pixel = [&](int x, int y) {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
        ReleaseDC(nullptr, screen);
        return c;
    };
    // Inside the open flap; just inside the back's top-left corner; the part's corner.
    auto flap = [&] { return pixel(glyph_left + 8, glyph_top + 11); };
    auto back = [&] { return pixel(glyph_left + 2, glyph_top + 3); };
    auto corner = [&] { return pixel(part_left, 0); };

    auto wait_colour = [&](const std::function<COLORREF()>& read, COLORREF want, const char* what) {
        COLORREF last = 0;
        wd::Status s = wd::wait_until([&] { return (last = read()) == want; }, 5000, what);
        if (!s) {
            char got[64];
            std::snprintf(got, sizeof got, " (last colour %06lx)", static_cast<unsigned long>(last));
            s.message += got;
        }
        return s;
    };

    EXPECT_TRUE(wait_colour(flap, RGB(255, 255, 0), "the yellow flap"));
    EXPECT_TRUE(wait_colour(back, RGB(128, 128, 0), "the dark yellow back"));
    EXPECT_TRUE(wait_colour(corner, GetSysColor(COLOR_3DHILIGHT), "the raised border"));

    // Pressed: the sunken border and the glyph moved one pixel right and down.
    const POINT in = pd::button_part_point(run.chooser);
    ASSERT_TRUE(PostMessageA(run.chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(in.x, in.y)));
    EXPECT_TRUE(wait_colour(corner, GetSysColor(COLOR_3DDKSHADOW), "the pressed border"));
    EXPECT_TRUE(wait_colour(back, RGB(0, 0, 0), "the back's outline moved one pixel right and down"));
    const LPARAM outside = MAKELPARAM(client.right + 40, client.bottom + 40);
    ASSERT_TRUE(PostMessageA(run.chooser, WM_LBUTTONUP, 0, outside));
    EXPECT_TRUE(wait_colour(corner, GetSysColor(COLOR_3DHILIGHT), "the raised border again"));
    EXPECT_TRUE(wait_colour(back, RGB(128, 128, 0), "the glyph back in place"));

    // Disabled: the yellows become greys; the edit box follows the control.
    EnableWindow(run.chooser, FALSE);
    EXPECT_TRUE(wait_colour(flap, RGB(192, 192, 192), "the light grey flap"));
    EXPECT_TRUE(wait_colour(back, RGB(128, 128, 128), "the grey back"));
    EXPECT_FALSE(IsWindowEnabled(wd::child(run.chooser, kEmbeddedEdit)));
    EnableWindow(run.chooser, TRUE);
    EXPECT_TRUE(wait_colour(flap, RGB(255, 255, 0), "the yellow flap again"));
    EXPECT_TRUE(IsWindowEnabled(wd::child(run.chooser, kEmbeddedEdit)));
    EXPECT_TRUE(pd::expect_no_file_dialog(wd::child(run.chooser, kEmbeddedEdit)));
}

}  // namespace
