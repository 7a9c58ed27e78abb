// Vornline.exe driven from outside under Wine, with the stand-in board beside it:
// start-up geometry and menu, the Open command's refusals and success, closing,
// the About box and the help command.
#include "vornline_driver.h"

#include "status_pictures.h"

#include "record_file.h"
#include "record_layout.h"

#include <chrono>
#include <string>


namespace {

using namespace std::chrono_literals;

using vt::kAbout;
using vt::kHelpTopics;
using vt::kOpen;
constexpr DWORD kBoxWaitMs = 10000;

const char kBoardFailure[] = "Failed to open dxxxB1, \n Please make sure your drivers are properly installed";

std::string command_file(char validated, const char* vox_index = "2")
{
    zel::ConfigRecord r = zel::default_record();
    zel::set_field(r, zel::Field::answer_ring, "2");
    zel::set_field(r, zel::Field::vox_type_index, vox_index);
    zel::set_field(r, zel::Field::validated_flag, std::string(1, validated));
    return zel::to_disk(r);
}

// The start-up cases: one Vornline per case, with the steps these cases share.
class VornlineTest : public ::testing::Test {
protected:
    // Starts Vornline from its folder without waiting for anything; `splash_waits` keeps
    // the real splash holds.
    void start_vornline(wd::Environment env = {}, bool splash_waits = false)
    {
        ASSERT_TRUE(v.start({.env = std::move(env), .splash_waits = splash_waits, .wait_for_window = false}));
    }

    // Starts Vornline and waits for the main window to show.
    void launch(wd::Environment env = {})
    {
        ASSERT_TRUE(v.start({.env = std::move(env), .connect_board = false}));
    }

    void connect_board() { ASSERT_TRUE(board.connect(v.port, 20s)); }

    // Waits for one message box, checks its caption and text, that it offers OK alone and
    // is the only box up, and clicks OK.
    void expect_box(const std::string& caption, const std::string& text, wd::MessageBoxInfo* seen = nullptr)
    {
        if (seen) {
            ASSERT_TRUE(program.wait_message_box(kBoxWaitMs, seen));
        }
        ASSERT_TRUE(v.expect_box(caption, text, kBoxWaitMs, true));
    }

    // Chooses Open and checks that it succeeds silently: a second Open proves the first
    // has finished and only says that the channels are ready.
    void open_succeeds() { ASSERT_TRUE(v.open()); }

    // Closes the main window and checks the exit.
    void close_and_expect_exit(bool loaded) { ASSERT_TRUE(v.close_and_exit(loaded)); }

    vt::Vornline v{7460, 60};
    wd::Program& program = v.program;
    zeltest::LineController& board = v.board;
    HWND& main = v.main;
    const ULONGLONG& started = v.started;
};

// ---- start-up ---------------------------------------------------------------------------

TEST_F(VornlineTest, MainWindowHasItsClassTitleMenuAndPlace)
{
    launch();
    EXPECT_EQ(wd::class_name(main), "ZEL_VORN");
    EXPECT_EQ(GetClassLongPtrA(main, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(GetClassLongPtrA(main, GCL_CBWNDEXTRA), 4u);
    EXPECT_EQ(wd::caption(main), "VORN Computer Telephony System");
    LONG_PTR style = wd::window_style(main);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);

    int sw = GetSystemMetrics(SM_CXSCREEN);
    int sh = GetSystemMetrics(SM_CYSCREEN);
    RECT r = wd::window_rect(main);
    EXPECT_EQ(r.left, sw / 2 - 244);
    EXPECT_EQ(r.top, sh / 2 - 347);
    EXPECT_EQ(r.right - r.left, 488);
    EXPECT_EQ(r.bottom - r.top, 694);

    EXPECT_TRUE(wd::has_menu(main));
    std::vector<wd::MenuItem> bar = wd::menu_resource(program.path("Vornline.exe"), "ZEL_VORN");
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0].text, "Channels");
    ASSERT_EQ(bar[0].items.size(), 1u);
    EXPECT_EQ(bar[0].items[0].text, "Open");
    EXPECT_EQ(bar[0].items[0].id, static_cast<UINT>(kOpen));
    EXPECT_EQ(bar[1].text, "Help");
    ASSERT_EQ(bar[1].items.size(), 2u);
    EXPECT_EQ(bar[1].items[0].text, "About VORN MIRT");
    EXPECT_EQ(bar[1].items[0].id, static_cast<UINT>(kAbout));
    EXPECT_EQ(bar[1].items[1].text, "Help Topics");
    EXPECT_EQ(bar[1].items[1].id, static_cast<UINT>(kHelpTopics));

