// Driving Plandesk's general and weekly dialogs and the voice file chooser from outside:
// starting the tool on a prepared working file, opening a dialog by its menu command,
// pressing a chooser, and working the open-file dialog. Every wait polls with a deadline.
#pragma once

#include <windows.h>

#include <string>

#include "config_record.h"
#include "window_driver.h"

namespace vdd {

inline constexpr const char* kMainCaption = "Zelwerk MIRT Configuration Tool For Dialogic System";
inline constexpr const char* kGeneralCaption = "General System Configuration";
inline constexpr const char* kWeeklyCaption = "Greetings and Weekly Operation Hour Configuration";
inline constexpr int kGeneralCommand = 130;
inline constexpr int kWeeklyCommand = 133;

// One Plandesk run in a fresh folder.
class Plandesk {
public:
    wd::Program program;
    HWND main = nullptr;

    // Starts the tool (the working file is whatever the folder holds) and waits for the
    // main window.
    wd::Status start();
    // Writes `rec` as the working file (before start, or between dialogs).
    wd::Status put_record(const zel::ConfigRecord& rec);
    // Reads the working file; fails when it is missing or short.
    wd::Status record(zel::ConfigRecord* out) const;
    std::string disk_bytes() const { return program.read_file("zel_system.cfg"); }

    // Posts the menu command and waits for the dialog with that caption.
    wd::Status open_dialog(int command, const std::string& caption, HWND* dialog) const;
    // Message boxes of this run.
    wd::Status wait_box(wd::MessageBoxInfo* box, DWORD timeout_ms = wd::kDefaultTimeoutMs) const;
    // Waits for the process to end and checks its exit code.
    wd::Status expect_exit(DWORD code, DWORD timeout_ms = wd::kDefaultTimeoutMs);
};

// Presses the chooser on its button part (posted left-button down and up).
wd::Status press_chooser(HWND chooser);
// A point inside the chooser's button part, in its client coordinates.
POINT button_part_point(HWND chooser);

// The open-file dialog of `pid`: a dialog holding the file name box.
using wd::wait_file_dialog;
// Types a folder's path into its file name box and presses Open, which moves the dialog
// into that folder; waits until it shows that folder.
wd::Status open_folder_in_file_dialog(HWND file_dialog, const std::string& folder);
// Types `name` into its file name box, presses Open, and waits until it is gone.
wd::Status choose_in_file_dialog(HWND file_dialog, const std::string& name);
// Presses Cancel and waits until it is gone.
wd::Status cancel_file_dialog(HWND file_dialog);
// Holds for `period_ms` and fails if an open-file dialog of `pid` shows meanwhile.
wd::Status expect_no_file_dialog(DWORD pid, DWORD period_ms);

// Waits until the control's text is `expected`.
wd::Status wait_text(HWND control, const std::string& expected, DWORD timeout_ms = 5000);

// A picker's time as the stored text reads it ("09:05:00 PM"), from DTM_GETSYSTEMTIME.
wd::Status picker_time_text(HWND picker, std::string* out);
// Sets a picker's time of day (its date part as the dialogs set it).
wd::Status set_picker_time(HWND picker, int hour, int minute, int second);

// The tool `id` of a tooltip control of another process: the window it belongs to, its
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

}  // namespace vdd
