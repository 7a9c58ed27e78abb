// The hand that `make run` lends the operator: finds the running Vornline, chooses
// Channels > Open and prints what the program and the stand-in board answered, or
// closes the program again.
//   vornline_demo_driver open <board port>
//   vornline_demo_driver close
// Exit status 0 when the step succeeded.
#include "window_driver.h"
#include "line_controller.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace std::chrono_literals;

constexpr int kOpen = 40001;

void say(const std::string& text) { std::printf("demo: %s\n", text.c_str()); std::fflush(stdout); }

std::string one_line(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

// Shows and acknowledges a box that arrives within `ms`; false when none came.
bool acknowledge_box(DWORD pid, DWORD ms, wd::MessageBoxInfo* seen)
{
    if (!wd::wait_message_box(pid, ms, seen).ok) return false;
    say("Vornline says [" + seen->caption + "] \"" + one_line(seen->text) + "\"; choosing OK");
    wd::dismiss(*seen);
    return true;
}

int close_vornline()
{
    HWND main = wd::find_window({.cls = "ZEL_VORN"});
    if (!main) {
        say("Vornline is not running");
        return 1;
    }
    say("closing the main window");
    wd::post_close(main);
    wd::MessageBoxInfo box;
    acknowledge_box(wd::window_pid(main), 10000, &box);
    if (!wd::wait_window_gone(main, 15000).ok) {
        say("Vornline did not close");
        return 1;
    }
    say("Vornline has ended");
    return 0;
}

int open_vornline(int port)
{
    HWND main = nullptr;
    if (wd::Status s = wd::wait_window({.cls = "ZEL_VORN"}, 60000, &main); !s) {
        say("Vornline's main window did not appear: " + s.message);
        return 1;
    }
    DWORD pid = wd::window_pid(main);
    RECT r = wd::window_rect(main);
    char where[128];
    std::snprintf(where, sizeof where, "at (%ld,%ld), %ld x %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    say("Vornline is up: window \"" + wd::caption(main) + "\" " + where);

    zeltest::LineController board;
    bool watching = board.connect(port, 20s);
    say(watching ? "watching the stand-in board on port " + std::to_string(port)
                 : "could not reach the stand-in board's control port; going on without its events");

    say("choosing Channels > Open");
    wd::post_command(main, kOpen);
    wd::MessageBoxInfo box;
    if (acknowledge_box(pid, 2000, &box)) {
        say("Open was refused; Vornline stays idle");
        return 1;
    }
    // A second Open only reports, which proves the first one loaded the command file.
    say("choosing Channels > Open again");
    wd::post_command(main, kOpen);
    if (!acknowledge_box(pid, 10000, &box) || box.text != "Channels Are Ready To Accept Calls") {
        say("Vornline did not confirm that its channels are ready");
        return 1;
    }
    if (watching) {
        board.expect("close dxxxB1", 5s);
        say("the stand-in board saw:");
        for (const zeltest::BoardEvent& e : board.events()) {
            if (e.text.rfind("status", 0) == 0) continue;  // the connection's own round trip
            std::printf("    %6ld ms  %s\n", e.ms, e.text.c_str());
        }
    }
    say("Open succeeded: the command file is loaded and Vornline is running");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "open") == 0) return open_vornline(std::atoi(argv[2]));
    if (argc == 2 && std::strcmp(argv[1], "close") == 0) return close_vornline();
    std::fprintf(stderr, "usage: vornline_demo_driver open <board port> | close\n");
    return 2;
}
