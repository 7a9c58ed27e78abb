// Plandesk runs, dialogs, choosers and the open-file dialog, worked from outside.
#include "voice_dialog_driver.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>

#include "record_file.h"
#include "text_number.h"

namespace vdd {

namespace {

// Remote memory for one message that carries a pointer.
class RemoteBlock {
public:
    RemoteBlock(HWND target, std::size_t size) : size_(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(target, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
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

}  // namespace

wd::Status Plandesk::start()
{
    if (wd::Status s = program.start(PLANDESK_EXE); !s) return s;
    return program.wait_window({.caption = kMainCaption}, wd::kDefaultTimeoutMs, &main);
}

wd::Status Plandesk::put_record(const zel::ConfigRecord& rec)
{
    return program.put_file("zel_system.cfg", zel::to_disk(rec));
}

wd::Status Plandesk::record(zel::ConfigRecord* out) const
{
    *out = zel::ConfigRecord{};
    const std::string bytes = disk_bytes();
    if (bytes.empty()) return wd::Status::failure("zel_system.cfg is missing or empty");
    if (zel::from_disk(bytes, *out) != zel::kRecordSize)
        return wd::Status::failure("zel_system.cfg is short: " + std::to_string(bytes.size()) + " bytes on disk");
    return wd::Status::success();
}

wd::Status Plandesk::open_dialog(int command, const std::string& caption, HWND* dialog) const
{
    if (wd::Status s = wd::post_command(main, command); !s) return s;
    return program.wait_window({.cls = "#32770", .caption = caption}, wd::kDefaultTimeoutMs, dialog);
}

wd::Status Plandesk::wait_box(wd::MessageBoxInfo* box, DWORD timeout_ms) const
{
    return program.wait_message_box(timeout_ms, box);
}

wd::Status Plandesk::expect_exit(DWORD code, DWORD timeout_ms)
{
    DWORD got = 0;
    if (wd::Status s = program.wait_exit(timeout_ms, &got); !s) return s;
    if (got != code)
        return wd::Status::failure("exit code " + std::to_string(got) + ", expected " + std::to_string(code));
    return wd::Status::success();
}

POINT button_part_point(HWND chooser)
{
    const RECT r = wd::client_rect(chooser);
    // Five pixels in from the right edge: inside the button part whatever the width.
    return POINT{r.right - 5, (r.top + r.bottom) / 2};
}

wd::Status press_chooser(HWND chooser)
{
    if (chooser == nullptr) return wd::Status::failure("no chooser control");
    const POINT at = button_part_point(chooser);
    return wd::click_at(chooser, at.x, at.y);
}

wd::Status choose_in_file_dialog(HWND file_dialog, const std::string& name)
{
    HWND box = wd::file_name_box(file_dialog);
    if (box == nullptr) return wd::Status::failure("the open-file dialog has no file name box");
    if (wd::Status s = wd::set_text(box, name); !s) return s;
    if (wd::Status s = wd::click(GetDlgItem(file_dialog, IDOK)); !s) return s;
    return wd::wait_window_gone(file_dialog, 10000);
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
    wd::Status s = wd::wait_until(there, 10000, "the open-file dialog to show " + folder);
    if (!s) s.message = "it shows \"" + shown + "\"; " + s.message;
    return s;
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

wd::Status cancel_file_dialog(HWND file_dialog)
{
    if (wd::Status s = wd::click(GetDlgItem(file_dialog, IDCANCEL)); !s) return s;
    return wd::wait_window_gone(file_dialog, 10000);
}

wd::Status expect_no_file_dialog(DWORD pid, DWORD period_ms)
{
    const ULONGLONG until = GetTickCount64() + period_ms;
    while (GetTickCount64() < until) {
        if (wd::find_file_dialog(pid) != nullptr)
            return wd::Status::failure("an open-file dialog showed; " + wd::describe_screen());
        Sleep(50);
    }
    return wd::Status::success();
}

wd::Status wait_text(HWND control, const std::string& expected, DWORD timeout_ms)
{
    std::string last;
    wd::Status s = wd::wait_until([&] { return (last = wd::text(control)) == expected; }, timeout_ms,
                                  "text \"" + expected + "\"");
    if (!s) s.message = "last text \"" + last + "\"; " + s.message;
    return s;
}

wd::Status picker_time_text(HWND picker, std::string* out)
{
    SYSTEMTIME st{};
    DWORD gdt = 0;
    if (wd::Status s = wd::get_datetime(picker, &st, &gdt); !s) return s;
    if (gdt != GDT_VALID) return wd::Status::failure("the picker holds no time");
    *out = zel::format_time(zel::TimeOfDay{st.wHour, st.wMinute, st.wSecond});
    return wd::Status::success();
}

wd::Status set_picker_time(HWND picker, int hour, int minute, int second)
{
    SYSTEMTIME st{};
    st.wYear = 2009;
    st.wMonth = 8;
    st.wDay = 5;
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    return wd::set_datetime(picker, &st);
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

}  // namespace vdd
