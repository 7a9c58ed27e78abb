// The Vornline driver: one run of Vornline.exe with the stand-in board, for every test
// that drives the runtime. A fresh folder holds the program, its board DLLs, the voice
// files and the command file (or whatever stands in its place); the board's control
// connection plays the callers; message boxes, channel windows and channel pictures are
// read from outside. The channel pictures come from the program's test aid: the main
// window answers the registered message "VornlineChannelPicture" with wParam = channel
// index; lParam 0 gives a global atom holding the picture's name, lParam 1 the number of
// pictures the channel holds.
//
// Vornline starts with "/nosplashwait" unless a test asks for the real splash holds: the
// holds are four seconds of busy waiting at every start, and one test checks them.
//
//   vt::Vornline v{7350};                      // its board port: free, from 7350 up
//   zel::ConfigRecord rec = testrec::open_every_day();
//   v.use_voices(rec);
//   ASSERT_TRUE(v.start_and_open(rec));        // every line waiting for a call
//   v.board.send("ring 1 1");
//   ASSERT_TRUE(v.board.expect("answer 1", 10s));
//   ASSERT_TRUE(v.close_and_exit(true));
#pragma once

#include "line_controller.h"
#include "window_driver.h"

#include "config_record.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace vt {

using namespace std::chrono_literals;

inline constexpr int kOpen = 40001;
inline constexpr int kAbout = 40003;
inline constexpr int kHelpTopics = 40004;
inline constexpr const char* kFaultCaption = "Program Message";

// Board time runs this many times faster than real time unless a test says otherwise.
inline constexpr double kSpeed = 10;
// Audio seconds a voice file lasts at 8 kHz for each byte: two samples per byte.
inline constexpr int kBytesPerAudioSecond = 4000;

// Sets a record field, failing the test when the value does not fit whole.
void put(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& text);
inline void put(zel::ConfigRecord& rec, zel::Field f, const std::string& text) { put(rec, f, 0, text); }

// A box's text as the program passed it: CR LF pairs read back as LF.
std::string plain_text(std::string text);

struct StartOptions {
    double speed = kSpeed;
    wd::Environment env{};      // added to the board's port and speed
    bool splash_waits = false;  // the real splash holds instead of "/nosplashwait"
    bool wait_for_window = true;
    bool connect_board = true;
};

class Vornline {
public:
    // The board port is the first free one of `port_count` ports from `port_base`: each
    // test program has a range of its own, so programs run side by side.
    explicit Vornline(int port_base, int port_count = 20);
    ~Vornline();
    Vornline(const Vornline&) = delete;
    Vornline& operator=(const Vornline&) = delete;

    // The command file, as bytes or a record, or a folder in its place.
    wd::Status put_command(const std::string& bytes);
    wd::Status put_record(const zel::ConfigRecord& rec);
    wd::Status put_command_folder();

    // Writes `name` (a .vox file lasting `audio_seconds` at 8 kHz) into the folder and
    // returns its full path as the program sees it.
    std::string voice(const std::string& name, double audio_seconds);
    // Makes every voice of the record a file of its own: greeting 8 s, retry prompt 4 s,
    // no-input, route and goodbye voices 2 s (a tenth of that at the usual speed).
    void use_voices(zel::ConfigRecord& rec);

    // Starts Vornline (with the command file already in place), waits for its main window
    // and connects to the board, as the options say.
    wd::Status start(const StartOptions& options = {});
    // put_record + start.
    wd::Status start(const zel::ConfigRecord& rec, const StartOptions& options = {});
    // Posts Open.
    wd::Status choose_open();
    // Open has finished when a second Open only says that the channels are ready.
    wd::Status expect_channels_ready();
    // choose_open + expect_channels_ready.
    wd::Status open();
    // Every line waiting for `rings` rings (events since the last skip of the board).
    wd::Status wait_lines_waiting(int rings);
    // start + open + every line waiting for its first call; the board's events so far are
    // skipped.
    wd::Status start_and_open(const zel::ConfigRecord& rec, const StartOptions& options = {});

    // The next box of the program: checked against `caption` and `text` (as passed, with
    // CR LF read as LF), then dismissed. With `only_ok`, it must offer OK alone and be
    // the only box up.
    wd::Status expect_box(const std::string& caption, const std::string& text, DWORD timeout_ms = 20000,
                          bool only_ok = false);
    wd::Status expect_fault(const std::string& text, DWORD timeout_ms = 20000)
    {
        return expect_box(kFaultCaption, text, timeout_ms);
    }
    // Dismisses every box up now; their "caption: text" are added to `seen`.
    void dismiss_boxes(std::vector<std::string>* seen);

    // Closes the main window, acknowledges "Closing Command File OK" when a file was
    // loaded, and waits for exit code 0.
    wd::Status close_and_exit(bool loaded);

    // The channel windows (class "ChildClass") of the main window.
    std::vector<HWND> channel_windows() const;
    // What channel `index` (0-3) shows: the picture's name, "" for none, "(closed)" when
    // the channel is not open, "(no answer)" when the program did not answer.
    std::string picture(int index);
    int pictures_held(int index);
    // The events of line `line` (1-4) from event number `from` on, as texts.
    std::vector<std::string> line_events(int line, std::size_t from = 0) const;
    // The program's working set in bytes (0 when it cannot be read).
    std::size_t working_set() const;

    // The call log's lines (every calls-YYYYMMDD.csv beside the program, by name order),
    // each as column name to value, read by the header of its file; `error` says what
    // could not be read (a cut line, a file without its header).
    using LogLine = std::map<std::string, std::string>;
    std::vector<LogLine> call_log(std::string* error = nullptr) const;
    std::string call_log_name() const;  // today's file name

    wd::Program program;
    zeltest::LineController board;
    HWND main = nullptr;
    int port = 0;
    ULONGLONG started = 0;  // GetTickCount64 at the start
    std::string greeting, wrong, no_input, goodbye;
    std::string route_voice[16];
};

// The folder of the Vornline.exe under test, as Wine sees it.
std::string vornline_folder();

// Whether `window`'s client area on screen shows bitmap `name` of the program file
// `exe` (compared pixel for pixel over the area they share); `why` says what differed.
bool window_shows_bitmap(HWND window, const std::string& exe, const std::string& name, std::string* why);
// Waits until channel window `window` shows bitmap `name` of the program; between looks
// it asks the window to paint again, since another program may have drawn straight onto
// the screen over it (a starting Vornline's splash does).
wd::Status wait_painted(HWND window, const std::string& exe, const std::string& name, DWORD timeout_ms = 15000);

// The events that follow the first event matching `first`, up to and including the
// first one after it that matches `last`; empty when either is missing.
std::vector<std::string> between(const std::vector<std::string>& events, const std::string& first,
                                 const std::string& last);

}  // namespace vt
