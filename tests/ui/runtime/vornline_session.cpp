// One run of Vornline.exe with the stand-in board.
#include "vornline_session.h"

#include "record_file.h"
#include "record_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#ifndef VORNLINE_DIR
#error "VORNLINE_DIR names the folder of Vornline.exe and the stand-in board"
#endif

namespace vt {

namespace {

constexpr int kOpen = 40001;
constexpr DWORD kBoxWaitMs = 15000;

// The build folder as Wine sees it (the Linux root is drive Z:).
std::string windows_path(std::string unix_path)
{
    for (char& c : unix_path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unix_path;
}

int next_port(int base)
{
    static int used = 0;
    return base + (used++ % 20);
}

LRESULT ask(HWND main, WPARAM index, LPARAM what, bool* answered)
{
    static const UINT message = RegisterWindowMessageA("VornlineChannelPicture");
    DWORD_PTR result = 0;
    *answered = SendMessageTimeoutA(main, message, index, what, SMTO_NORMAL, 5000, &result) != 0;
    return static_cast<LRESULT>(result);
}

}  // namespace

void put(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& text)
{
    ASSERT_EQ(zel::SetResult::ok, zel::set_field(rec, f, index, text))
        << zel::field_def(f).name << "[" << index << "] = " << text;
}

zel::ConfigRecord open_office()
{
    using zel::Field;
    zel::ConfigRecord r = zel::default_record();
    put(r, Field::validated_flag, "1");
    put(r, Field::vox_type_index, "2");
    put(r, Field::answer_ring, "1");
    put(r, Field::int_transfer_delay, "2");
    put(r, Field::ext_transfer_delay, "3");
    put(r, Field::default_port, "100");
    const char* names[7] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        put(r, Field::day_name, d, names[d]);
        put(r, Field::day_closed, d, "00");
        put(r, Field::day_open_time, d, "12:00:00 AM");
        put(r, Field::day_close_time, d, "11:59:00 PM");
    }
    return r;
}

Session::Session(int port_base) : port(next_port(port_base)) {}

Session::~Session()
{
    board.close();
    program.end();
}

std::string Session::voice(const std::string& name, double audio_seconds)
{
    // Any bytes serve: the board only decodes them for a recording. A rising pattern
    // keeps the files apart should one ever be compared.
    std::string bytes(static_cast<std::size_t>(audio_seconds * kBytesPerAudioSecond), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x11 * (i % 15));
    EXPECT_TRUE(program.put_file(name, bytes));
    return program.path(name);
}

void Session::use_voices(zel::ConfigRecord& rec)
{
    using zel::Field;
    greeting = voice("open.vox", 8);
    wrong = voice("wrong.vox", 4);
    no_input = voice("noinput.vox", 2);
    goodbye = voice("goodbye.vox", 2);
    put(rec, Field::open_greeting_vox, greeting);
    put(rec, Field::closed_greeting_vox, voice("closed.vox", 8));
    put(rec, Field::wrong_ext_vox, wrong);
    put(rec, Field::no_input_vox, no_input);
    put(rec, Field::system_error_vox, goodbye);
    for (int i = 0; i < 16; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "route%02d.vox", i);
        route_voice[i] = voice(name, 2);
        put(rec, Field::route_vox, i, route_voice[i]);
    }
}

void Session::start(const zel::ConfigRecord& rec, wd::Environment env)
{
    const std::string from = windows_path(VORNLINE_DIR);
    for (const char* file : {"Vornline.exe", "libdxxmt.dll", "libsrlmt.dll"})
        ASSERT_TRUE(program.copy_in(from + "\\" + file, file));
    ASSERT_TRUE(program.put_file("zel_system.cmd", zel::to_disk(rec)));
    env.emplace_back("SIMBOARD_PORT", std::to_string(port));
    env.emplace_back("SIMBOARD_SPEED", std::to_string(kSpeed));
    ASSERT_TRUE(program.start(program.path("Vornline.exe"), {}, env));
    ASSERT_TRUE(program.wait_window({.cls = "ZEL_VORN"}, 30000, &main));
    ASSERT_TRUE(board.connect(port, 30s));
}

void Session::open()
{
    ASSERT_TRUE(wd::post_command(main, kOpen));
    expect_open_done();
}

void Session::expect_open_done()
{
    ASSERT_TRUE(wd::post_command(main, kOpen));
    expect_box("Channel Status", "Channels Are Ready To Accept Calls");
}

void Session::start_and_open(const zel::ConfigRecord& rec, wd::Environment env)
{
    ASSERT_NO_FATAL_FAILURE(start(rec, std::move(env)));
    ASSERT_NO_FATAL_FAILURE(open());
    const int rings = std::max(1, zel::field_number(rec, zel::Field::answer_ring));
    for (int line = 1; line <= 4; ++line) {
        const std::string want = "wait " + std::to_string(line) + " " + std::to_string(rings);
        ASSERT_TRUE(wd::wait_until(
            [&] {
                for (const zeltest::BoardEvent& e : board.events()) {
                    if (zeltest::event_matches(want, e.text)) return true;
                }
                return false;
            },
            15000, want + "\n" + board.report()));
    }
    board.skip_received();
}

