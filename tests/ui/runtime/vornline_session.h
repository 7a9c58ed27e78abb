// One run of Vornline.exe with the stand-in board, for the channel and call scenario
// tests: a fresh folder with the program, its board and a command file made with
// config/, the board's control connection to play the callers, the channel windows,
// and the channel pictures read back through the program's test aid (the main window
// answers the registered message "VornlineChannelPicture" with wParam = channel index:
// lParam 0 gives a global atom holding the picture's name, lParam 1 the number of
// pictures the channel holds).
#pragma once

#include "line_controller.h"
#include "window_driver.h"

#include "config_record.h"

#include <chrono>
#include <string>
#include <vector>

namespace vt {

using namespace std::chrono_literals;

// Board time runs this many times faster than real time in every scenario.
inline constexpr int kSpeed = 10;
// Audio seconds a voice file lasts at 8 kHz for each byte: two samples per byte.
inline constexpr int kBytesPerAudioSecond = 4000;

// Sets a record field, failing the test when the value does not fit whole.
void put(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& text);
inline void put(zel::ConfigRecord& rec, zel::Field f, const std::string& text) { put(rec, f, 0, text); }

// A validated command record with 8 kHz voices, open every day at every minute (so the
// open greeting plays and no schedule flag is set), answer_ring 1, two pauses after
// the flash, three after an outside-line digit, default port 100. Voice paths are set
// by Session::use_voices.
zel::ConfigRecord open_office();

class Session {
public:
    // `port_base`: the first of 20 board ports this test program may use.
    explicit Session(int port_base);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Writes `name` (a .vox file lasting `audio_seconds` at 8 kHz) into the program's
    // folder and returns its full path as the program sees it.
    std::string voice(const std::string& name, double audio_seconds);

    // Makes every voice of the record a file of its own: greeting 8 s, retry prompt
    // 4 s, no-input, route and goodbye voices 2 s (a tenth of that in real time).
    void use_voices(zel::ConfigRecord& rec);

    // Starts Vornline with `rec` as its command file, waits for its main window and
    // connects to the board (which listens from the program's start).
    void start(const zel::ConfigRecord& rec, wd::Environment env = {});
    // Chooses Open and proves it finished: a second Open says the channels are ready.
    void open();
    // Chooses Open after a successful one and checks that it only says so.
    void expect_open_done();
    // start + open + every line waiting for its first call.
    void start_and_open(const zel::ConfigRecord& rec, wd::Environment env = {});

    // Waits for a message box, checks it and clicks OK.
    void expect_box(const std::string& caption, const std::string& text);
    void expect_report(const std::string& text) { expect_box("Program Message", text); }

    // Closes the main window, acknowledges "Closing Command File OK" and waits for
    // the exit with code 0.
    void close_and_expect_exit();

    // What channel `index` (0-3) shows: the picture's name, "" for none, "(closed)"
    // when the channel is not open, "(no answer)" when the program did not answer.
    std::string picture(int index);
    int pictures_held(int index);

    // The channel windows (class "ChildClass") among the main window's children.
    std::vector<HWND> channel_windows() const;

    // The events of line `line` (1-4) from event number `from` on, as texts.
    std::vector<std::string> line_events(int line, std::size_t from = 0) const;

    wd::Program program;
    zeltest::LineController board;
    HWND main = nullptr;
    int port = 0;
    std::string greeting, wrong, no_input, goodbye;
    std::string route_voice[16];
};

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
