// Plandesk.exe driven from outside under Wine, each run in a fresh folder: the working file
// at start-up (created once, never wiped, a lock or a read-only folder reported), caption,
// place and size, menu and status bar prompts, the empty dockable toolbar, the splash
// picture, the About box, the help command and the settings key.
#include "plandesk_driver.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "record_file.h"

namespace {

constexpr const char* kCaption = pd::kMainCaption;
constexpr const char* kIdleText = "Select Configuration To Design Your Phone System";
constexpr const char* kSplashClass = pd::kSplashClass;
constexpr const char* kDockBarClass = "ZfDockBar";
constexpr const char* kAboutCaption = "About MIRT Configuration Tool";
constexpr const char* kUnusableCaption = "Configuration File Unavailable";
constexpr const char* kSettingsKey = "Software\\Local AppWizard-Generated Applications\\Plandesk";

constexpr int kAbout = pd::kAboutCommand;
constexpr int kExit = pd::kExitCommand;
constexpr int kHelp = pd::kHelpCommand;
constexpr int kConfigCommands[] = {130, 133, 134, 135, 136};

constexpr DWORD kStartMs = 30000;
constexpr DWORD kWaitMs = 10000;

std::string operator_design()
{
    zel::ConfigRecord r = zel::default_record();
    zel::set_field(r, zel::Field::info_line_1, "Harbour Dental, reception");
    zel::set_field(r, zel::Field::route_ext, 0, "2041");
    zel::set_field(r, zel::Field::route_port, 0, "41");
    return zel::to_disk(r);
}

// The system's own wording for an error, as the tool is expected to quote it.
std::string system_message(DWORD code)
{
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             sizeof buffer, nullptr);
    std::string text(buffer, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

constexpr const char* kUnusableLead = "Could not open or create zel_system.cfg: ";

HWND child_of_class(HWND parent, const char* cls)
{
    for (HWND h : wd::descendants(parent)) {
        if (wd::class_name(h) == cls) return h;
    }
    return nullptr;
}

std::vector<std::string> child_texts(HWND parent)
{
    std::vector<std::string> texts;
    for (HWND h : wd::descendants(parent)) texts.push_back(wd::text(h));
    return texts;
}

bool contains(const std::vector<std::string>& texts, const std::string& wanted)
{
    for (const std::string& t : texts) {
        if (t == wanted) return true;
    }
    return false;
}

// Posted keys carry the context and previous-state bits a real key would.
LPARAM key_lparam(bool alt, bool up)
{
    LPARAM lp = 1;
    if (alt) lp |= LPARAM{1} << 29;
    if (up) lp |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return lp;
}

class PlandeskTest : public ::testing::Test {
protected:
    // Beside the program, so a help viewer put into the folder is the one it finds first.
    void SetUp() override { ASSERT_TRUE(tool.install()); }

    void launch(pd::Plandesk& p)
    {
        ASSERT_TRUE(p.start_shown());
        main = p.main;
    }
    void launch() { launch(tool); }

    // The splash shows, then takes the first key or click; most tests work the frame after
    // it is gone.
    void wait_splash_gone(const pd::Plandesk& p)
    {
        HWND splash = nullptr;
        ASSERT_TRUE(wd::wait_window({.cls = kSplashClass, .pid = p.program.pid()}, kWaitMs, &splash));
        ASSERT_TRUE(wd::wait_window_gone(splash, kWaitMs));
    }
    void wait_splash_gone() { wait_splash_gone(tool); }

    // "E&xit" ends the program normally.
    void quit(pd::Plandesk& p) { ASSERT_TRUE(p.quit()); }
    void quit() { quit(tool); }

    HWND status_bar() const { return child_of_class(main, STATUSCLASSNAMEA); }
    // The frame shows itself before it adds its status bar.
    HWND wait_status_bar() const
    {
        HWND bar = nullptr;
        EXPECT_TRUE(wd::wait_until([&] { return (bar = status_bar()) != nullptr; }, kWaitMs, "the status bar"));
        return bar;
    }

    // Runs one menu command and closes whatever window it opened, so the test gets the
    // frame back. The About box, asked for right after it, shows once the command is done.
    void run_command_and_close_it(int command)
    {
        ASSERT_TRUE(wd::post_command(main, command));
        if (command != kAbout) {
            ASSERT_TRUE(wd::post_command(main, kAbout));
        }
        HWND about = nullptr;
        ASSERT_TRUE(program.wait_window({.cls = "#32770", .caption = kAboutCaption}, kWaitMs, &about));
        ASSERT_TRUE(wd::click(wd::child(about, IDOK)));
        ASSERT_TRUE(wd::wait_window_gone(about, kWaitMs));
        for (const wd::WindowInfo& w : wd::top_windows(program.pid())) {
            if (!w.visible || w.hwnd == main || w.cls != "#32770") continue;
            SCOPED_TRACE("closing \"" + w.caption + "\"");
            ASSERT_TRUE(wd::post_command(w.hwnd, IDCANCEL));
            ASSERT_TRUE(wd::wait_until([&] { return !IsWindow(w.hwnd) || !IsWindowVisible(w.hwnd); }, kWaitMs,
                                       "the window to close"));
        }
    }

    pd::Plandesk tool;
    wd::Program& program = tool.program;
    HWND main = nullptr;
};

// ---- the working file --------------------------------------------------------------

TEST_F(PlandeskTest, MissingWorkingFileIsCreatedWithTheDefaultRecord)
{
    ASSERT_FALSE(program.file_exists("zel_system.cfg"));
    launch();
    ASSERT_TRUE(program.file_exists("zel_system.cfg"));
    const std::string created = program.read_file("zel_system.cfg");
    EXPECT_EQ(30249u, created.size());
    EXPECT_EQ(zel::to_disk(zel::default_record()), created);
#ifdef ZELCFG_EXE
    // zelcfg's new record, made by the real program, is the same file byte for byte.
    wd::Program zelcfg;
    ASSERT_TRUE(zelcfg.start(wd::windows_path(ZELCFG_EXE), {"new", zelcfg.path("reference.cfg")}));
    DWORD code = 1;
    ASSERT_TRUE(zelcfg.wait_exit(kWaitMs, &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(zelcfg.read_file("reference.cfg"), created);
#endif
    quit();
}

TEST_F(PlandeskTest, ExistingWorkingFileIsLeftByteForByte)
{
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"as a first start made it", zel::to_disk(zel::default_record())},
        {"the operator's design", operator_design()},
        {"not a record at all", "operator notes, not a record"},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        pd::Plandesk run;
        ASSERT_TRUE(run.put_file_bytes(f.bytes));
        launch(run);
        wait_splash_gone(run);
        quit(run);
        EXPECT_EQ(f.bytes, run.file_bytes());
    }
}

TEST_F(PlandeskTest, LockedWorkingFileIsReportedAndKept)
{
    const std::string design = operator_design();
    ASSERT_TRUE(program.put_file("zel_system.cfg", design));
    // Another program holds the file and lets others write but not read: a create would
    // get through and wipe the design.
    HANDLE lock = CreateFileA(program.path("zel_system.cfg").c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    ASSERT_TRUE(tool.launch());
    wd::MessageBoxInfo box;
    const wd::Status shown = program.wait_message_box(kStartMs, &box);
    CloseHandle(lock);
    ASSERT_TRUE(shown);
    RecordProperty("startup_box", box.text);
    EXPECT_EQ(kUnusableCaption, box.caption);
    EXPECT_EQ(0u, box.text.find(kUnusableLead + system_message(ERROR_SHARING_VIOLATION) + "\n")) << box.text;
    ASSERT_TRUE(wd::dismiss(box));
    // The tool keeps running with its usual window.
    ASSERT_TRUE(tool.wait_main());
    main = tool.main;
    EXPECT_EQ(design, program.read_file("zel_system.cfg"));
    wait_splash_gone();
    quit();
    EXPECT_EQ(design, program.read_file("zel_system.cfg"));
}

// Starts Plandesk with `folder` as its current directory (the driver always uses its own).
struct ForeignRun {
    PROCESS_INFORMATION pi{};
    ~ForeignRun()
    {
        if (pi.hProcess != nullptr) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 5000);
            CloseHandle(pi.hProcess);
        }
    }
    bool start(const std::string& exe, const std::string& folder)
    {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::string command = "\"" + exe + "\"";
        if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        pi.hThread = nullptr;
        return true;
    }
};

bool can_create_in(const std::string& folder)
{
    const std::string probe = folder + "\\probe.tmp";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    DeleteFileA(probe.c_str());
    return true;
}

TEST_F(PlandeskTest, ReadOnlyFolderIsReportedAndTheToolKeepsRunning)
{
    // A folder of our own marked read-only where the system enforces it for us; a root user
    // under Wine writes anywhere, so then a system folder that refuses new files stands in.
    std::string folder = program.path("read-only");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY);
    if (can_create_in(folder)) folder = "Z:\\sys";
    if (can_create_in(folder)) GTEST_SKIP() << "no folder here refuses new files";
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\zel_system.cfg").c_str()));

