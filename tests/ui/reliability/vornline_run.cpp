// One run of Vornline.exe with the stand-in board for the reliability tests.
#include "vornline_run.h"

#include <psapi.h>

#include <cstdio>

#include "record_file.h"

#ifndef VORNLINE_DIR
#error "VORNLINE_DIR names the folder of Vornline.exe and the stand-in board"
#endif

namespace rel {

namespace {

constexpr DWORD kStartMs = 30000;

// The build folder as Wine sees it (the Linux root is drive Z:).
std::string windows_path(std::string unix_path)
{
    for (char& c : unix_path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unix_path;
}

void put(zel::ConfigRecord& r, zel::Field f, int index, const std::string& text)
{
    zel::set_field(r, f, index, text);
}

}  // namespace

int free_board_port()
{
    const int port = zeltest::free_board_port(8100, 100);
    return port != 0 ? port : 8100;
}

zel::ConfigRecord open_office()
{
    using zel::Field;
    zel::ConfigRecord r = zel::default_record();
    put(r, Field::validated_flag, 0, "1");
    put(r, Field::vox_type_index, 0, "2");
    put(r, Field::vox_type_name, 0, "DRT_8KHZ");
    put(r, Field::answer_ring, 0, "1");
    put(r, Field::int_transfer_delay, 0, "2");
    put(r, Field::ext_transfer_delay, 0, "3");
    put(r, Field::default_port, 0, "100");
    put(r, Field::open_greeting_vox, 0, "open.vox");
    put(r, Field::closed_greeting_vox, 0, "closed.vox");
    put(r, Field::wrong_ext_vox, 0, "wrong.vox");
    put(r, Field::no_input_vox, 0, "none.vox");
    put(r, Field::system_error_vox, 0, "bye.vox");
    static const char* const kDays[] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        put(r, Field::day_name, d, kDays[d]);
        put(r, Field::day_closed, d, "00");
        put(r, Field::day_open_time, d, "12:00:00 AM");
        put(r, Field::day_close_time, d, "11:59:00 PM");
    }
    for (int k = 0; k < 16; ++k) {
        put(r, Field::route_ext, k, std::to_string(1001 + k));
        put(r, Field::route_port, k, std::to_string(201 + k));
        put(r, Field::route_vox, k, k % 2 == 0 ? "sales.vox" : "desk.vox");
    }
    return r;
}

std::string expected_dial(const std::string& keys)
{
    if (keys.size() == 4 && keys >= "1001" && keys <= "1016" && keys.find_first_not_of("0123456789") == std::string::npos)
        return "&,," + std::to_string(201 + (std::stoi(keys) - 1001));
    return "&,,100";
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

VornlineRun::VornlineRun() : port(free_board_port()) {}

VornlineRun::~VornlineRun()
{
    board.close();
    SetFileAttributesA(program.path("zel_system.cmd").c_str(), FILE_ATTRIBUTE_NORMAL);
    program.end();
}

wd::Status VornlineRun::put_command(const std::string& bytes)
{
    const std::string path = program.path("zel_system.cmd");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
    return program.put_file("zel_system.cmd", bytes);
}

wd::Status VornlineRun::put_command_folder()
{
    if (!CreateDirectoryA(program.path("zel_system.cmd").c_str(), nullptr))
        return wd::Status::failure("cannot make a folder zel_system.cmd");
    return wd::Status::success();
}

wd::Status VornlineRun::start(double speed, const wd::Environment& extra)
{
    const std::string from = windows_path(VORNLINE_DIR);
    for (const char* file : {"Vornline.exe", "libdxxmt.dll", "libsrlmt.dll"}) {
        if (wd::Status s = program.copy_in(from + "\\" + file, file); !s) return s;
    }
    for (const VoiceFile& v : kVoices) {
        // Any bytes play; a pattern keeps them from being silence should one be recorded.
        std::string bytes(static_cast<std::size_t>(v.seconds * 4000), '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x11 * (i % 15));
        if (wd::Status s = program.put_file(v.name, bytes); !s) return s;
    }
    wd::Environment env = extra;
    env.emplace_back("SIMBOARD_PORT", std::to_string(port));
    char text[32];
    std::snprintf(text, sizeof text, "%g", speed);
    env.emplace_back("SIMBOARD_SPEED", text);
    if (wd::Status s = program.start(program.path("Vornline.exe"), {}, env); !s) return s;
    if (wd::Status s = program.wait_window({.cls = "ZEL_VORN"}, kStartMs, &main); !s) return s;
    if (testing::AssertionResult r = board.connect(port, 30s); !r) return wd::Status::failure(r.message());
    return wd::Status::success();
}

wd::Status VornlineRun::choose_open()
{
    return wd::post_command(main, kOpenCommand);
}

wd::Status VornlineRun::expect_channels_ready()
{
    if (wd::Status s = choose_open(); !s) return s;
    return expect_box("Channel Status", "Channels Are Ready To Accept Calls");
}

std::vector<HWND> VornlineRun::channel_windows() const
{
    std::vector<HWND> out;
    for (HWND h = GetWindow(main, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if (wd::class_name(h) == "ChildClass") out.push_back(h);
    }
    return out;
}

wd::Status VornlineRun::expect_box(const std::string& caption, const std::string& text, DWORD timeout_ms)
{
    wd::MessageBoxInfo box;
    if (wd::Status s = program.wait_message_box(timeout_ms, &box, caption); !s) return s;
    const std::string got = plain_text(box.text);
    wd::dismiss(box);
    if (got != text) return wd::Status::failure("box \"" + caption + "\" says \"" + got + "\", expected \"" + text + "\"");
    return wd::Status::success();
}

wd::Status VornlineRun::expect_fault(const std::string& text, DWORD timeout_ms)
{
    return expect_box(kFaultCaption, text, timeout_ms);
}

void VornlineRun::dismiss_boxes(std::vector<std::string>* seen)
{
    for (const wd::MessageBoxInfo& box : wd::message_boxes(program.pid())) {
        if (seen) seen->push_back(box.caption + ": " + plain_text(box.text));
        wd::dismiss(box);
    }
}

wd::Status VornlineRun::close_and_exit(bool loaded)
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

std::size_t VornlineRun::working_set() const
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(program.process(), &pmc, sizeof pmc)) return 0;
    return pmc.WorkingSetSize;
}

}  // namespace rel
