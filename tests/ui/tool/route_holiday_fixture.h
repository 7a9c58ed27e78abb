// Plandesk under test for the call route and holiday dialogs: one run in a fresh folder,
// with a prepared working file or the one the tool creates, a dialog opened from the
// Configuration menu, the voice file chooser's open-file dialog worked from outside,
// and the working file read back with the record functions.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "config_record.h"
#include "text_number.h"
#include "window_driver.h"

namespace rh {

// The menu commands and dialog captions under test.
inline constexpr int kCallRouteCommand = 134;
inline constexpr int kHolidayCommand = 135;
inline constexpr const char* kCallRouteCaption = "Call Route Configuration";
inline constexpr const char* kHolidayCaption = "Holiday Schedules";

class PlandeskRun {
public:
    // Writes `record` as the working file first (when given), starts the tool and waits
    // until its main window is up, the splash is gone and the working file exists.
    wd::Status start(const std::optional<zel::ConfigRecord>& record = std::nullopt);

    // Posts the menu command and waits for the dialog with that caption.
    wd::Status open_dialog(int command, const std::string& caption, HWND* dialog) const;

    // The working file as the record functions read it; fails when it is missing or short.
    wd::Status load(zel::ConfigRecord* out) const;
    std::string file_bytes() const { return program.read_file("zel_system.cfg"); }

    // The dialog has gone and the tool still runs.
    wd::Status expect_dialog_closed(HWND dialog) const;
    // After a restart box: the tool ends by itself with exit code 0.
    wd::Status expect_exit_zero();
    // The box shown next: its text and caption, then dismissed.
    wd::Status expect_box(const std::string& text, const std::string& caption) const;

    wd::Program program;
    HWND main = nullptr;
};

// The full path of a new small .vox file in `folder_name` under the run's folder.
std::string make_voice_file(PlandeskRun& run, const std::string& folder_name, const std::string& name);

// Activates the voice file chooser `id` of `dialog` as a mouse click on its button part.
wd::Status press_chooser(HWND dialog, int id);
// Works the open-file dialog that the chooser opened: chooses `path`, or cancels.
wd::Status choose_in_file_dialog(DWORD pid, const std::string& path);
wd::Status cancel_file_dialog(DWORD pid);

// Time pickers: the time shown (date part ignored). Date pickers: the date, or none.
wd::Status picker_time(HWND picker, zel::TimeOfDay* out);
wd::Status picker_date(HWND picker, std::optional<zel::Date>* out);
wd::Status set_picker_date(HWND picker, const std::optional<zel::Date>& date);

// Seconds since midnight of the local clock, and of a time of day.
int local_seconds();
inline int seconds_of(const zel::TimeOfDay& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

}  // namespace rh
