// Plandesk's responsiveness under Wine, measured from outside as the operator meets it:
// from the menu command to each of the five dialogs fully loaded on a full record, and
// from a start in a folder without a working file to the main window shown (the splash,
// which only lies over the window, is not waited for). Also the tool's memory with the
// holiday dialog open, and that of an empty Win32 program as Wine's own floor.
//
// "Fully loaded": the dialog is visible, its last-filled control shows the record's value,
// and neither the dialog nor any of its controls waits to be painted.
//
//   tool_response_bench [--runs N]     result rows for tools/bench.sh
//   tool_response_bench --smoke        every dialog and the start once; no timing judged
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench_report.h"
#include "bench_stats.h"
#include "full_record.h"
#include "plandesk_driver.h"
#include "record_file.h"
#include "win_probe.h"
#include "window_driver.h"

#ifndef IDLE_WINDOW_EXE
#error "IDLE_WINDOW_EXE names the empty Win32 program"
#endif

namespace {

using zelbench::kHolidays;
using zelbench::kRoutes;
using zelbench::kSpecialDays;

constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kDialogTimeoutMs = 20000;
constexpr double kCheckMs = 4;

std::string control_text(HWND dialog, int id)
{
    HWND c = GetDlgItem(dialog, id);
    return c != nullptr ? wd::text(c) : std::string("<no control " + std::to_string(id) + ">");
}

LRESULT send(HWND dialog, int id, UINT msg)
{
    DWORD_PTR result = 0;
    HWND c = GetDlgItem(dialog, id);
    if (c == nullptr || !SendMessageTimeoutA(c, msg, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) return -2;
    return static_cast<LRESULT>(result);
}

struct DialogCase {
    const char* name;
    int command;
    const char* caption;
    // The controls the dialog fills last hold the record's values.
    std::function<bool(HWND, const zel::ConfigRecord&, std::string*)> loaded;
};

bool expect_text(HWND dialog, int id, const std::string& wanted, std::string* seen)
{
    const std::string got = control_text(dialog, id);
    if (got == wanted) return true;
    *seen = "control " + std::to_string(id) + " shows \"" + got + "\", not \"" + wanted + "\"";
    return false;
}

std::vector<DialogCase> dialog_cases()
{
    using zel::Field;
    return {
        {"general configuration", 130, "General System Configuration",
         [](HWND d, const zel::ConfigRecord& r, std::string* seen) {
             if (!expect_text(d, 1008, zel::get_field(r, Field::ext_transfer_delay), seen)) return false;
             const LRESULT sel = send(d, 1012, CB_GETCURSEL);
             if (sel == zel::field_number(r, Field::vox_type_index)) return true;
             *seen = "voice file type selection " + std::to_string(sel);
             return false;
         }},
        {"weekly operation", 133, "Greetings and Weekly Operation Hour Configuration",
         [](HWND d, const zel::ConfigRecord& r, std::string* seen) {
             // Day 7: closed box 1022, opening 1035, closing 1036.
             return expect_text(d, 1000, zel::get_field(r, Field::open_greeting_vox), seen) &&
                    expect_text(d, 1036, zel::get_field(r, Field::day_close_time, 6), seen) &&
                    expect_text(d, 1035, zel::get_field(r, Field::day_open_time, 6), seen);
         }},
        {"call route (130 controls)", 134, "Call Route Configuration",
         [](HWND d, const zel::ConfigRecord& r, std::string* seen) {
             // Row 16: extension 1059, voice 1075, alternate 1109; the voices are shown last.
             return expect_text(d, 1059, zel::get_field(r, Field::route_ext, kRoutes - 1), seen) &&
                    expect_text(d, 1109, zel::get_field(r, Field::route_alt_number, kRoutes - 1), seen) &&
                    expect_text(d, 1075, zel::get_field(r, Field::route_vox, kRoutes - 1), seen);
         }},
        {"holiday schedules (116 pickers)", 135, "Holiday Schedules",
         [](HWND d, const zel::ConfigRecord& r, std::string* seen) {
             // The holidays are shown before the special-hours days.
             return expect_text(d, 1188 + kHolidays - 1, zel::get_field(r, Field::holiday_date, kHolidays - 1), seen) &&
                    expect_text(d, 1132 + kSpecialDays - 1,
                                zel::get_field(r, Field::special_date, kSpecialDays - 1), seen);
         }},
        {"validation report", 136, "Validate and Set Configuration For Use",
         [](HWND d, const zel::ConfigRecord&, std::string* seen) {
             // A fresh showing: an empty report and nothing to export yet.
             HWND set_for_use = GetDlgItem(d, 1015);
             if (set_for_use == nullptr || IsWindowEnabled(set_for_use)) {
                 *seen = "Set Configuration For Use is not there or not disabled";
                 return false;
             }
             return expect_text(d, 1000, "", seen);
         }},
    };
}

HWND find_dialog(DWORD pid, const char* caption)
{
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "#32770", caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// The tool's user-interface thread has handled everything sent before this returns.
bool settle(HWND main)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r) != 0;
}

// Plandesk started through the driver, its main window caught by the bench's own tight poll.
struct Tool : pd::Plandesk {
    wd::Status start(const zel::ConfigRecord* record)
    {
        if (record != nullptr) {
            if (wd::Status s = put_record(*record); !s) return s;
        }
        if (wd::Status s = launch(); !s) return s;
        const DWORD pid = program.pid();
        return zelbench::poll_until(
            [&] { return (main = wd::find_window({.cls = pd::kFrameClass, .pid = pid})) != nullptr; },
            kStartTimeoutMs, "Plandesk's main window");
    }
};

// When each stage of an opening was first seen, in ms from the command.
struct Opening {
    double shown = 0;    // the dialog is visible: its initialisation has returned
    double filled = 0;   // its controls show the record
    double painted = 0;  // nothing waits to be painted: fully loaded
};

// Opens one dialog and times it; leaves it open in *dialog.
wd::Status open_and_time(Tool& tool, const DialogCase& c, const zel::ConfigRecord& rec, Opening* t, HWND* dialog)
{
    if (!settle(tool.main)) return wd::Status::failure("the tool does not answer");
    const DWORD pid = tool.program.pid();
    std::string seen = "the dialog is not shown";
    *t = {};
    double last_check = -kCheckMs;
    zelbench::Stopwatch watch;
    if (wd::Status s = wd::post_command(tool.main, c.command); !s) return s;
    wd::Status s = zelbench::poll_until(
        [&] {
            *dialog = find_dialog(pid, c.caption);
            if (*dialog == nullptr) return false;
            const double now = watch.elapsed_ms();
            if (t->shown == 0) t->shown = now;
            // Each look asks the tool for a control's text and the server about every
            // control: at most one every few milliseconds, so that looking does not slow
            // the loading and painting it waits for.
            if (now - last_check < kCheckMs) return false;
            last_check = now;
            if (!c.loaded(*dialog, rec, &seen)) return false;
            if (t->filled == 0) t->filled = now;
            seen = "the dialog or a control still waits to be painted";
            return zelbench::fully_painted(*dialog);
        },
        kDialogTimeoutMs, std::string("\"") + c.caption + "\" fully loaded");
    t->painted = watch.elapsed_ms();
    if (!s) s.message = seen + "; " + s.message;
    return s;
}

wd::Status close_dialog(HWND dialog)
{
    if (!PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0))
        return wd::Status::failure("cannot post Cancel");
    return wd::wait_window_gone(dialog, kDialogTimeoutMs);
}