    ForeignRun run;
    ASSERT_TRUE(run.start(program.path("Plandesk.exe"), folder)) << folder;
    const DWORD pid = run.pi.dwProcessId;
    wd::MessageBoxInfo box;
    ASSERT_TRUE(wd::wait_message_box(pid, kStartMs, &box));
    RecordProperty("startup_box", box.text);
    EXPECT_EQ(kUnusableCaption, box.caption);
    EXPECT_EQ(0u, box.text.find(kUnusableLead + system_message(ERROR_ACCESS_DENIED) + "\n")) << box.text;
    ASSERT_TRUE(wd::dismiss(box));

    ASSERT_TRUE(wd::wait_window({.cls = pd::kFrameClass, .caption = kCaption, .pid = pid}, kStartMs, &main));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\zel_system.cfg").c_str()));
    // Still at work: the About box answers, and Exit ends it normally.
    ASSERT_TRUE(wd::post_command(main, kAbout));
    HWND about = nullptr;
    ASSERT_TRUE(wd::wait_window({.cls = "#32770", .caption = kAboutCaption, .pid = pid}, kWaitMs, &about));
    ASSERT_TRUE(wd::click(wd::child(about, IDOK)));
    ASSERT_TRUE(wd::wait_window_gone(about, kWaitMs));
    ASSERT_TRUE(wd::post_command(main, kExit));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(run.pi.hProcess, kWaitMs)) << wd::describe_screen();
    DWORD code = 1;
    GetExitCodeProcess(run.pi.hProcess, &code);
    EXPECT_EQ(0u, code);
}