    // The background picture "ZEL" fills the client area: a light blue, where the
    // class's own background would be plain window white.
    POINT at{5, 300};
    ASSERT_TRUE(ClientToScreen(main, &at));
    EXPECT_TRUE(wd::wait_until(
        [&] {
            HDC screen = GetDC(nullptr);
            COLORREF c = GetPixel(screen, at.x, at.y);
            ReleaseDC(nullptr, screen);
            return GetBValue(c) >= GetRValue(c) + 12 && GetRValue(c) > 120;
        },
        5000, "the background picture in the main window"));

    // Nothing is said at start-up.
    EXPECT_TRUE(wd::expect_no_message_box_after(main));
}

// Which splash picture a screen pixel belongs to: SPLASH2 is dark blue at its top,
// SPLASH3 dark green.
enum class Splash { none, blue, green };

Splash splash_at(HDC screen, int x, int y)
{
    COLORREF c = GetPixel(screen, x, y);
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (b > 60 && b > r + 40 && b > g + 30) return Splash::blue;
    if (g > 45 && g > r + 25 && g > b + 15) return Splash::green;
    return Splash::none;
}

TEST_F(VornlineTest, SplashPicturesAreHeldInTurnBeforeTheMainWindowShows)
{
    // The splash is centred on the screen; sample near the top of it, where both
    // pictures are darkest, at a few points in case another window covers one.
    int left = (GetSystemMetrics(SM_CXSCREEN) - 450) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - 597) / 2;
    const POINT points[] = {{left + 5, top + 5}, {left + 440, top + 5}, {left + 225, top + 20}, {left + 5, top + 40}};

    start_vornline({}, true);  // the real holds, as every user gets them
    ULONGLONG blue = 0, green = 0, shown_at = 0;
    ASSERT_TRUE(wd::wait_until(
        [&] {
            ULONGLONG now = GetTickCount64();
            HDC screen = GetDC(nullptr);
            for (POINT p : points) {
                Splash s = splash_at(screen, p.x, p.y);
                if (s == Splash::blue && !blue) blue = now;
                if (s == Splash::green && !green) green = now;
            }
            ReleaseDC(nullptr, screen);
            if (wd::find_window({.cls = "ZEL_VORN", .pid = program.pid()})) shown_at = now;
            return shown_at != 0;
        },
        30000, "the main window after the splash"));
    ASSERT_NE(blue, 0u) << "SPLASH2 was never seen";
    ASSERT_NE(green, 0u) << "SPLASH3 was never seen";
    // 2200 ms for the first, 1800 for the second. A picture is seen at the first poll after
    // it appears, never before, and a busy machine may delay that poll; so the bounds that
    // hold whatever the load are measured from the start: SPLASH3 cannot show before the
    // first hold is over, nor the main window before both are.
    EXPECT_LT(blue, green);
    EXPECT_LT(green, shown_at);
    EXPECT_GE(green - started, 2200u);
    EXPECT_GE(shown_at - started, 4000u);
    EXPECT_LE(green - blue, 8000u);
}

TEST_F(VornlineTest, ClosingBeforeOpenSaysNothingAndExitsWithZero)
{
    launch();
    // A box raised on the way out would hold the program until acknowledged, so an
    // exit without our help shows that nothing was said.
    close_and_expect_exit(false);
}

// ---- resources -------------------------------------------------------------------------