int fail(const char* step, const wd::Status& s)
{
    std::fprintf(stderr, "%s: %s\n", step, s.message.c_str());
    return 1;
}

// An empty window program's working set: what Wine itself costs any program.
bool wine_floor(zelbench::MemoryFigures* out)
{
    wd::Program idle;
    if (!idle.start(IDLE_WINDOW_EXE)) return false;
    HWND w = nullptr;
    if (!idle.wait_window({.cls = "ZelBenchIdle"}, kStartTimeoutMs, &w)) return false;
    settle(w);
    Sleep(500);  // let start-up's transient pages settle before the figure is read
    *out = zelbench::process_memory(idle.process());
    wd::post_close(w);
    idle.wait_exit(kStartTimeoutMs);
    return out->ok;
}

// Wine's own price for a dialog: the tool's own template, made, shown and painted by this
// program with a dialog procedure that does nothing, so that none of the tool's code runs.
// What the tool takes beyond this is ours: its initialisation, its record, and the hop
// between processes.
INT_PTR CALLBACK bare_dialog(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// The time from nothing to the bare dialog fully painted; -1 when it could not be made.
double template_floor(HMODULE resources, int template_id)
{
    zelbench::Stopwatch watch;
    HWND d = CreateDialogParamA(resources, MAKEINTRESOURCEA(template_id), nullptr, bare_dialog, 0);
    if (d == nullptr) return -1;
    ShowWindow(d, SW_SHOWNOACTIVATE);
    RedrawWindow(d, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double ms = watch.elapsed_ms();
    DestroyWindow(d);
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    int runs = 10;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--smoke] [--runs N]\n", argv[0]);
            return 2;
        }
    }
    if (smoke) runs = 1;
    if (runs < 1) runs = 1;

    // ---- start in a folder without a working file ----
    std::vector<double> starts;
    for (int r = 0; r < runs; ++r) {
        Tool tool;
        zelbench::Stopwatch watch;
        if (wd::Status s = tool.start(nullptr); !s) return fail("start", s);
        starts.push_back(watch.elapsed_ms());
        if (wd::Status s = tool.wait_splash_gone(); !s) return fail("splash", s);
        if (!tool.program.file_exists("zel_system.cfg")) {
            std::fprintf(stderr, "the tool did not create its working file\n");
            return 1;
        }
        if (wd::Status s = tool.quit(); !s) return fail("exit", s);
    }
    std::printf("start to main window shown, ms:");
    for (double t : starts) std::printf(" %.1f", t);
    std::printf("\n");

    // ---- the five dialogs on a full record ----
    const zel::ConfigRecord rec = zelbench::full_record();
    Tool tool;
    if (wd::Status s = tool.start(&rec); !s) return fail("start with a full record", s);
    if (wd::Status s = tool.wait_splash_gone(); !s) return fail("splash", s);
    const zelbench::MemoryFigures idle_tool = zelbench::process_memory(tool.program.process());

    struct Timings {
        double first = 0;
        std::vector<double> later;
    };
    const std::vector<DialogCase> cases = dialog_cases();
    std::vector<Timings> timings(cases.size());

    zelbench::MemoryFigures with_holidays;
    // Round-robin, so that a slow spell of the machine spreads over all five.
    for (int r = 0; r < runs + 1 && !(smoke && r > 0); ++r) {
        for (std::size_t k = 0; k < cases.size(); ++k) {
            Opening t;
            HWND dialog = nullptr;
            if (wd::Status s = open_and_time(tool, cases[k], rec, &t, &dialog); !s) return fail(cases[k].name, s);
            std::printf("%-32s shown %6.1f  filled %6.1f  painted %6.1f ms\n", cases[k].name, t.shown, t.filled,
                        t.painted);
            const double ms = t.painted;
            if (r == 0) {
                timings[k].first = ms;
            } else {
                timings[k].later.push_back(ms);
            }
            if (cases[k].command == 135) {
                const zelbench::MemoryFigures m = zelbench::process_memory(tool.program.process());
                if (m.ok && m.working_set > with_holidays.working_set) with_holidays = m;
            }
            if (wd::Status s = close_dialog(dialog); !s) return fail(cases[k].name, s);
        }
    }
    if (wd::Status s = tool.quit(); !s) return fail("exit", s);

    zelbench::MemoryFigures floor;
    const bool have_floor = wine_floor(&floor);
    // Each dialog's template alone, in this process.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HMODULE resources = LoadLibraryExA(pd::plandesk_exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::vector<std::vector<double>> floors(cases.size());
    for (int r = 0; r < runs && resources != nullptr; ++r) {
        for (std::size_t k = 0; k < cases.size(); ++k) floors[k].push_back(template_floor(resources, cases[k].command));
    }
    if (resources != nullptr) FreeLibrary(resources);

    if (smoke) {
        std::printf("smoke: the start and all five dialogs loaded; memory read: %s\n",
                    with_holidays.ok ? "yes" : "no");
        return with_holidays.ok ? 0 : 1;
    }

    using namespace zelbench;
    const std::string n = "median of " + std::to_string(runs);
    print_row("Plandesk", "start, no working file, to main window shown (" + n + ")", fixed(median(starts), 1) + " ms");
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const double med = median(timings[k].later);
        print_row("Plandesk", std::string(cases[k].name) + ": command to fully loaded (" + n + ")",
                  fixed(med, 1) + " ms (first " + fixed(timings[k].first, 1) + ", max " +
                      fixed(summarize(timings[k].later).max, 1) + ")",
                  "< 300 ms", verdict_below(std::max(med, timings[k].first), 300));
    }
    for (std::size_t k = 0; k < cases.size(); ++k) {
        if (floors[k].empty() || zelbench::percentile(floors[k], 0) < 0) continue;
        print_row("Plandesk", std::string(cases[k].name) + ": its template alone, bare (" + n + ")",
                  fixed(median(floors[k]), 1) + " ms");
    }
    if (idle_tool.ok) print_row("footprint", "Plandesk working set, main window only", mebibytes(idle_tool.working_set));
    if (with_holidays.ok)
        print_row("footprint", "Plandesk working set, holiday dialog open",
                  mebibytes(with_holidays.working_set));
    if (have_floor)
        print_row("footprint", "empty Win32 window program under Wine (floor)",
                  mebibytes(floor.working_set));
    return 0;
}
