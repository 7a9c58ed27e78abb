// The window driver: how GUI tests start one of our Windows programs and work its
// windows from outside, as a user would. Everything here is for tests running under
// Wine (or Windows) next to the program under test.
//
// Rules it keeps so that tests are not flaky:
//   - every wait polls with a deadline; a failed wait returns a Status whose message
//     lists the top-level windows on screen (class, caption, owner pid);
//   - anything that may open a modal window is posted, never sent, so the test never
//     blocks inside the program's modal loop;
//   - control texts are read with SendMessageTimeout(WM_GETTEXT), which is the only
//     way to read another process's controls; window captions are read without a
//     message, so a program busy outside its message loop never stalls the test.
//
// Typical use:
//   wd::Program p;                                   // fresh temp folder
//   ASSERT_TRUE(p.put_file("zel_system.cmd", bytes));
//   ASSERT_TRUE(p.start(exe, {}, {{"SIMBOARD_PORT", "7400"}}));
//   HWND main = nullptr;
//   ASSERT_TRUE(p.wait_window({.cls = "ZEL_VORN"}, 15000, &main));
//   ASSERT_TRUE(wd::post_command(main, 40001));
//   wd::MessageBoxInfo box;
//   ASSERT_TRUE(p.wait_message_box(10000, &box));
//   EXPECT_EQ(box.text, "...");
//   ASSERT_TRUE(wd::dismiss(box));
//
// A Status converts to testing::AssertionResult, so ASSERT_TRUE(status) prints the reason.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace wd {

// Outcome of one driver step: ok, or why not.
struct Status {
    bool ok = true;
    std::string message;

    static Status success() { return {}; }
    static Status failure(std::string why) { return {false, std::move(why)}; }

    explicit operator bool() const { return ok; }
    operator ::testing::AssertionResult() const;
};

// Default deadline for waits, generous enough for a cold Wine start.
inline constexpr DWORD kDefaultTimeoutMs = 15000;

// ---- what is on screen --------------------------------------------------------

struct WindowInfo {
    HWND hwnd = nullptr;
    std::string cls{};
    std::string caption{};
    DWORD pid = 0;
    DWORD tid = 0;
    bool visible = false;
    HWND owner = nullptr;
    RECT rect{};
};

// Top-level windows, of one process (pid != 0) or of all.
std::vector<WindowInfo> top_windows(DWORD pid = 0);

// One line per visible top-level window: class, caption, pid. Used in failure messages.
std::string describe_screen();

// What a wanted top-level window looks like; empty strings match anything.
struct Match {
    std::string cls{};
    std::string caption{};
    DWORD pid = 0;                  // 0: any process
    bool caption_contains = false;  // substring instead of whole caption
    bool visible_only = true;
};

HWND find_window(const Match& m);
Status wait_window(const Match& m, DWORD timeout_ms, HWND* out);
Status wait_window_gone(HWND hwnd, DWORD timeout_ms);

// Polls `condition` every 50 ms until it holds or the deadline passes; `what` names
// the condition in the failure message, which also lists the windows on screen.
Status wait_until(const std::function<bool()>& condition, DWORD timeout_ms, const std::string& what);

// ---- windows and controls -------------------------------------------------------

// Control with identifier `id`: a direct child first, else any descendant.
HWND child(HWND parent, int id);
// Every descendant window, in Z order, depth first.
std::vector<HWND> descendants(HWND parent);

std::string class_name(HWND hwnd);
// Control or window text via WM_GETTEXT (works across processes); "" when unreadable.
std::string text(HWND hwnd);
// Caption as the window manager holds it, without sending a message.
std::string caption(HWND hwnd);
Status set_text(HWND hwnd, const std::string& value);

RECT window_rect(HWND hwnd);  // screen coordinates
RECT client_rect(HWND hwnd);  // client coordinates (left = top = 0)
DWORD window_pid(HWND hwnd);
LONG_PTR window_style(HWND hwnd);
HWND window_owner(HWND hwnd);

// Posts WM_COMMAND (a menu command or accelerator: notification 0, lParam 0).
Status post_command(HWND hwnd, int id);
// Posts BM_CLICK to a button.
Status click(HWND button);
// Posts WM_LBUTTONDOWN / WM_LBUTTONUP at (x, y) in the window's client coordinates.
Status click_at(HWND hwnd, int x, int y);
// Posts WM_CLOSE.
Status post_close(HWND hwnd);

// ---- the platform's open-file dialog ---------------------------------------------

// Its file name box: a combo box in explorer style, an edit box in older templates. By
// class too: a program's own dialog may carry the same control numbers.
HWND file_name_box(HWND dialog);
// The visible open-file dialog of process `pid`, or nullptr.
HWND find_file_dialog(DWORD pid);
Status wait_file_dialog(DWORD pid, HWND* out, DWORD timeout_ms = kDefaultTimeoutMs);

// ---- menus ----------------------------------------------------------------------

