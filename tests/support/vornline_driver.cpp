// The Vornline driver: one run of Vornline.exe with the stand-in board.
#include "vornline_driver.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>

#include "call_report.h"
#include "record_file.h"
#include "record_layout.h"
#include "test_records.h"

#ifndef VORNLINE_DIR
#error "VORNLINE_DIR names the folder of Vornline.exe and the stand-in board"
#endif

namespace vt {

namespace {

constexpr DWORD kStartMs = 30000;
constexpr const char* kCommandFile = "zel_system.cmd";

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
    std::string why;
    EXPECT_TRUE(testrec::put(rec, f, index, text, &why)) << why;
}

std::string plain_text(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

std::string vornline_folder() { return wd::windows_path(VORNLINE_DIR); }

Vornline::Vornline(int port_base, int port_count)
    : port(zeltest::free_board_port(port_base, port_count))
{
    if (port == 0) port = port_base;
}

Vornline::~Vornline()
{
    board.close();
    SetFileAttributesA(program.path(kCommandFile).c_str(), FILE_ATTRIBUTE_NORMAL);
    program.end();
}

wd::Status Vornline::put_command(const std::string& bytes)
{
    const std::string path = program.path(kCommandFile);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
    return program.put_file(kCommandFile, bytes);
}

wd::Status Vornline::put_record(const zel::ConfigRecord& rec) { return put_command(zel::to_disk(rec)); }

wd::Status Vornline::put_command_folder()
{
    const std::string path = program.path(kCommandFile);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    if (!CreateDirectoryA(program.path(kCommandFile).c_str(), nullptr))
        return wd::Status::failure("cannot make a folder zel_system.cmd");
    return wd::Status::success();
}

std::string Vornline::voice(const std::string& name, double audio_seconds)
{
    // Any bytes serve: the board only decodes them for a recording. A rising pattern
    // keeps them from being silence should one be recorded.
    std::string bytes(static_cast<std::size_t>(audio_seconds * kBytesPerAudioSecond), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x11 * (i % 15));
    EXPECT_TRUE(program.put_file(name, bytes));
    return program.path(name);
}

void Vornline::use_voices(zel::ConfigRecord& rec)
{
    using zel::Field;
    greeting = voice("open.vox", 8);
    wrong = voice("wrong.vox", 4);
    no_input = voice("noinput.vox", 2);
    goodbye = voice("goodbye.vox", 2);
    put(rec, Field::open_greeting_vox, 0, greeting);
    put(rec, Field::closed_greeting_vox, 0, voice("closed.vox", 8));
    put(rec, Field::wrong_ext_vox, 0, wrong);
    put(rec, Field::no_input_vox, 0, no_input);
    put(rec, Field::system_error_vox, 0, goodbye);
    for (int i = 0; i < 16; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "route%02d.vox", i);
        route_voice[i] = voice(name, 2);
        put(rec, Field::route_vox, i, route_voice[i]);
    }
}

wd::Status Vornline::start(const StartOptions& options)
{
    const std::string from = vornline_folder();
    for (const char* file : {"Vornline.exe", "libdxxmt.dll", "libsrlmt.dll"}) {
        if (!program.file_exists(file)) {
            if (wd::Status s = program.copy_in(from + "\\" + file, file); !s) return s;
        }
    }
    wd::Environment env = options.env;
    env.emplace_back("SIMBOARD_PORT", std::to_string(port));
    char speed[32];
    std::snprintf(speed, sizeof speed, "%g", options.speed);
    env.emplace_back("SIMBOARD_SPEED", speed);
    std::vector<std::string> args;
    if (!options.splash_waits) args.push_back("/nosplashwait");
    started = GetTickCount64();
    if (wd::Status s = program.start(program.path("Vornline.exe"), args, env); !s) return s;
    if (!options.wait_for_window) return wd::Status::success();
    if (wd::Status s = program.wait_window({.cls = "ZEL_VORN"}, kStartMs, &main); !s) return s;
    if (!options.connect_board) return wd::Status::success();
    if (testing::AssertionResult r = board.connect(port, 30s); !r) return wd::Status::failure(r.message());
    return wd::Status::success();
}

wd::Status Vornline::start(const zel::ConfigRecord& rec, const StartOptions& options)
{
    if (wd::Status s = put_record(rec); !s) return s;
    return start(options);
}

wd::Status Vornline::choose_open() { return wd::post_command(main, kOpen); }

wd::Status Vornline::expect_channels_ready()
{
    if (wd::Status s = choose_open(); !s) return s;
    return expect_box("Channel Status", "Channels Are Ready To Accept Calls");
}

wd::Status Vornline::open()
{
    if (wd::Status s = choose_open(); !s) return s;
    return expect_channels_ready();
}

wd::Status Vornline::wait_lines_waiting(int rings)
{
    // The four lines start waiting in whatever order their threads run.
    for (int line = 1; line <= 4; ++line) {
        const std::string want = "wait " + std::to_string(line) + " " + std::to_string(rings);
        wd::Status s = wd::wait_until(
            [&] {
                for (const zeltest::BoardEvent& e : board.events()) {
                    if (zeltest::event_matches(want, e.text)) return true;
                }
                return false;
            },
            20000, want);
        if (!s) {
            s.message += "\n" + board.report();
            return s;
        }
    }
    return wd::Status::success();
}

wd::Status Vornline::start_and_open(const zel::ConfigRecord& rec, const StartOptions& options)
{
    if (wd::Status s = start(rec, options); !s) return s;
    if (wd::Status s = open(); !s) return s;
    if (wd::Status s = wait_lines_waiting(std::max(1, zel::field_number(rec, zel::Field::answer_ring))); !s) return s;
    board.skip_received();
    return wd::Status::success();
}

wd::Status Vornline::expect_box(const std::string& caption, const std::string& text, DWORD timeout_ms, bool only_ok)
{
    wd::MessageBoxInfo box;
    if (wd::Status s = program.wait_message_box(timeout_ms, &box); !s) {
        s.message += "\n" + board.report();
        return s;
    }
    const std::string got = plain_text(box.text);
    std::string wrong;
    if (box.caption != caption || got != text)
        wrong = "box [" + box.caption + "] \"" + got + "\", expected [" + caption + "] \"" + text + "\"";
    else if (only_ok && (box.buttons.size() != 1 || box.buttons[0].first != IDOK))
        wrong = "box [" + caption + "] offers more than OK";
    else if (only_ok && wd::message_boxes(program.pid()).size() != 1)
        wrong = "another box is up beside [" + caption + "]; " + wd::describe_screen();
    wd::Status dismissed = wd::dismiss(box);
    if (!wrong.empty()) return wd::Status::failure(wrong);
    return dismissed;
}

void Vornline::dismiss_boxes(std::vector<std::string>* seen)
{
    for (const wd::MessageBoxInfo& box : wd::message_boxes(program.pid())) {
        if (seen) seen->push_back(box.caption + ": " + plain_text(box.text));
        wd::dismiss(box);
    }
}

wd::Status Vornline::close_and_exit(bool loaded)
{
    if (wd::Status s = wd::post_close(main); !s) return s;
    if (loaded) {
        if (wd::Status s = expect_box("ZEL_SYSTEM.CMD", "Closing Command File OK"); !s) return s;
    }
    DWORD code = 1;
    if (wd::Status s = program.wait_exit(kStartMs, &code); !s) return s;
    if (code != 0) return wd::Status::failure("exit code " + std::to_string(code));
    return wd::Status::success();
}

std::vector<HWND> Vornline::channel_windows() const
{
    std::vector<HWND> found;
    for (HWND h = GetWindow(main, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if (wd::class_name(h) == "ChildClass") found.push_back(h);
    }
    return found;
}

std::string Vornline::picture(int index)
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

int Vornline::pictures_held(int index)
{
    bool answered = false;
    const LRESULT held = ask(main, index, 1, &answered);
    return answered ? static_cast<int>(held) : -2;
}

std::vector<std::string> Vornline::line_events(int line, std::size_t from) const
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

std::size_t Vornline::working_set() const
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(program.process(), &pmc, sizeof pmc)) return 0;
    return pmc.WorkingSetSize;
}

std::string Vornline::call_log_name() const
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char name[32];
    std::snprintf(name, sizeof name, "calls-%04u%02u%02u.csv", now.wYear, now.wMonth, now.wDay);
    return name;
}

std::vector<Vornline::LogLine> Vornline::call_log(std::string* error) const
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(program.path("calls-*.csv").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do files.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(files.begin(), files.end());
    std::vector<LogLine> lines;
    for (const std::string& name : files) {
        // Read as zelcfg calls reads it: what Vornline writes, the operator's tool must take.
        const std::vector<std::vector<std::string>> rows = zelcfg::parse_csv(program.read_file(name));
        if (rows.empty() || rows[0].empty() || rows[0][0] != "start") {
            if (error) *error = name + " has no header";
            continue;
        }
        for (std::size_t r = 1; r < rows.size(); ++r) {
            if (rows[r].size() != rows[0].size()) {
                if (error) *error = name + ": line " + std::to_string(r + 1) + " has " +
                                    std::to_string(rows[r].size()) + " fields";
                continue;
            }
            LogLine line;
            for (std::size_t i = 0; i < rows[0].size(); ++i) line[rows[0][i]] = rows[r][i];
            lines.push_back(std::move(line));
        }
    }
    return lines;
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