TEST(VornlineResources, BitmapsIconAndAboutBoxAreThere)
{
    HMODULE exe = LoadLibraryExA((vt::vornline_folder() + "\\Vornline.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    struct Case {
        const char* name;
        int width, height;
    };
    std::vector<Case> cases = {{"SPLASH2", 450, 597}, {"SPLASH3", 450, 597}, {"ZEL", 483, 641},
                               {zel::kPicturePhone, 75, 75}, {zel::kPictureAnswered, 75, 75}};
    // The picture the runtime shows for each transfer number is one of the program's own.
    const char* const transfer[] = {"ZERO", "ONE",    "TWO",    "THREE",    "FOUR", "FIVE", "SIX", "SEVEN", "EIGHT",
                                    "NINE", "TEN", "ELEVEN", "TWELVE", "THIRTEEN", "14A",  "15A",  "16A"};
    ASSERT_EQ(std::size(transfer), static_cast<std::size_t>(zel::kTransferPictureCount));
    for (int n = 0; n < zel::kTransferPictureCount; ++n) {
        ASSERT_NE(zel::transfer_picture_name(n), nullptr) << n;
        EXPECT_STREQ(transfer[n], zel::transfer_picture_name(n)) << n;
        cases.push_back({zel::transfer_picture_name(n), 75, 75});
    }
    EXPECT_EQ(nullptr, zel::transfer_picture_name(-1));
    EXPECT_EQ(nullptr, zel::transfer_picture_name(zel::kTransferPictureCount));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP b = static_cast<HBITMAP>(LoadImageA(exe, c.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(b, nullptr);
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(b, sizeof info, &info));
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        DeleteObject(b);
    }
    HICON icon = static_cast<HICON>(LoadImageA(exe, "ZEL_VORN", IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
    EXPECT_NE(FindResourceA(exe, "Lang", RT_DIALOG), nullptr) << "dialog template";
    FreeLibrary(exe);
}

// ---- Open -------------------------------------------------------------------------------

TEST_F(VornlineTest, OpenWithoutABoardStopsBeforeTheCommandFile)
{
    ASSERT_TRUE(program.put_file("zel_system.cmd", command_file('1')));
    // Held open with no sharing: a program that tried to read it would fail and say so.
    HANDLE lock = CreateFileA(program.path("zel_system.cmd").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    launch({{"SIMBOARD_FAIL", "dxxxB1"}});
    connect_board();

    ASSERT_TRUE(wd::post_command(main, kOpen));
    wd::MessageBoxInfo box;
    expect_box("Program Message", kBoardFailure, &box);
    EXPECT_EQ(box.owner, nullptr) << "the report box has no owner";
    EXPECT_TRUE(box.ex_style & WS_EX_TOPMOST) << "the report box is system-modal";
    EXPECT_TRUE(board.expect("openfail dxxxB1", 5s));
    EXPECT_TRUE(wd::expect_no_message_box_after(main));
    CloseHandle(lock);

    // Nothing was loaded, so closing says nothing.
    close_and_expect_exit(false);
}

TEST_F(VornlineTest, OpenWithoutAWholeCommandFileIsRefusedUntilOneIsThere)
{
    struct Case {
        const char* name;
        bool present;
        std::string bytes;
    };
    const std::string whole = command_file('1');
    const Case cases[] = {
        {"missing", false, ""},
        {"empty", true, ""},
        {"half a record", true, whole.substr(0, whole.size() / 2)},
        {"without its last line feed", true, whole.substr(0, whole.size() - 2)},
    };
    launch();
    connect_board();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.present) {
            ASSERT_TRUE(program.put_file("ZEL_SYSTEM.CMD", c.bytes));
        }
        ASSERT_TRUE(wd::post_command(main, kOpen));
        expect_box("ZEL Phone System Cannot Start", "Reading ZEL_SYSTEM.CMD Command File Has Failed");
        // The board was probed and let go before the file was tried.
        EXPECT_TRUE(board.expect("open dxxxB1", 5s));
        EXPECT_TRUE(board.expect("close dxxxB1", 5s));
        // A refused file is closed again: it can be removed at once.
        if (c.present) {
            EXPECT_TRUE(program.remove_file("ZEL_SYSTEM.CMD"));
        }
    }
    // The upper-case name the operator copies in is the file the runtime opens.
    ASSERT_TRUE(program.put_file("ZEL_SYSTEM.CMD", whole));
    open_succeeds();
    close_and_expect_exit(true);
}

TEST_F(VornlineTest, UnvalidatedFileIsRefusedAndAValidatedOneThenOpens)
{
    ASSERT_TRUE(program.put_file("zel_system.cmd", command_file('0')));
    launch();
    connect_board();
    ASSERT_TRUE(wd::post_command(main, kOpen));
    expect_box("ZEL_SYSTEM.CMD File", "Command File Not Validated");

    // The refused file was closed, so the operator can replace it.
    ASSERT_TRUE(program.remove_file("zel_system.cmd"));
    ASSERT_TRUE(program.put_file("zel_system.cmd", command_file('1')));
    board.skip_received();
    open_succeeds();
    EXPECT_TRUE(board.expect("open dxxxB1", 5s));
    EXPECT_TRUE(board.expect("close dxxxB1", 5s));
    // The second Open only reported: it did not touch the board again.
    EXPECT_TRUE(board.expect_none("open dxxxB1", 500ms));

    // A third Open says the same.
    ASSERT_TRUE(wd::post_command(main, kOpen));
    expect_box("Channel Status", "Channels Are Ready To Accept Calls");
    close_and_expect_exit(true);
}

TEST_F(VornlineTest, LoadedCommandFileStaysOpenUntilTheWindowCloses)
{
    ASSERT_TRUE(program.put_file("zel_system.cmd", command_file('1')));
    launch();
    open_succeeds();
    // Kept open for reading without delete sharing, as the runtime holds it while it runs.
    EXPECT_FALSE(program.remove_file("zel_system.cmd").ok);
    close_and_expect_exit(true);
    EXPECT_TRUE(program.remove_file("zel_system.cmd"));
}

// ---- About and help -------------------------------------------------------------------

TEST_F(VornlineTest, AboutBoxShowsItsLinesAndLiesWithinTheScreen)
{
    launch();
    int sw = GetSystemMetrics(SM_CXSCREEN);
    int sh = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* name;
        int x, y;  // where the main window is moved first
        bool centred;
    } cases[] = {
        {"where it starts", sw / 2 - 244, sh / 2 - 347, true},
        {"off the top left", -420, -600, false},
        {"off the bottom right", sw - 60, sh - 40, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SetWindowPos(main, nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        ASSERT_TRUE(wd::wait_until([&] { return wd::window_rect(main).left == c.x; }, 5000, "the main window to move"));
        ASSERT_TRUE(wd::post_command(main, kAbout));
        HWND about = nullptr;
        ASSERT_TRUE(program.wait_window({.cls = "#32770", .caption = "About VORN MIRT"}, kBoxWaitMs, &about));
        EXPECT_EQ(wd::window_owner(about), main);
        EXPECT_EQ(wd::text(wd::child(about, 1001)), "   VORN COMPUTER TELEPHONY");
        EXPECT_EQ(wd::text(wd::child(about, 1002)),
                  "  For Dialogic Telephony Boards.   CR Build/Release: 09-1023 A");
        EXPECT_EQ(wd::text(wd::child(about, 1003)), "MIRT System");
        EXPECT_EQ(wd::text(wd::child(about, IDOK)), "OK");

        RECT a = wd::window_rect(about);
        EXPECT_GE(a.left, 0);
        EXPECT_GE(a.top, 0);
        EXPECT_LE(a.right, sw);
        EXPECT_LE(a.bottom, sh);
        if (c.centred) {
            RECT m = wd::window_rect(main);
            EXPECT_NEAR((a.left + a.right) / 2, (m.left + m.right) / 2, 1);
            EXPECT_NEAR((a.top + a.bottom) / 2, (m.top + m.bottom) / 2, 1);
        }
        ASSERT_TRUE(wd::click(wd::child(about, IDOK)));
        ASSERT_TRUE(wd::wait_window_gone(about, 5000));
    }
    // Cancel (Escape, or the close box) closes it too.
    ASSERT_TRUE(wd::post_command(main, kAbout));
    HWND about = nullptr;
    ASSERT_TRUE(program.wait_window({.cls = "#32770", .caption = "About VORN MIRT"}, kBoxWaitMs, &about));
    ASSERT_TRUE(wd::post_command(about, IDCANCEL));
    ASSERT_TRUE(wd::wait_window_gone(about, 5000));
}

TEST_F(VornlineTest, HelpStartsTheViewerWithTheRuntimeHelpFile)
{
    ASSERT_TRUE(program.copy_in(wd::test_folder() + "\\fake_hh.exe", "HH.exe"));
    launch();
    ASSERT_TRUE(wd::post_command(main, kHelpTopics));
    ASSERT_TRUE(wd::wait_until([&] { return program.file_exists("hh_command_line.txt"); }, 15000,
                               "the help viewer to start"));
    EXPECT_EQ(program.read_file("hh_command_line.txt"), "HH.exe MIRT RUNDESK.chm");
    EXPECT_TRUE(wd::expect_no_message_box_after(main));
}

TEST_F(VornlineTest, HelpThatCannotStartIsReported)
{
    // Found first, beside the program, and not a program at all.
    ASSERT_TRUE(program.put_file("HH.exe", "this is not a program"));
    launch();
    ASSERT_TRUE(wd::post_command(main, kHelpTopics));
    expect_box("ZEL Phone System HTMLHELP Start", "Cannot Open HTMLHELP");
}

}  // namespace
