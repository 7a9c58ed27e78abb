// The end-to-end test's two hands: an operator who works Plandesk's dialogs from outside
// (started and restarted in one folder, as the voice-changed rule asks), and the runtime
// side that runs Vornline.exe with the stand-in board in a folder of its own. Every wait
// has a deadline and a failed one lists what was on screen.
#pragma once

#include <windows.h>

#include <string>

#include "config_record.h"
#include "line_controller.h"
#include "text_number.h"
#include "window_driver.h"

namespace e2e {

// ---- Plandesk --------------------------------------------------------------------------

class Operator {
public:
    // Starts Plandesk in the folder (the working file is whatever the folder holds) and
    // waits until the main window is up, the splash is gone and the working file exists.
    wd::Status start();
    // After the tool ended by itself: starts it again in the same folder.
    wd::Status restart();

    // Posts the menu command and waits for the dialog with that caption.
    wd::Status open_dialog(int command, const std::string& caption, HWND* dialog) const;

    // Presses the voice file chooser `chooser` of `dialog` on its button part, types `path`
    // into the open-file dialog, presses Open and waits until `display` shows the path.
    wd::Status choose_voice(HWND dialog, int chooser, int display, const std::string& path) const;

    // The next message box must have this text and caption; it is then dismissed.
    wd::Status expect_box(const std::string& text, const std::string& caption) const;
    // The tool ends by itself with exit code 0.
    wd::Status expect_exit_zero();

    // The working file read with the record functions.
    wd::Status working_record(zel::ConfigRecord* out) const;

    wd::Program program;
    HWND main = nullptr;
};

// A picker's time of day (its date part as the dialogs set it) or calendar date.
wd::Status set_picker_time(HWND picker, int minute_of_day);
wd::Status set_picker_date(HWND picker, const zel::Date& date);

// Selects entry `index` of a combo box and tells its dialog, as a user's pick does.
wd::Status pick_entry(HWND dialog, int combo_id, int index);

// zelcfg's check of a file; "" when it passes, else what it printed.
std::string zelcfg_check(const std::string& path);

// ---- Vornline ----------------------------------------------------------------------------

// A build product's path as Wine sees it (the Linux root is drive Z:).
std::string windows_path(std::string unix_path);

// A TCP port on 127.0.0.1 that nothing listens on now, from a range of its own.
int free_board_port();

class Runtime {
public:
    ~Runtime();

    // Puts Vornline.exe and the board DLLs into the folder.
    wd::Status install();
    // Starts Vornline with the board on `port` at `speed`, waits for the main window and
    // connects the line controller.
    wd::Status start(int port, int speed);
    // Chooses Open and waits until every line waits for `rings` rings; a message box of
    // the program meanwhile fails at once with its text.
    wd::Status open_channels(int rings);

    // What channel `index` (0-3) shows, through the program's picture query.
    std::string picture(int index) const;

    // Closes the main window, acknowledges the command file box, waits for exit code 0.
    wd::Status close();

    wd::Program program;
    zeltest::LineController board;
    HWND main = nullptr;
};

}  // namespace e2e
