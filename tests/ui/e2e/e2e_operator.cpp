// Plandesk worked by an operator from outside, and Vornline run with the stand-in board.
#include "e2e_operator.h"

#include <commctrl.h>

#include <cstdio>

#include "commands.h"
#include "record_file.h"

#ifndef PLANDESK_EXE
#error "PLANDESK_EXE names the Plandesk.exe under test"
#endif
#ifndef VORNLINE_EXE
#error "VORNLINE_EXE, BOARD_DXXMT_DLL and BOARD_SRLMT_DLL name the runtime and its board"
#endif

namespace e2e {

namespace {

constexpr DWORD kStartMs = 30000;
constexpr DWORD kWaitMs = 15000;
constexpr int kOpenCommand = 40001;

SYSTEMTIME picker_value(int year, int month, int day, int hour, int minute)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    return st;
}

}  // namespace

// ---- Plandesk --------------------------------------------------------------------------

wd::Status Operator::start()
{
    if (wd::Status s = program.start(PLANDESK_EXE); !s) return s;
    if (wd::Status s = program.wait_window({.cls = "ZfFrame"}, kStartMs, &main); !s) return s;
    const DWORD pid = program.pid();
    // The splash eats the first click anywhere in the tool.
    if (wd::Status s = wd::wait_until([&] { return wd::find_window({.cls = "PlandeskSplash", .pid = pid}) == nullptr; },
                                      kWaitMs, "the splash to go");
        !s)
        return s;
    return wd::wait_until([&] { return program.file_exists("zel_system.cfg"); }, kWaitMs, "zel_system.cfg to exist");
}

wd::Status Operator::restart()
{
    if (program.running()) return wd::Status::failure("Plandesk still runs; it should have ended by itself");
    program.end();  // releases the ended process
    main = nullptr;
    return start();
}

wd::Status Operator::open_dialog(int command, const std::string& caption, HWND* dialog) const
{
    if (wd::Status s = wd::post_command(main, command); !s) return s;
    return program.wait_window({.cls = "#32770", .caption = caption}, kWaitMs, dialog);
}

wd::Status Operator::choose_voice(HWND dialog, int chooser, int display, const std::string& path) const
{
    HWND button = wd::child(dialog, chooser);
    if (button == nullptr) return wd::Status::failure("no chooser " + std::to_string(chooser));
    // The button part is the right 27 pixels of the control.
    const RECT r = wd::client_rect(button);
    if (wd::Status s = wd::click_at(button, r.right > 27 ? r.right - 13 : r.right / 2, r.bottom / 2); !s) return s;

    HWND files = nullptr;
    const DWORD pid = program.pid();
    if (wd::Status s = wd::wait_until([&] { return (files = wd::find_file_dialog(pid)) != nullptr; }, kWaitMs,
                                      "the open-file dialog of chooser " + std::to_string(chooser));
        !s)
        return s;
    if (wd::Status s = wd::set_text(wd::file_name_box(files), path); !s) return s;
    if (wd::Status s = wd::click(wd::child(files, IDOK)); !s) return s;
    if (wd::Status s = wd::wait_window_gone(files, kWaitMs); !s) return s;

    HWND shown = wd::child(dialog, display);
    std::string last;
    wd::Status s = wd::wait_until([&] { return (last = wd::text(shown)) == path; }, kWaitMs,
                                  std::to_string(display) + " to show " + path);
    if (!s) s.message = "it shows \"" + last + "\"; " + s.message;
    return s;
}

wd::Status Operator::expect_box(const std::string& text, const std::string& caption) const
{
    return program.expect_message_box(text, caption, kWaitMs);
}

wd::Status Operator::expect_exit_zero()
{
    DWORD code = 0;
    if (wd::Status s = program.wait_exit(kWaitMs, &code); !s) return s;
    if (code != 0) return wd::Status::failure("Plandesk ended with exit code " + std::to_string(code));
    return wd::Status::success();
}

wd::Status Operator::working_record(zel::ConfigRecord* out) const
{
    std::size_t got = 0;
    if (zel::load_record(program.path("zel_system.cfg").c_str(), *out, &got) != zel::ReadStatus::ok)
        return wd::Status::failure("zel_system.cfg could not be read whole (" + std::to_string(got) + " bytes)");
    return wd::Status::success();
}

wd::Status set_picker_time(HWND picker, int minute_of_day)
{
    // The dialogs give their time pickers this date part.
    const SYSTEMTIME st = picker_value(2009, 8, 5, minute_of_day / 60, minute_of_day % 60);
    return wd::set_datetime(picker, &st);
}

wd::Status set_picker_date(HWND picker, const zel::Date& date)
{
    const SYSTEMTIME st = picker_value(date.year, date.month, date.day, 12, 0);
    return wd::set_datetime(picker, &st);
}