// ---- main window ----------------------------------------------------------------------

TEST_F(PlandeskTest, MainWindowHasItsCaptionPlaceAndSize)
{
    launch();
    EXPECT_EQ(kCaption, wd::caption(main));
    EXPECT_EQ(kCaption, wd::text(main));
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = wd::window_rect(main);
    EXPECT_EQ(sw / 2 - 400, r.left);
    EXPECT_EQ(sh / 2 - 250, r.top);
    EXPECT_EQ(800, r.right - r.left);
    EXPECT_EQ(500, r.bottom - r.top);
    if (sw == 1024 && sh == 768) {
        EXPECT_EQ(112, r.left);
        EXPECT_EQ(134, r.top);
    }
    // The view fills the client area between the bars and shows nothing of its own.
    EXPECT_NE(nullptr, child_of_class(main, "ZfView"));
    wait_splash_gone();
    quit();
}

TEST_F(PlandeskTest, CaptionStaysTheSameAfterEveryDialog)
{
    launch();
    wait_splash_gone();
    for (int command : kConfigCommands) {
        SCOPED_TRACE(command);
        EXPECT_EQ(kCaption, wd::caption(main));
        run_command_and_close_it(command);
        EXPECT_EQ(kCaption, wd::caption(main));
        EXPECT_EQ(kCaption, wd::text(main));
    }
    run_command_and_close_it(kAbout);
    EXPECT_EQ(kCaption, wd::caption(main));
    quit();
}