struct MenuItem {
    std::string text;  // as stored, with '&' marks
    UINT id = 0;       // command id; 0 for a popup or separator
    bool popup = false;
    std::vector<MenuItem> items;  // for a popup
};
// Whether the window has a menu bar (works across processes under Wine too).
bool has_menu(HWND hwnd);
// The menu bar's items. Windows reads another process's menu; Wine 8 does not (the
// result is then empty), so GUI tests check a program's menu through its resource
// (menu_resource) and has_menu, and reach its commands with post_command.
std::vector<MenuItem> menu_bar(HWND hwnd);
// The menu resource `name` in the module file `module_path`, read as data.
std::vector<MenuItem> menu_resource(const std::string& module_path, const std::string& name);

// ---- message boxes --------------------------------------------------------------

// A dialog-class (#32770) top-level window holding a static with id 0xFFFF.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption{};
    std::string text;
    std::vector<std::pair<int, std::string>> buttons;  // id, text
    DWORD tid = 0;
    HWND owner = nullptr;
    LONG_PTR ex_style = 0;
};

std::vector<MessageBoxInfo> message_boxes(DWORD pid);
// Waits for a message box of `pid` (any thread); an empty caption matches any.
Status wait_message_box(DWORD pid, DWORD timeout_ms, MessageBoxInfo* out, const std::string& caption = {});
// Clicks OK (else Cancel, else the first button) and waits until the box is gone.
Status dismiss(const MessageBoxInfo& box, DWORD timeout_ms = 5000);
// Waits for the next message box of `pid` and dismisses it; fails (still dismissing it) when
// it does not carry exactly `text` and `caption`.
Status expect_message_box(DWORD pid, const std::string& text, const std::string& caption,
                          DWORD timeout_ms = kDefaultTimeoutMs);
// Holds for `period_ms` and fails if a message box of `pid` shows meanwhile. For boxes that
// another thread of the program may raise at any time (a channel thread); keep it short.
Status expect_no_message_box(DWORD pid, DWORD period_ms);
// Fails if a message box of `window`'s process is up once `window`'s thread has answered
// a message sent to it. A box raised by a handler exists before that handler's thread
// takes its next message (the box's own loop answers the round trip), so once a wait has
// shown that the test's last action is being or has been handled (a dialog gone, a text
// shown), this proves that the action raised no box, without a fixed wait. A sent message
// overtakes messages posted before it: right after a post, first wait for its effect.
Status expect_no_message_box_after(HWND window, DWORD timeout_ms = kDefaultTimeoutMs);
// Returns once `window`'s thread has handled a message sent to it (in its own loop or a
// modal one); fails when it does not answer in time.
Status round_trip(HWND window, DWORD timeout_ms = kDefaultTimeoutMs);

// ---- date-time pickers in another process -----------------------------------------

// DTM_GETSYSTEMTIME through memory allocated in the picker's process; *gdt is
// GDT_VALID or GDT_NONE.
Status get_datetime(HWND picker, SYSTEMTIME* out, DWORD* gdt);
// DTM_SETSYSTEMTIME; a null `value` sets GDT_NONE.
Status set_datetime(HWND picker, const SYSTEMTIME* value);

// ---- the program under test -------------------------------------------------------

using Environment = std::vector<std::pair<std::string, std::string>>;

// One run of a program in a fresh temporary folder that is its current directory.
// The destructor ends the program if it still runs and removes the folder.
class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The folder, with a trailing backslash missing ("C:\...\Temp\zelwd-...").
    const std::string& folder() const { return folder_; }
    std::string path(const std::string& name) const;

    // Files in the folder, before or during the run.
    Status put_file(const std::string& name, const std::string& bytes);
    Status copy_in(const std::string& source, const std::string& name);
    Status remove_file(const std::string& name);
    bool file_exists(const std::string& name) const;
    std::string read_file(const std::string& name) const;

    // Starts `exe` with `args` (quoted as needed) and the current environment plus
    // `extra_env` (which overrides variables of the same name).
    Status start(const std::string& exe, const std::vector<std::string>& args = {},
                 const Environment& extra_env = {});

    DWORD pid() const { return pid_; }
    HANDLE process() const { return process_; }
    bool running() const;

    Status wait_exit(DWORD timeout_ms, DWORD* exit_code = nullptr);
    // Ends the program at once (TerminateProcess) and waits for it.
    void end();

    // Conveniences bound to this program.
    Status wait_window(Match m, DWORD timeout_ms, HWND* out) const;
    Status wait_message_box(DWORD timeout_ms, MessageBoxInfo* out, const std::string& caption = {}) const;
    Status expect_message_box(const std::string& text, const std::string& caption,
                              DWORD timeout_ms = kDefaultTimeoutMs) const;
    Status expect_no_message_box(DWORD period_ms) const;

private:
    std::string folder_;
    HANDLE process_ = nullptr;
    HANDLE job_ = nullptr;
    DWORD pid_ = 0;
};

// The folder holding the running test executable, without a trailing backslash.
std::string test_folder();

// Holds a file open without sharing it, as another program may: every other open of it
// fails with a sharing violation until the object goes. The holder still reads it.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
    std::string read() const;  // the whole file, through the held handle

private:
    HANDLE handle_;
};

// A Linux path as a Windows program under Wine sees it (the Linux root is drive Z:).
std::string windows_path(std::string unix_path);

}  // namespace wd
