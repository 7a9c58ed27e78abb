// The Plandesk driver: one run of Plandesk.exe in a fresh folder, worked from outside as
// an operator would (start on a prepared working file or none, the main window and the
// splash, a dialog opened by its menu command, boxes, the working file read back as a
// record, the exit code), and the controls its dialogs share: the voice file chooser and
// the open-file dialog it opens, date-time pickers, tooltips. Every wait has a deadline.
//
//   pd::Plandesk tool;
//   ASSERT_TRUE(tool.put_record(rec));
//   ASSERT_TRUE(tool.start());
//   HWND dlg = nullptr;
//   ASSERT_TRUE(tool.open_dialog(pd::kWeekly, &dlg));
//   ASSERT_TRUE(tool.choose_voice(dlg, 1015, 1000, tool.program.path("Open.vox")));
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "config_record.h"
#include "text_number.h"
#include "window_driver.h"

namespace pd {

inline constexpr const char* kMainCaption = "Zelwerk MIRT Configuration Tool For Dialogic System";
inline constexpr const char* kFrameClass = "ZfFrame";
inline constexpr const char* kSplashClass = "PlandeskSplash";
inline constexpr const char* kWorkingFile = "zel_system.cfg";

inline constexpr int kExitCommand = 57665;
inline constexpr int kAboutCommand = 57664;
inline constexpr int kHelpCommand = 32773;

// A dialog of the Configuration menu: its command and its caption.
struct Dialog {
    int command;
    const char* caption;
};
inline constexpr Dialog kGeneral{130, "General System Configuration"};
inline constexpr Dialog kWeekly{133, "Greetings and Weekly Operation Hour Configuration"};
inline constexpr Dialog kCallRoute{134, "Call Route Configuration"};
inline constexpr Dialog kHoliday{135, "Holiday Schedules"};
inline constexpr Dialog kValidate{136, "Validate and Set Configuration For Use"};

inline constexpr DWORD kStartMs = 30000;  // a cold Wine start
inline constexpr DWORD kWaitMs = 15000;

// The Plandesk.exe under test, as a Windows path.
std::string plandesk_exe();

// One Plandesk run in a fresh folder, which is its current directory and holds the
// working file. The program is ended and the folder removed when the object goes.
class Plandesk {
public:
    wd::Program program;
    HWND main = nullptr;
    ULONGLONG started_at = 0;  // GetTickCount64() just before the process was made

    // Copies Plandesk.exe into the folder and starts that copy from then on, so that what
    // the program looks for beside itself (the help viewer) is found there.
    wd::Status install();

    // ---- the working file ----
    wd::Status put_record(const zel::ConfigRecord& rec);
    wd::Status put_file_bytes(const std::string& bytes) { return program.put_file(kWorkingFile, bytes); }
    std::string file_bytes() const { return program.read_file(kWorkingFile); }
    bool has_file() const { return program.file_exists(kWorkingFile); }
    // The working file read with the record functions; fails when it is missing or short.
    wd::Status record(zel::ConfigRecord* out) const;

    // ---- start and end ----
    // Only makes the process: for start-ups that show a box before the main window.
    wd::Status launch();
    // Waits for the main window.
    wd::Status wait_main(DWORD timeout_ms = kStartMs);
    // launch + wait_main: the splash may still lie over the frame.
    wd::Status start_shown();
    // start_shown, then the splash gone (it eats the first key or click) and the working
    // file there: the tool is ready for the operator.
    wd::Status start();
    // After the tool ended by itself: starts it again in the same folder.
    wd::Status restart();
    wd::Status wait_splash_gone() const;
    // Exit from the File menu; the tool must end with exit code 0.
    wd::Status quit();
    // The tool ends by itself with `code`.
    wd::Status expect_exit(DWORD code = 0);

    // ---- dialogs and boxes ----
    // Posts the menu command and waits for the dialog.
    wd::Status open_dialog(const Dialog& d, HWND* dialog) const;
    // The same, dismissing every box shown meanwhile; each is added to `boxes` as
    // "caption: text".
    wd::Status open_dialog(const Dialog& d, HWND* dialog, std::vector<std::string>* boxes) const;
    // Clicks `button` of `dialog`, then dismisses every box until the dialog is gone.
    wd::Status press_and_close(HWND dialog, int button, std::vector<std::string>* boxes) const;
    // The dialog has gone and the tool still runs.
    wd::Status expect_dialog_closed(HWND dialog) const;