TEST_F(PlandeskTest, MenuHasItsItemsAndIdentifiersInOrder)
{
    const std::vector<wd::MenuItem> expected = {
        {"&File", 0, true, {{"", 0, false, {}}, {"E&xit", 57665, false, {}}}},
        {"Configuration",
         0,
         true,
         {{"General System Configuration", 130, false, {}},
          {"Weekly Operation Configuration", 133, false, {}},
          {"Call Route Configuration", 134, false, {}},
          {"Holiday Schedule", 135, false, {}},
          {"Validate Configuration", 136, false, {}}}},
        {"&Help", 0, true, {{"&About Plandesk Tool...", 57664, false, {}}, {"Configuration Help", 32773, false, {}}}},
    };
    const auto same = [](const std::vector<wd::MenuItem>& a, const std::vector<wd::MenuItem>& b) {
        const std::function<bool(const std::vector<wd::MenuItem>&, const std::vector<wd::MenuItem>&)> eq =
            [&](const auto& x, const auto& y) {
                if (x.size() != y.size()) return false;
                for (std::size_t i = 0; i < x.size(); ++i) {
                    if (x[i].text != y[i].text || x[i].id != y[i].id || x[i].popup != y[i].popup) return false;
                    if (!eq(x[i].items, y[i].items)) return false;
                }
                return true;
            };
        return eq(a, b);
    };
    EXPECT_TRUE(same(expected, wd::menu_resource(program.path("Plandesk.exe"), "#128")));
    launch();
    // The live menu bar, where this system lets another process read it.
    const std::vector<wd::MenuItem> live = wd::menu_bar(main);
    if (!live.empty()) {
        EXPECT_TRUE(same(expected, live));
    }
    wait_splash_gone();
    quit();
}

TEST_F(PlandeskTest, StatusBarShowsIdleTextAndTheKeyIndicatorPanes)
{
    launch();
    HWND bar = wait_status_bar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(wd::wait_until([&] { return wd::text(bar) == kIdleText; }, kWaitMs, "the idle text"));
    // Message pane, then CAP, NUM and SCRL.
    EXPECT_EQ(4, SendMessageA(bar, SB_GETPARTS, 0, 0));
    wait_splash_gone();
    quit();
}