wd::Status pick_entry(HWND dialog, int combo_id, int index)
{
    HWND combo = wd::child(dialog, combo_id);
    if (combo == nullptr) return wd::Status::failure("no combo box " + std::to_string(combo_id));
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 2000, &result) ||
        static_cast<int>(result) != index)
        return wd::Status::failure("entry " + std::to_string(index) + " could not be selected");
    if (!PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo_id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo)))
        return wd::Status::failure("the selection change could not be posted");
    return wd::Status::success();
}

std::string zelcfg_check(const std::string& path)
{
    std::string out;
    std::string err;
    if (zelcfg::run({"check", path}, out, err) == 0) return {};
    return "zelcfg check " + path + " failed:\n" + out + err;
}

// ---- Vornline ----------------------------------------------------------------------------

std::string windows_path(std::string unix_path)
{
    for (char& c : unix_path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unix_path;
}

int free_board_port()
{
    // A range no other test uses.
    return zeltest::free_board_port(7900, 90);
}

Runtime::~Runtime()
{
    board.close();
    program.end();
}

wd::Status Runtime::install()
{
    const struct {
        const char* from;
        const char* name;
    } files[] = {{VORNLINE_EXE, "Vornline.exe"}, {BOARD_DXXMT_DLL, "libdxxmt.dll"}, {BOARD_SRLMT_DLL, "libsrlmt.dll"}};
    for (const auto& f : files) {
        if (wd::Status s = program.copy_in(windows_path(f.from), f.name); !s) return s;
    }
    return wd::Status::success();
}

wd::Status Runtime::start(int port, int speed)
{
    const wd::Environment env = {{"SIMBOARD_PORT", std::to_string(port)}, {"SIMBOARD_SPEED", std::to_string(speed)}};
    if (wd::Status s = program.start(program.path("Vornline.exe"), {}, env); !s) return s;
    if (wd::Status s = program.wait_window({.cls = "ZEL_VORN"}, kStartMs, &main); !s) return s;
    if (testing::AssertionResult r = board.connect(port, std::chrono::milliseconds(kStartMs)); !r)
        return wd::Status::failure(r.message());
    return wd::Status::success();
}

wd::Status Runtime::open_channels(int rings)
{
    if (wd::Status s = wd::post_command(main, kOpenCommand); !s) return s;
    std::string box;
    auto ready = [&] {
        if (const auto boxes = wd::message_boxes(program.pid()); !boxes.empty()) {
            box = "[" + boxes.front().caption + "] \"" + boxes.front().text + "\"";
            return true;
        }
        for (int line = 1; line <= 4; ++line) {
            const std::string want = "wait " + std::to_string(line) + " " + std::to_string(rings);
            bool seen = false;
            for (const zeltest::BoardEvent& e : board.events()) seen = seen || zeltest::event_matches(want, e.text);
            if (!seen) return false;
        }
        return true;
    };
    wd::Status s = wd::wait_until(ready, kWaitMs, "every line to wait for " + std::to_string(rings) + " rings");
    if (!s) return wd::Status::failure(s.message + "\n" + board.report());
    if (!box.empty()) return wd::Status::failure("Open showed the box " + box + "\n" + board.report());
    board.skip_received();
    return wd::Status::success();
}

std::string Runtime::picture(int index) const
{
    static const UINT query = RegisterWindowMessageA("VornlineChannelPicture");
    DWORD_PTR atom = 0;
    if (!SendMessageTimeoutA(main, query, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &atom))
        return "(no answer)";
    if (static_cast<LRESULT>(atom) == -1) return "(closed)";
    if (atom == 0) return "";
    char name[64] = {};
    const UINT n = GlobalGetAtomNameA(static_cast<ATOM>(atom), name, sizeof name);
    GlobalDeleteAtom(static_cast<ATOM>(atom));
    return n != 0 ? std::string(name, n) : "(bad atom)";
}

wd::Status Runtime::close()
{
    if (wd::Status s = wd::post_close(main); !s) return s;
    wd::MessageBoxInfo box;
    if (wd::Status s = program.wait_message_box(kWaitMs, &box); !s) return s;
    if (box.caption != "ZEL_SYSTEM.CMD" || box.text != "Closing Command File OK") {
        wd::dismiss(box);
        return wd::Status::failure("closing showed [" + box.caption + "] \"" + box.text + "\"");
    }
    if (wd::Status s = wd::dismiss(box); !s) return s;
    DWORD code = 0;
    if (wd::Status s = program.wait_exit(kWaitMs, &code); !s) return s;
    if (code != 0) return wd::Status::failure("Vornline ended with exit code " + std::to_string(code));
    return wd::Status::success();
}

}  // namespace e2e