void Session::expect_box(const std::string& caption, const std::string& text)
{
    wd::MessageBoxInfo box;
    ASSERT_TRUE(program.wait_message_box(kBoxWaitMs, &box)) << board.report();
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    ASSERT_TRUE(wd::dismiss(box));
}

void Session::close_and_expect_exit()
{
    ASSERT_TRUE(wd::post_close(main));
    expect_box("ZEL_SYSTEM.CMD", "Closing Command File OK");
    DWORD code = 1234;
    ASSERT_TRUE(program.wait_exit(15000, &code));
    EXPECT_EQ(code, 0u);
}

std::string Session::picture(int index)
{
    bool answered = false;
    const LRESULT atom = ask(main, index, 0, &answered);
    if (!answered) return "(no answer)";
    if (atom == -1) return "(closed)";
    if (atom == 0) return "";
    char name[64] = {};
    const UINT n = GlobalGetAtomNameA(static_cast<ATOM>(atom), name, sizeof name);
    GlobalDeleteAtom(static_cast<ATOM>(atom));
    return n ? std::string(name, n) : "(bad atom)";
}

int Session::pictures_held(int index)
{
    bool answered = false;
    const LRESULT held = ask(main, index, 1, &answered);
    return answered ? static_cast<int>(held) : -2;
}

std::vector<HWND> Session::channel_windows() const
{
    std::vector<HWND> found;
    for (HWND w : wd::descendants(main)) {
        if (wd::class_name(w) == "ChildClass" && GetParent(w) == main) found.push_back(w);
    }
    return found;
}

std::vector<std::string> Session::line_events(int line, std::size_t from) const
{
    const std::vector<zeltest::BoardEvent> all = board.events();
    const std::string number = std::to_string(line);
    std::vector<std::string> out;
    for (std::size_t i = from; i < all.size(); ++i) {
        const std::string& t = all[i].text;
        const std::size_t space = t.find(' ');
        if (space == std::string::npos) continue;
        const std::size_t end = t.find(' ', space + 1);
        if (t.substr(space + 1, end == std::string::npos ? std::string::npos : end - space - 1) == number)
            out.push_back(t);
    }
    return out;
}

std::vector<std::string> between(const std::vector<std::string>& events, const std::string& first,
                                 const std::string& last)
{
    auto begin = std::find_if(events.begin(), events.end(),
                              [&](const std::string& e) { return zeltest::event_matches(first, e); });
    if (begin == events.end()) return {};
    auto end = std::find_if(begin + 1, events.end(),
                            [&](const std::string& e) { return zeltest::event_matches(last, e); });
    if (end == events.end()) return {};
    return {begin + 1, end + 1};
}

// ---- the paint, as seen on the screen ----------------------------------------------

namespace {

// 32-bit top-down pixels of a bitmap.
std::vector<DWORD> pixels_of(HDC dc, HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> out(static_cast<std::size_t>(width) * height);
    if (!GetDIBits(dc, bitmap, 0, height, out.data(), &info, DIB_RGB_COLORS)) out.clear();
    for (DWORD& p : out) p &= 0x00FFFFFF;
    return out;
}

}  // namespace

bool window_shows_bitmap(HWND window, const std::string& exe, const std::string& name, std::string* why)
{
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        *why = "cannot load " + exe;
        return false;
    }
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    FreeLibrary(module);
    if (!picture) {
        *why = "no bitmap " + name;
        return false;
    }
    BITMAP info{};
    GetObjectA(picture, sizeof info, &info);

    RECT client = wd::client_rect(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int w = std::min<int>(client.right, info.bmWidth);
    const int h = std::min<int>(client.bottom, info.bmHeight);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ previous = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, previous);
    std::vector<DWORD> seen = pixels_of(memory, shot, w, h);
    std::vector<DWORD> want = pixels_of(memory, picture, info.bmWidth, info.bmHeight);
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);

    if (seen.empty() || want.empty() || w <= 0 || h <= 0) {
        *why = "could not read the pixels";
        return false;
    }
    int differ = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (seen[static_cast<std::size_t>(y) * w + x] != want[static_cast<std::size_t>(y) * info.bmWidth + x])
                ++differ;
        }
    }
    char text[160];
    std::snprintf(text, sizeof text, "%d of %d pixels differ from %s (%dx%d compared)", differ, w * h, name.c_str(),
                  w, h);
    *why = text;
    return differ == 0;
}

wd::Status wait_painted(HWND window, const std::string& exe, const std::string& name, DWORD timeout_ms)
{
    std::string why;
    wd::Status s = wd::wait_until(
        [&] {
            if (window_shows_bitmap(window, exe, name, &why)) return true;
            InvalidateRect(window, nullptr, FALSE);
            return false;
        },
        timeout_ms, name + " painted");
    if (!s) s.message += "\n" + why;
    return s;
}

}  // namespace vt