    wd::Status wait_box(wd::MessageBoxInfo* box, DWORD timeout_ms = kWaitMs) const;
    // The next box carries exactly this text and caption; it is dismissed.
    wd::Status expect_box(const std::string& text, const std::string& caption) const;
    // No box is up once the tool's one user-interface thread has handled what it was sent;
    // call it after a wait that shows the action itself was handled (a dialog gone, a text
    // shown), since a sent message overtakes posted ones.
    wd::Status expect_no_box() const { return wd::expect_no_message_box_after(main); }

    // ---- the voice file chooser and its open-file dialog ----
    // Presses chooser `chooser` of `dialog`, chooses `path` in the open-file dialog and
    // waits until the control `display` shows it.
    wd::Status choose_voice(HWND dialog, int chooser, int display, const std::string& path) const;
    // The open-file dialog of this run.
    wd::Status file_dialog(HWND* out) const { return wd::wait_file_dialog(program.pid(), out, kWaitMs); }
    // Waits for the open-file dialog and chooses `path` in it, or cancels it.
    wd::Status choose_file(const std::string& path) const;
    wd::Status cancel_file() const;

    // A new small file `name` in the folder (`sub` a folder under it, made when missing);
    // returns its full path, "" on failure.
    std::string put_voice(const std::string& name, const std::string& sub = {});

private:
    std::string exe_;
};

// ---- the voice file chooser ----------------------------------------------------------

// A point inside the chooser's button part (its right 27 pixels, or all of a narrower
// control), in its client coordinates.
POINT button_part_point(HWND chooser);
// Presses the chooser on its button part (posted button down and up).
wd::Status press_chooser(HWND chooser);
wd::Status press_chooser(HWND dialog, int id);

// ---- the open-file dialog --------------------------------------------------------------

// Types `name` into its file name box, presses Open and waits until it is gone.
wd::Status choose_in_file_dialog(HWND file_dialog, const std::string& name);
// Presses Cancel and waits until it is gone.
wd::Status cancel_file_dialog(HWND file_dialog);
// Types a folder's path and presses Open, which moves the dialog into that folder; waits
// until it shows that folder.
wd::Status open_folder_in_file_dialog(HWND file_dialog, const std::string& folder);

// Returns once the thread of `edit` (an edit control) has taken from its queue every
// message posted to any of its windows before the call: a marker posted behind them is
// seen handled. A plain round trip does not prove that, as a sent message is handled
// before the posted ones waiting in the queue.
wd::Status drain_posted(HWND edit, DWORD timeout_ms = kWaitMs);
// After drain_posted: no open-file dialog of the program exists, shown or not yet shown.
wd::Status expect_no_file_dialog(HWND edit);

// ---- controls ----------------------------------------------------------------------------

// Waits until the control's text is `expected`.
wd::Status wait_text(HWND control, const std::string& expected, DWORD timeout_ms = kWaitMs);

// Selects entry `index` of a combo box and tells its dialog, as a user's pick does.
wd::Status pick_entry(HWND dialog, int combo_id, int index);

// Time pickers: the time of day (its date part as the dialogs set it). Date pickers: the
// date, or none.
wd::Status picker_time(HWND picker, zel::TimeOfDay* out);
wd::Status set_picker_time(HWND picker, const zel::TimeOfDay& t);
wd::Status picker_date(HWND picker, std::optional<zel::Date>* out);
wd::Status set_picker_date(HWND picker, const std::optional<zel::Date>& date);

// Tool `id` of a tooltip control of another process: the window it belongs to, its
// rectangle and its text. False when the tooltip has no such tool.
bool tooltip_tool(HWND tooltip, UINT id, HWND* owner, RECT* rect, std::string* text);

// A short folder of its own under C:\ for paths that must stay short; removed with its
// files when the object goes.
class ShortFolder {
public:
    ShortFolder();
    ~ShortFolder();
    ShortFolder(const ShortFolder&) = delete;
    ShortFolder& operator=(const ShortFolder&) = delete;
    const std::string& path() const { return path_; }
    // Creates the file `name` with some bytes; returns its full path ("" on failure).
    std::string put(const std::string& name);

private:
    std::string path_;
};

}  // namespace pd
