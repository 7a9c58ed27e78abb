// Driving Plandesk for the call route and holiday dialog tests.
#include "route_holiday_fixture.h"

#include <commctrl.h>

#include "record_file.h"

#ifndef PLANDESK_EXE
#error "PLANDESK_EXE must name the Plandesk program under test"
#endif

namespace rh {

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kWaitMs = 15000;

}  // namespace

wd::Status PlandeskRun::start(const std::optional<zel::ConfigRecord>& record)
{
    if (record) {
        if (wd::Status s = program.put_file("zel_system.cfg", zel::to_disk(*record)); !s) return s;
    }
    if (wd::Status s = program.start(PLANDESK_EXE); !s) return s;
    if (wd::Status s = program.wait_window({.cls = "ZfFrame"}, kStartTimeoutMs, &main); !s) return s;
    const DWORD pid = program.pid();
    // The splash eats the first click anywhere in the tool.
    if (wd::Status s = wd::wait_until([&] { return wd::find_window({.cls = "PlandeskSplash", .pid = pid}) == nullptr; },
                                      kWaitMs, "the splash to go");
        !s)
        return s;
    return wd::wait_until([&] { return program.file_exists("zel_system.cfg"); }, kWaitMs, "zel_system.cfg to exist");
}

wd::Status PlandeskRun::open_dialog(int command, const std::string& caption, HWND* dialog) const
{
    if (wd::Status s = wd::post_command(main, command); !s) return s;
    return program.wait_window({.cls = "#32770", .caption = caption}, kWaitMs, dialog);
}

wd::Status PlandeskRun::load(zel::ConfigRecord* out) const
{
    std::size_t got = 0;
    const zel::ReadStatus r = zel::load_record(program.path("zel_system.cfg").c_str(), *out, &got);
    if (r != zel::ReadStatus::ok) {
        return wd::Status::failure("zel_system.cfg could not be read whole (" + std::to_string(got) + " bytes)");
    }
    return wd::Status::success();
}

wd::Status PlandeskRun::expect_dialog_closed(HWND dialog) const
{
    if (wd::Status s = wd::wait_window_gone(dialog, kWaitMs); !s) return s;
    if (!program.running()) return wd::Status::failure("the tool ended, but it should keep running");
    return wd::Status::success();
}

wd::Status PlandeskRun::expect_exit_zero()
{
    DWORD code = 0;
    if (wd::Status s = program.wait_exit(kWaitMs, &code); !s) return s;
    if (code != 0) return wd::Status::failure("the tool ended with exit code " + std::to_string(code));
    return wd::Status::success();
}

wd::Status PlandeskRun::expect_box(const std::string& text, const std::string& caption) const
{
    return program.expect_message_box(text, caption, kWaitMs);
}

std::string make_voice_file(PlandeskRun& run, const std::string& folder_name, const std::string& name)
{
    CreateDirectoryA(run.program.path(folder_name).c_str(), nullptr);
    const std::string relative = folder_name + "\\" + name;
    if (!run.program.put_file(relative, std::string(64, '\x08'))) return {};
    return run.program.path(relative);
}

wd::Status press_chooser(HWND dialog, int id)
{
    HWND button = wd::child(dialog, id);
    if (button == nullptr) return wd::Status::failure("no chooser " + std::to_string(id));
    const RECT r = wd::client_rect(button);
    // The button part is the right 27 pixels, or all of a control no wider than that.
    const int x = r.right > 27 ? r.right - 13 : r.right / 2;
    return wd::click_at(button, x, r.bottom / 2);
}

wd::Status choose_in_file_dialog(DWORD pid, const std::string& path)
{
    HWND dialog = nullptr;
    if (wd::Status s = wd::wait_file_dialog(pid, &dialog, kWaitMs); !s) return s;
    if (wd::Status s = wd::set_text(wd::file_name_box(dialog), path); !s) return s;
    if (wd::Status s = wd::click(wd::child(dialog, IDOK)); !s) return s;
    return wd::wait_window_gone(dialog, kWaitMs);
}

wd::Status cancel_file_dialog(DWORD pid)
{
    HWND dialog = nullptr;
    if (wd::Status s = wd::wait_file_dialog(pid, &dialog, kWaitMs); !s) return s;
    if (wd::Status s = wd::click(wd::child(dialog, IDCANCEL)); !s) return s;
    return wd::wait_window_gone(dialog, kWaitMs);
}

wd::Status picker_time(HWND picker, zel::TimeOfDay* out)
{
    SYSTEMTIME st{};
    DWORD gdt = 0;
    if (wd::Status s = wd::get_datetime(picker, &st, &gdt); !s) return s;
    if (gdt != GDT_VALID) return wd::Status::failure("the time picker holds no time");
    *out = {st.wHour, st.wMinute, st.wSecond};
    return wd::Status::success();
}

wd::Status picker_date(HWND picker, std::optional<zel::Date>* out)
{
    SYSTEMTIME st{};
    DWORD gdt = 0;
    if (wd::Status s = wd::get_datetime(picker, &st, &gdt); !s) return s;
    *out = gdt == GDT_VALID ? std::optional<zel::Date>(zel::Date{st.wMonth, st.wDay, st.wYear}) : std::nullopt;
    return wd::Status::success();
}

wd::Status set_picker_date(HWND picker, const std::optional<zel::Date>& date)
{
    if (!date) return wd::set_datetime(picker, nullptr);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date->year);
    st.wMonth = static_cast<WORD>(date->month);
    st.wDay = static_cast<WORD>(date->day);
    st.wHour = 12;
    return wd::set_datetime(picker, &st);
}

int local_seconds()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
}

}  // namespace rh