// While a menu item is highlighted the status bar shows the string with its identifier;
// an item without one, and the closed menu, give the idle text.
TEST_F(PlandeskTest, HighlightedMenuItemShowsItsPrompt)
{
    launch();
    wait_splash_gone();
    HWND bar = status_bar();
    ASSERT_NE(nullptr, bar);
    // F10 comes as a system key without Alt held.
    const auto key = [&](UINT message, WPARAM vk) {
        const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
        return PostMessageA(main, message, vk, key_lparam(false, up)) != 0;
    };
    const auto expect_status = [&](const std::string& text) {
        EXPECT_TRUE(wd::wait_until([&] { return wd::text(bar) == text; }, kWaitMs, "status text \"" + text + "\""))
            << "it shows \"" << wd::text(bar) << "\"";
    };
    // F10 takes the keyboard into the menu bar with "&File" highlighted.
    ASSERT_TRUE(key(WM_SYSKEYDOWN, VK_F10));
    ASSERT_TRUE(key(WM_SYSKEYUP, VK_F10));
    // Keys sent before the menu loop runs are not the menu's: wait for it.
    ASSERT_TRUE(wd::wait_until(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) &&
                   (info.flags & GUI_INMENUMODE) != 0;
        },
        kWaitMs, "the menu bar to take the keyboard"));
    expect_status(kIdleText);
    // Down opens "&File": past its separator, Exit.
    ASSERT_TRUE(key(WM_KEYDOWN, VK_DOWN));
    expect_status("Quit/Exit the application.");
    // Right opens "Configuration" at its first item; Down walks through the rest.
    ASSERT_TRUE(key(WM_KEYDOWN, VK_RIGHT));
    expect_status("General System and Dialing Configuration");
    const char* const configuration[] = {
        "Display Weekly Operation Hours and Greeting Voices",
        "Display and Configure Routing and Extension Voices. ",
        "Select and Configure Special Hour Days, Holidays and Voices.",
        "Validate Your Configuration Design and Export for MIRT System.",
    };
    for (const char* prompt : configuration) {
        ASSERT_TRUE(key(WM_KEYDOWN, VK_DOWN));
        expect_status(prompt);
    }
    // On to the Help menu: About has no prompt of its own, Configuration Help has.
    ASSERT_TRUE(key(WM_KEYDOWN, VK_RIGHT));
    expect_status(kIdleText);
    ASSERT_TRUE(key(WM_KEYDOWN, VK_DOWN));
    expect_status("Open Configuration HTML Help ");
    ASSERT_TRUE(key(WM_KEYDOWN, VK_ESCAPE));
    ASSERT_TRUE(key(WM_KEYDOWN, VK_ESCAPE));
    expect_status(kIdleText);
    quit();
}

TEST_F(PlandeskTest, ToolbarIsEmptyFlatAndDocksOnEverySide)
{
    launch();
    wait_splash_gone();
    HWND dock = child_of_class(main, kDockBarClass);
    ASSERT_NE(nullptr, dock);
    HWND toolbar = child_of_class(dock, TOOLBARCLASSNAMEA);
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(0, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    const LONG_PTR style = wd::window_style(toolbar);
    EXPECT_TRUE(style & TBSTYLE_FLAT);
    EXPECT_TRUE(style & TBSTYLE_TOOLTIPS);

    const auto client_of_main = [&]() {
        RECT c = wd::client_rect(main);
        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&c), 2);
        return c;
    };
    const RECT start = wd::window_rect(dock);
    const RECT client = client_of_main();
    EXPECT_EQ(client.left, start.left);
    EXPECT_EQ(client.top, start.top);
    EXPECT_EQ(client.right, start.right);

    enum Side { left, bottom, right, top };
    const struct {
        const char* name;
        Side side;
    } sides[] = {{"left", left}, {"bottom", bottom}, {"right", right}, {"top", top}};
    for (const auto& s : sides) {
        SCOPED_TRACE(s.name);
        const RECT c = client_of_main();
        POINT drop{(c.left + c.right) / 2, (c.top + c.bottom) / 2};
        if (s.side == left) drop.x = c.left + 5;
        if (s.side == right) drop.x = c.right - 5;
        if (s.side == top) drop.y = c.top + 5;
        if (s.side == bottom) drop.y = c.bottom - 40;  // just above the status bar
        const RECT before = wd::window_rect(dock);
        // Press on the gripper, let go near the wanted side.
        ASSERT_TRUE(PostMessageA(dock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3)));
        POINT at = drop;
        ScreenToClient(dock, &at);
        ASSERT_TRUE(PostMessageA(dock, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(at.x), static_cast<short>(at.y))));
        ASSERT_TRUE(wd::wait_until(
            [&] {
                const RECT now = wd::window_rect(dock);
                return !EqualRect(&now, &before);
            },
            kWaitMs, std::string("the bar to move to the ") + s.name));
        const RECT r = wd::window_rect(dock);
        const RECT cl = client_of_main();
        switch (s.side) {
        case left:
            EXPECT_EQ(cl.left, r.left);
            EXPECT_LT(r.right - r.left, r.bottom - r.top);
            break;
        case right:
            EXPECT_EQ(cl.right, r.right);
            EXPECT_LT(r.right - r.left, r.bottom - r.top);
            break;
        case top:
            EXPECT_EQ(cl.top, r.top);
            EXPECT_GT(r.right - r.left, r.bottom - r.top);
            break;
        case bottom:
            EXPECT_EQ(wd::window_rect(status_bar()).top, r.bottom);
            EXPECT_GT(r.right - r.left, r.bottom - r.top);
            break;
        }
    }
    quit();
}

