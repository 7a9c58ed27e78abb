// Vornline run with the stand-in board, and zelcfg's judgement of a file.
#include "e2e_operator.h"

#include <cstdio>

#include "commands.h"
#include "record_file.h"

#ifndef VORNLINE_EXE
#error "VORNLINE_EXE, BOARD_DXXMT_DLL and BOARD_SRLMT_DLL name the runtime and its board"
#endif

namespace e2e {

namespace {

constexpr DWORD kStartMs = 30000;
constexpr DWORD kWaitMs = 15000;
constexpr int kOpenCommand = 40001;

}  // namespace

std::string zelcfg_check(const std::string& path)
{
    std::string out;
    std::string err;
    if (zelcfg::run({"check", path}, out, err) == 0) return {};
    return "zelcfg check " + path + " failed:\n" + out + err;
}

// ---- Vornline ----------------------------------------------------------------------------

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
        if (wd::Status s = program.copy_in(wd::windows_path(f.from), f.name); !s) return s;
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
