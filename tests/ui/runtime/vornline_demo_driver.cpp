// The hand that `make run` lends the operator: finds the running Vornline, chooses
// Channels > Open and prints what the program and the stand-in board answered, takes a
// picture of its window, or closes it again.
//   vornline_demo_driver open <board port> [<Vornline.exe>]
//   vornline_demo_driver shot <Vornline.exe> <picture.bmp>
//   vornline_demo_driver close [<Vornline.exe>]
// With the program's path, only the Vornline started from that file is touched: tests may
// run other Vornlines on the same screen at the same time. Exit status 0 when the step
// succeeded.
#include "window_driver.h"
#include "line_controller.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int kOpen = 40001;
constexpr const char* kMainClass = "ZEL_VORN";

void say(const std::string& text) { std::printf("demo: %s\n", text.c_str()); std::fflush(stdout); }

std::string one_line(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

// A file name as Windows compares them: case and slash direction do not count.
std::string folded(std::string path)
{
    for (char& c : path) {
        if (c == '/') c = '\\';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return path;
}

std::string image_of(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return "";
    char name[MAX_PATH * 2] = {};
    DWORD size = sizeof name;
    const bool ok = QueryFullProcessImageNameA(process, 0, name, &size) != 0;
    CloseHandle(process);
    return ok ? std::string(name, size) : std::string();
}

// The main window of the Vornline started from `exe` (any Vornline when `exe` is empty).
HWND find_vornline(const std::string& exe)
{
    const std::string wanted = folded(exe);
    for (const wd::WindowInfo& w : wd::top_windows()) {
        if (w.cls != kMainClass || !w.visible) continue;
        if (wanted.empty() || folded(image_of(w.pid)) == wanted) return w.hwnd;
    }
    return nullptr;
}

wd::Status wait_vornline(const std::string& exe, DWORD timeout_ms, HWND* out)
{
    return wd::wait_until([&] { return (*out = find_vornline(exe)) != nullptr; }, timeout_ms,
                          "Vornline's main window" + (exe.empty() ? std::string() : " of " + exe));
}

// Shows and acknowledges a box that arrives within `ms`; false when none came.
bool acknowledge_box(DWORD pid, DWORD ms, wd::MessageBoxInfo* seen)
{
    if (!wd::wait_message_box(pid, ms, seen).ok) return false;
    say("Vornline says [" + seen->caption + "] \"" + one_line(seen->text) + "\"; choosing OK");
    wd::dismiss(*seen);
    return true;
}

int close_vornline(const std::string& exe)
{
    HWND main = find_vornline(exe);
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

int open_vornline(int port, const std::string& exe)
{
    HWND main = nullptr;
    if (wd::Status s = wait_vornline(exe, 60000, &main); !s) {
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

// The window as it shows on screen: its client area with the menu bar above it (the
// frame and caption belong to the window manager, when there is one).
RECT picture_rect(HWND main)
{
    RECT client = wd::client_rect(main);
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    OffsetRect(&client, origin.x, origin.y);
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    if (GetMenuBarInfo(main, OBJID_MENU, 0, &bar) && bar.rcBar.bottom > bar.rcBar.top) {
        client.top = std::min(client.top, bar.rcBar.top);
    } else {
        client.top -= GetSystemMetrics(SM_CYMENU);
    }
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    IntersectRect(&visible, &client, &screen);
    return visible;
}

// The screen's pixels in `r`, as bottom-up 24-bit rows padded to four bytes.
bool grab(const RECT& r, std::vector<unsigned char>* pixels)
{
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (dib && memory) {
        HGDIOBJ old = SelectObject(memory, dib);
        ok = BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != 0;
        GdiFlush();
        const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~static_cast<std::size_t>(3);
        const auto* first = static_cast<const unsigned char*>(bits);
        pixels->assign(first, first + stride * static_cast<std::size_t>(h));
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool write_bmp(const std::string& path, int w, int h, const std::vector<unsigned char>& pixels)
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER head{};
    head.biSize = sizeof head;
    head.biWidth = w;
    head.biHeight = h;
    head.biPlanes = 1;
    head.biBitCount = 24;
    head.biCompression = BI_RGB;
    head.biSizeImage = static_cast<DWORD>(pixels.size());
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + head.biSizeImage;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&head, sizeof head, 1, f) == 1 &&
              std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

// Brings the window to the top and takes its picture once the screen has settled (two
// grabs in a row, a poll apart, agree), so no other window and no half-drawn picture is
// in it.
int take_picture(const std::string& exe, const std::string& path)
{
    HWND main = nullptr;
    if (wd::Status s = wait_vornline(exe, 10000, &main); !s) {
        say("no picture: " + s.message);
        return 1;
    }
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const RECT r = picture_rect(main);
    if (r.right <= r.left || r.bottom <= r.top) {
        say("no picture: the window is off the screen");
        return 1;
    }
    std::vector<unsigned char> before, now;
    bool settled = false;
    const wd::Status s = wd::wait_until(
        [&] {
            if (!grab(r, &now)) return false;
            settled = !before.empty() && now == before;
            before.swap(now);
            return settled;
        },
        3000, "a settled picture of Vornline's window");
    // A screen that keeps changing (a call's picture changing under us) still gives the
    // last grab; say so rather than pretend.
    if (before.empty() || !write_bmp(path, r.right - r.left, r.bottom - r.top, before)) {
        say("no picture: could not grab the screen or write " + path);
        return 1;
    }
    if (!s) say("the window kept changing; the picture is the last grab");
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "open" && (argc == 3 || argc == 4)) return open_vornline(std::atoi(argv[2]), argc == 4 ? argv[3] : "");
    if (command == "shot" && argc == 4) return take_picture(argv[2], argv[3]);
    if (command == "close" && (argc == 2 || argc == 3)) return close_vornline(argc == 3 ? argv[2] : "");
    std::fprintf(stderr,
                 "usage: vornline_demo_driver open <board port> [<Vornline.exe>]\n"
                 "       vornline_demo_driver shot <Vornline.exe> <picture.bmp>\n"
                 "       vornline_demo_driver close [<Vornline.exe>]\n");
    return 2;
}
