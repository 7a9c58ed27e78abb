// Plandesk runs, its dialogs, the voice file chooser and the open-file dialog, worked from
// outside.
#include "plandesk_driver.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>

#include "record_file.h"

#ifndef PLANDESK_EXE
#error "PLANDESK_EXE must name the Plandesk program under test"
#endif

namespace pd {

namespace {

// Remote memory for one message that carries a pointer.
class RemoteBlock {
public:
    RemoteBlock(HWND target, std::size_t size) : size_(size)
    {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, wd::window_pid(target));
        if (process_ != nullptr)
            at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return at_ != nullptr; }
    LPARAM address() const { return reinterpret_cast<LPARAM>(at_); }
    bool write(std::size_t offset, const void* data, std::size_t n) const
    {
        return offset + n <= size_ && WriteProcessMemory(process_, static_cast<char*>(at_) + offset, data, n, nullptr);
    }
    bool read(std::size_t offset, void* data, std::size_t n) const
    {
        return offset + n <= size_ && ReadProcessMemory(process_, static_cast<char*>(at_) + offset, data, n, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
    std::size_t size_;
};

// Dismisses every box of `pid` that is up, noting each as "caption: text".
void collect_boxes(DWORD pid, std::vector<std::string>* boxes)
{
    for (const wd::MessageBoxInfo& box : wd::message_boxes(pid)) {
        boxes->push_back(box.caption + ": " + box.text);
        wd::dismiss(box);
    }
}

}  // namespace

std::string plandesk_exe() { return wd::windows_path(PLANDESK_EXE); }

// ---- the run ---------------------------------------------------------------------------

wd::Status Plandesk::install()
{
    if (wd::Status s = program.copy_in(plandesk_exe(), "Plandesk.exe"); !s) return s;
    exe_ = program.path("Plandesk.exe");
    return wd::Status::success();
}

wd::Status Plandesk::put_record(const zel::ConfigRecord& rec) { return put_file_bytes(zel::to_disk(rec)); }

wd::Status Plandesk::record(zel::ConfigRecord* out) const
{
    std::size_t got = 0;
    if (zel::load_record(program.path(kWorkingFile).c_str(), *out, &got) != zel::ReadStatus::ok)
        return wd::Status::failure(std::string(kWorkingFile) + " could not be read whole (" + std::to_string(got) +
                                   " bytes)");
    return wd::Status::success();
}

wd::Status Plandesk::launch()
{
    main = nullptr;
    started_at = GetTickCount64();
    return program.start(exe_.empty() ? plandesk_exe() : exe_);
}

wd::Status Plandesk::wait_main(DWORD timeout_ms)
{
    return program.wait_window({.cls = kFrameClass, .caption = kMainCaption}, timeout_ms, &main);
}

wd::Status Plandesk::start_shown()
{
    if (wd::Status s = launch(); !s) return s;
    return wait_main();
}

wd::Status Plandesk::start()
{
    if (wd::Status s = start_shown(); !s) return s;
    if (wd::Status s = wait_splash_gone(); !s) return s;
    return wd::wait_until([&] { return has_file(); }, kWaitMs, std::string(kWorkingFile) + " to exist");
}

wd::Status Plandesk::restart()
{
    if (program.running()) return wd::Status::failure("Plandesk still runs; it should have ended by itself");
    program.end();  // releases the ended process
    return start();
}

wd::Status Plandesk::wait_splash_gone() const
{
    const DWORD pid = program.pid();
    return wd::wait_until([&] { return wd::find_window({.cls = kSplashClass, .pid = pid}) == nullptr; }, kWaitMs,
                          "the splash to go");
}

wd::Status Plandesk::quit()
{
    if (wd::Status s = wd::post_command(main, kExitCommand); !s) return s;
    return expect_exit(0);
}

wd::Status Plandesk::expect_exit(DWORD code)
{
    DWORD got = 0;
    if (wd::Status s = program.wait_exit(kWaitMs, &got); !s) return s;
    if (got != code)
        return wd::Status::failure("Plandesk ended with exit code " + std::to_string(got) + ", expected " +
                                   std::to_string(code));
    return wd::Status::success();
}

// ---- dialogs and boxes ------------------------------------------------------------------

wd::Status Plandesk::open_dialog(const Dialog& d, HWND* dialog) const
{
    if (wd::Status s = wd::post_command(main, d.command); !s) return s;
    return program.wait_window({.cls = "#32770", .caption = d.caption}, kWaitMs, dialog);
}

wd::Status Plandesk::open_dialog(const Dialog& d, HWND* dialog, std::vector<std::string>* boxes) const
{
    if (wd::Status s = wd::post_command(main, d.command); !s) return s;
    const DWORD pid = program.pid();
    return wd::wait_until(
        [&] {
            collect_boxes(pid, boxes);
            *dialog = wd::find_window({.cls = "#32770", .caption = d.caption, .pid = pid});
            return *dialog != nullptr;
        },
        kWaitMs, std::string("the dialog ") + d.caption);
}

wd::Status Plandesk::press_and_close(HWND dialog, int button, std::vector<std::string>* boxes) const
{
    if (wd::Status s = wd::click(wd::child(dialog, button)); !s) return s;
    const DWORD pid = program.pid();
    return wd::wait_until(
        [&] {
            collect_boxes(pid, boxes);
            return !IsWindow(dialog);
        },
        kWaitMs, "the dialog to close");
}

wd::Status Plandesk::expect_dialog_closed(HWND dialog) const
{
    if (wd::Status s = wd::wait_window_gone(dialog, kWaitMs); !s) return s;
    if (!program.running()) return wd::Status::failure("the tool ended, but it should keep running");
    return wd::Status::success();
}

wd::Status Plandesk::wait_box(wd::MessageBoxInfo* box, DWORD timeout_ms) const
{
    return program.wait_message_box(timeout_ms, box);
}

wd::Status Plandesk::expect_box(const std::string& text, const std::string& caption) const
{
    return program.expect_message_box(text, caption, kWaitMs);
}

// ---- the chooser and the open-file dialog ------------------------------------------------

wd::Status Plandesk::choose_voice(HWND dialog, int chooser, int display, const std::string& path) const
{
    if (wd::Status s = press_chooser(dialog, chooser); !s) return s;
    if (wd::Status s = choose_file(path); !s) return s;
    return wait_text(wd::child(dialog, display), path);
}

wd::Status Plandesk::choose_file(const std::string& path) const
{
    HWND files = nullptr;
    if (wd::Status s = file_dialog(&files); !s) return s;
    return choose_in_file_dialog(files, path);
}

wd::Status Plandesk::cancel_file() const
{
    HWND files = nullptr;
    if (wd::Status s = file_dialog(&files); !s) return s;
    return cancel_file_dialog(files);
}

std::string Plandesk::put_voice(const std::string& name, const std::string& sub)
{
    std::string relative = name;
    if (!sub.empty()) {
        CreateDirectoryA(program.path(sub).c_str(), nullptr);
        relative = sub + "\\" + name;
    }
    if (!program.put_file(relative, std::string(64, '\x08'))) return {};
    return program.path(relative);
}

POINT button_part_point(HWND chooser)
{
    const RECT r = wd::client_rect(chooser);
    return POINT{r.right > 27 ? r.right - 13 : r.right / 2, (r.top + r.bottom) / 2};
}

wd::Status press_chooser(HWND chooser)
{
    if (chooser == nullptr) return wd::Status::failure("no chooser control");
    const POINT at = button_part_point(chooser);
    return wd::click_at(chooser, at.x, at.y);
}

wd::Status press_chooser(HWND dialog, int id)
{
    HWND chooser = wd::child(dialog, id);
    if (chooser == nullptr) return wd::Status::failure("no chooser " + std::to_string(id));
    return press_chooser(chooser);
}

wd::Status choose_in_file_dialog(HWND file_dialog, const std::string& name)
{
    HWND box = wd::file_name_box(file_dialog);
    if (box == nullptr) return wd::Status::failure("the open-file dialog has no file name box");
    if (wd::Status s = wd::set_text(box, name); !s) return s;
    if (wd::Status s = wd::click(GetDlgItem(file_dialog, IDOK)); !s) return s;
    return wd::wait_window_gone(file_dialog, kWaitMs);
}

wd::Status cancel_file_dialog(HWND file_dialog)
{
    if (wd::Status s = wd::click(GetDlgItem(file_dialog, IDCANCEL)); !s) return s;
    return wd::wait_window_gone(file_dialog, kWaitMs);
}

wd::Status open_folder_in_file_dialog(HWND file_dialog, const std::string& folder)
{
    HWND box = wd::file_name_box(file_dialog);
    if (box == nullptr) return wd::Status::failure("the open-file dialog has no file name box");
    if (wd::Status s = wd::set_text(box, folder); !s) return s;
    if (wd::Status s = wd::click(GetDlgItem(file_dialog, IDOK)); !s) return s;
    RemoteBlock block(file_dialog, MAX_PATH * 2);
    if (!block.ok()) return wd::Status::failure("no memory in the dialog's process");
    std::string shown;
    auto there = [&] {
        char path[MAX_PATH * 2] = {};
        if (!block.write(0, path, sizeof path)) return false;
        DWORD_PTR n = 0;
        if (!SendMessageTimeoutA(file_dialog, CDM_GETFOLDERPATH, sizeof path, block.address(), SMTO_ABORTIFHUNG,
                                 2000, &n))
            return false;
        if (!block.read(0, path, sizeof path)) return false;
        path[sizeof path - 1] = '\0';
        shown = path;
        return lstrcmpiA(path, folder.c_str()) == 0;
    };
    wd::Status s = wd::wait_until(there, kWaitMs, "the open-file dialog to show " + folder);
    if (!s) s.message = "it shows \"" + shown + "\"; " + s.message;
    return s;
}

wd::Status drain_posted(HWND edit, DWORD timeout_ms)
{
    // The edit's modified flag is the marker: cleared by a sent message (handled at once),
    // set by a posted one (handled after everything posted before it).
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(edit, EM_SETMODIFY, FALSE, 0, SMTO_NORMAL, timeout_ms, &ignored))
        return wd::Status::failure("the edit box does not answer; " + wd::describe_screen());
    if (!PostMessageA(edit, EM_SETMODIFY, TRUE, 0)) return wd::Status::failure("cannot post to the edit box");
    return wd::wait_until(
        [&] {
            DWORD_PTR modified = 0;
            return SendMessageTimeoutA(edit, EM_GETMODIFY, 0, 0, SMTO_NORMAL, 2000, &modified) && modified != 0;
        },
        timeout_ms, "the posted marker to be handled");
}

wd::Status expect_no_file_dialog(HWND edit)
{
    if (wd::Status s = drain_posted(edit); !s) return s;
    for (const wd::WindowInfo& w : wd::top_windows(wd::window_pid(edit))) {
        if (w.cls == "#32770" && wd::file_name_box(w.hwnd) != nullptr)
            return wd::Status::failure("an open-file dialog is there; " + wd::describe_screen());
    }
    return wd::Status::success();
}

// ---- controls -------------------------------------------------------------------------------

wd::Status wait_text(HWND control, const std::string& expected, DWORD timeout_ms)
{
    std::string last;
    wd::Status s = wd::wait_until([&] { return (last = wd::text(control)) == expected; }, timeout_ms,
                                  "text \"" + expected + "\"");
    if (!s) s.message = "last text \"" + last + "\"; " + s.message;
    return s;
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

wd::Status picker_time(HWND picker, zel::TimeOfDay* out)
{
    SYSTEMTIME st{};
    DWORD gdt = 0;
    if (wd::Status s = wd::get_datetime(picker, &st, &gdt); !s) return s;
    if (gdt != GDT_VALID) return wd::Status::failure("the time picker holds no time");
    *out = {st.wHour, st.wMinute, st.wSecond};
    return wd::Status::success();
}

wd::Status set_picker_time(HWND picker, const zel::TimeOfDay& t)
{
    // The date part the dialogs give their time pickers.
    SYSTEMTIME st{};
    st.wYear = 2009;
    st.wMonth = 8;
    st.wDay = 5;
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return wd::set_datetime(picker, &st);
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

bool tooltip_tool(HWND tooltip, UINT id, HWND* owner, RECT* rect, std::string* text)
{
    // One block in the tooltip's process: the tool description, then room for its text.
    constexpr std::size_t kTextSize = 256;
    RemoteBlock block(tooltip, sizeof(TOOLINFOA) + kTextSize);
    if (!block.ok()) return false;
    const std::size_t text_offset = sizeof(TOOLINFOA);
    const LRESULT count = SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        if (!block.write(0, &info, sizeof info)) return false;
        if (!SendMessageA(tooltip, TTM_ENUMTOOLSA, static_cast<WPARAM>(i), block.address())) continue;
        if (!block.read(0, &info, sizeof info) || info.uId != id) continue;
        *owner = info.hwnd;
        *rect = info.rect;
        char got[kTextSize] = {};
        info.lpszText = reinterpret_cast<char*>(block.address() + static_cast<LPARAM>(text_offset));
        if (!block.write(0, &info, sizeof info) || !block.write(text_offset, got, sizeof got)) return false;
        SendMessageA(tooltip, TTM_GETTEXTA, kTextSize, block.address());
        if (!block.read(text_offset, got, sizeof got)) return false;
        got[kTextSize - 1] = '\0';
        *text = got;
        return true;
    }
    return false;
}

ShortFolder::ShortFolder()
{
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "C:\\zv%lu_%d", static_cast<unsigned long>(GetCurrentProcessId()), attempt);
        if (CreateDirectoryA(name, nullptr)) path_ = name;
    }
}

ShortFolder::~ShortFolder()
{
    if (path_.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") DeleteFileA((path_ + "\\" + name).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string ShortFolder::put(const std::string& name)
{
    if (path_.empty()) return {};
    const std::string full = path_ + "\\" + name;
    std::FILE* f = std::fopen(full.c_str(), "wb");
    if (f == nullptr) return {};
    std::fputs("vox", f);
    std::fclose(f);
    return full;
}

}  // namespace pd
