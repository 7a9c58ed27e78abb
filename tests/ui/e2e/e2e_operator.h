// The end-to-end test's runtime side: Vornline.exe with the stand-in board in a folder of
// its own (the operator's side is the Plandesk driver). Every wait has a deadline and a
// failed one lists what was on screen.
#pragma once

#include <windows.h>

#include <string>

#include "config_record.h"
#include "line_controller.h"
#include "window_driver.h"

namespace e2e {

// zelcfg's check of a file; "" when it passes, else what it printed.
std::string zelcfg_check(const std::string& path);

// ---- Vornline ----------------------------------------------------------------------------

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
