// One run of Vornline.exe with the stand-in board for the reliability tests: a fresh
// folder holding the program, its board DLLs, the voice files and the command file (or
// whatever stands in its place), the board's control connection, the fault boxes, the
// channel windows, and the program's working set.
#pragma once

#include "line_controller.h"
#include "window_driver.h"

#include "config_record.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace rel {

using namespace std::chrono_literals;

inline constexpr int kOpenCommand = 40001;
inline constexpr const char* kFaultCaption = "Program Message";

// A board port no other test is using: this program's tests take ports from 8100 to 8199.
int free_board_port();

// The voice files every reliability run puts beside the program: each plays for the given
// audio seconds at 8 kHz (two samples a byte).
struct VoiceFile {
    const char* name;
    double seconds;
};
inline constexpr VoiceFile kVoices[] = {
    {"open.vox", 3}, {"closed.vox", 3}, {"wrong.vox", 2}, {"none.vox", 1}, {"bye.vox", 1},
    {"sales.vox", 1}, {"desk.vox", 1},
};

// A validated office that is open at every minute of every day, 8 kHz voices by the
// relative names above, answer_ring 1, two pauses after the flash, default port 100 and
// sixteen routes: extension 1001+k to port 201+k, route k's voice "sales.vox" (k even) or
// "desk.vox" (k odd). Every call's dial string follows from its keys alone.
zel::ConfigRecord open_office();

// The dial string that the office record calls for after `keys` (four keys or fewer; an
// empty entry is silence): a route's port, else the default port.
std::string expected_dial(const std::string& keys);

class VornlineRun {
public:
    VornlineRun();
    ~VornlineRun();
    VornlineRun(const VornlineRun&) = delete;
    VornlineRun& operator=(const VornlineRun&) = delete;

    // The command file, or a folder in its place.
    wd::Status put_command(const std::string& bytes);
    wd::Status put_command_folder();

    // Starts Vornline (the board at `speed`, and extra environment), waits for its main
    // window and connects the line controller.
    wd::Status start(double speed, const wd::Environment& extra = {});

    // Posts Open.
    wd::Status choose_open();
    // Open has finished when a second Open says the channels are ready.
    wd::Status expect_channels_ready();
    // The channel windows (class "ChildClass") of the main window.
    std::vector<HWND> channel_windows() const;

    // The next fault box (caption "Program Message"), its text, dismissed.
    wd::Status expect_fault(const std::string& text, DWORD timeout_ms = 20000);
    // Any box with `caption` and `text`, dismissed.
    wd::Status expect_box(const std::string& caption, const std::string& text, DWORD timeout_ms = 20000);
    // Dismisses every box on screen now; their "caption: text" are added to `seen`.
    void dismiss_boxes(std::vector<std::string>* seen);

    // Closes the main window, acknowledges "Closing Command File OK" when a file was
    // loaded, and waits for exit code 0.
    wd::Status close_and_exit(bool loaded);

    // The program's working set in bytes (0 when it cannot be read).
    std::size_t working_set() const;

    wd::Program program;
    zeltest::LineController board;
    HWND main = nullptr;
    int port = 0;
};

// A box's text as the program passed it: CR LF pairs read back as LF.
std::string plain_text(std::string text);

}  // namespace rel