// ---- splash -----------------------------------------------------------------------------

TEST_F(PlandeskTest, SplashShowsOverTheFrameAndGoesByItselfAfterItsTime)
{
    launch();
    HWND splash = nullptr;
    ASSERT_TRUE(program.wait_window({.cls = kSplashClass}, kWaitMs, &splash));
    const RECT s = wd::window_rect(splash);
    EXPECT_EQ(450, s.right - s.left);
    EXPECT_EQ(597, s.bottom - s.top);
    const RECT m = wd::window_rect(main);
    EXPECT_NEAR((m.left + m.right) / 2, (s.left + s.right) / 2, 1);
    EXPECT_NEAR((m.top + m.bottom) / 2, (s.top + s.bottom) / 2, 1);
    const LONG_PTR style = wd::window_style(splash);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_BORDER | WS_CAPTION | WS_THICKFRAME));
    EXPECT_EQ(main, wd::window_owner(splash));

    // Nothing is pressed: it goes by its own timer, whose 1200 ms start when it is made,
    // after the program started (the poll may see the end up to 50 ms early) and no later
    // than the test saw it. A busy machine only makes it later, so the upper bound leaves
    // a stall of 1.8 s: a splash held two and a half times its time is still caught.
    const ULONGLONG seen = GetTickCount64();
    ASSERT_TRUE(wd::wait_window_gone(splash, kWaitMs));
    const ULONGLONG gone = GetTickCount64();
    EXPECT_GE(gone - tool.started_at, 1150u);
    EXPECT_LE(gone - seen, 1200u + 1800u);
    quit();
}

TEST_F(PlandeskTest, KeyOrClickDuringSplashOnlyRemovesIt)
{
    // Each press would act on the frame if it got there; Alt+F4 would close it at once.
    const struct {
        const char* name;
        UINT message;
        WPARAM wp;
        LPARAM lp;
        bool to_splash;
    } presses[] = {
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, key_lparam(true, false), false},
        {"a key", WM_KEYDOWN, 'A', key_lparam(false, false), false},
        {"left click on the frame", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100), false},
        {"right click on the splash", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10), true},
        {"middle click on the caption", WM_NCMBUTTONDOWN, HTCAPTION, MAKELPARAM(300, 140), false},
    };
    for (const auto& p : presses) {
        SCOPED_TRACE(p.name);
        pd::Plandesk run;
        launch(run);
        HWND splash = nullptr;
        ASSERT_TRUE(run.program.wait_window({.cls = kSplashClass}, kWaitMs, &splash));
        // Posted messages are handled in order and before any timer's: the About box opens
        // only after the press was dealt with, so the press, not the splash's timer, has
        // taken the splash by then (a timer that fell due first can only hide a fault on a
        // slow machine, never fail a sound program). The frame must still be there to open
        // the box.
        ASSERT_TRUE(PostMessageA(p.to_splash ? splash : main, p.message, p.wp, p.lp));
        ASSERT_TRUE(wd::post_command(main, kAbout));
        HWND about = nullptr;
        ASSERT_TRUE(run.program.wait_window({.cls = "#32770", .caption = kAboutCaption}, kWaitMs, &about));
        EXPECT_FALSE(IsWindow(splash)) << "the splash outlived the press";
        EXPECT_TRUE(IsWindow(main));
        ASSERT_TRUE(wd::click(wd::child(about, IDOK)));
        ASSERT_TRUE(wd::wait_window_gone(about, kWaitMs));
        EXPECT_TRUE(wd::message_boxes(run.program.pid()).empty());
        // Without the splash the same Alt+F4 does close the frame.
        ASSERT_TRUE(PostMessageA(main, WM_SYSKEYDOWN, VK_F4, key_lparam(true, false)));
        EXPECT_TRUE(run.expect_exit(0));
    }
}

// ---- About box, help, settings ---------------------------------------------------------

TEST_F(PlandeskTest, AboutBoxShowsItsTexts)
{
    launch();
    wait_splash_gone();
    ASSERT_TRUE(wd::post_command(main, kAbout));
    HWND about = nullptr;
    ASSERT_TRUE(program.wait_window({.cls = "#32770", .caption = kAboutCaption}, kWaitMs, &about));
    const std::vector<std::string> texts = child_texts(about);
    EXPECT_TRUE(contains(texts, "MIRT Plandesk Tool"));
    EXPECT_TRUE(contains(texts, "Version  CR 09-1023 A"));
    EXPECT_EQ("OK", wd::text(wd::child(about, IDOK)));
    bool icon = false;
    for (HWND h : wd::descendants(about)) icon = icon || (wd::window_style(h) & SS_TYPEMASK) == SS_ICON;
    EXPECT_TRUE(icon) << "the program icon";
    EXPECT_EQ(main, wd::window_owner(about));
    ASSERT_TRUE(wd::click(wd::child(about, IDOK)));
    ASSERT_TRUE(wd::wait_window_gone(about, kWaitMs));
    EXPECT_EQ(kCaption, wd::caption(main));
    quit();
}

#ifdef FAKE_HH_EXE
TEST_F(PlandeskTest, HelpStartsTheViewerWithTheHelpFile)
{
    ASSERT_TRUE(program.copy_in(wd::windows_path(FAKE_HH_EXE), "HH.exe"));
    launch();
    wait_splash_gone();
    ASSERT_TRUE(wd::post_command(main, kHelp));
    ASSERT_TRUE(wd::wait_until([&] { return program.file_exists("hh_command_line.txt"); }, kWaitMs,
                               "the help viewer to start"));
    EXPECT_EQ("HH.exe TOLLMAP.chm", program.read_file("hh_command_line.txt"));
    EXPECT_TRUE(tool.expect_no_box());
    quit();
}
#endif

TEST_F(PlandeskTest, HelpThatCannotStartIsReported)
{
    // Found first, beside the program, and not a program at all.
    ASSERT_TRUE(program.put_file("HH.exe", "this is not a program"));
    launch();
    wait_splash_gone();
    ASSERT_TRUE(wd::post_command(main, kHelp));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(program.wait_message_box(kWaitMs, &box));
    EXPECT_EQ("Zel TOLLMAP", box.caption);
    EXPECT_EQ("Cannot Open TOLLMAP HELP", box.text);
    ASSERT_TRUE(wd::dismiss(box));
    EXPECT_EQ(kCaption, wd::caption(main));
    quit();
}

TEST_F(PlandeskTest, SettingsLiveUnderTheAppWizardKeyWithARecentFileList)
{
    // A list left with a gap by some earlier run: loaded in order, written back closed up.
    const std::string recent = std::string(kSettingsKey) + "\\Recent File List";
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, recent.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    const auto put = [&](const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    };
    put("File1", "C:\\Plans\\north.cfg");
    put("File3", "C:\\Plans\\south.cfg");
    RegCloseKey(key);

    launch();
    wait_splash_gone();
    quit();

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, recent.c_str(), 0, KEY_READ, &key));
    const auto get = [&](const char* name) {
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        DWORD type = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
            return std::string("(none)");
        return std::string(value);
    };
    EXPECT_EQ("C:\\Plans\\north.cfg", get("File1"));
    EXPECT_EQ("C:\\Plans\\south.cfg", get("File2"));
    EXPECT_EQ("(none)", get("File3"));
    EXPECT_EQ("(none)", get("File4"));
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

}  // namespace
