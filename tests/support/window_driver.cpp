// The window driver: starting a program under test and working its windows from
// outside. See window_driver.h for the rules it keeps.
#include "window_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace wd {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kMessageTimeoutMs = 2000;
constexpr int kMessageBoxTextId = 0xFFFF;

ULONGLONG now_ms() { return GetTickCount64(); }

// ZEL_WD_TRACE=1 prints every wait with the time it took, and every start, so that a
// slow test shows where its time goes (docs/testing.md).
bool tracing()
{
    static const bool on = [] {
        char buf[8];
        return GetEnvironmentVariableA("ZEL_WD_TRACE", buf, sizeof buf) > 0 && buf[0] != '0';
    }();
    return on;
}

void trace(ULONGLONG since, const std::string& what)
{
    if (!tracing()) return;
    static const ULONGLONG origin = now_ms();
    std::printf("[wd %7llu ms] %6llu ms  %s\n", static_cast<unsigned long long>(now_ms() - origin),
                static_cast<unsigned long long>(now_ms() - since), what.c_str());
    std::fflush(stdout);
}

std::string hex_handle(HWND h)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", static_cast<void*>(h));
    return buf;
}

std::string last_error_text(const char* what)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s failed (error %lu)", what, static_cast<unsigned long>(GetLastError()));
    return buf;
}

bool iequals(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

BOOL CALLBACK collect_top(HWND hwnd, LPARAM lp)
{
    static_cast<std::vector<HWND>*>(reinterpret_cast<void*>(lp))->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK collect_child(HWND hwnd, LPARAM lp)
{
    static_cast<std::vector<HWND>*>(reinterpret_cast<void*>(lp))->push_back(hwnd);
    return TRUE;
}

bool matches(const WindowInfo& w, const Match& m)
{
    if (m.pid != 0 && w.pid != m.pid) return false;
    if (m.visible_only && !w.visible) return false;
    if (!m.cls.empty() && !iequals(w.cls, m.cls)) return false;
    if (!m.caption.empty()) {
        if (m.caption_contains ? w.caption.find(m.caption) == std::string::npos : w.caption != m.caption)
            return false;
    }
    return true;
}

std::string describe_match(const Match& m)
{
    std::string s = "window";
    if (!m.cls.empty()) s += " class \"" + m.cls + "\"";
    if (!m.caption.empty()) s += (m.caption_contains ? " caption containing \"" : " caption \"") + m.caption + "\"";
    if (m.pid != 0) s += " of pid " + std::to_string(m.pid);
    if (m.visible_only) s += " (visible)";
    return s;
}

std::vector<MenuItem> read_menu(HMENU menu, int depth)
{
    std::vector<MenuItem> items;
    if (!menu || depth > 4) return items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItem item;
        char buf[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = buf;
        info.cch = sizeof buf - 1;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        item.text = buf;
        if (info.hSubMenu) {
            item.popup = true;
            item.items = read_menu(info.hSubMenu, depth + 1);
        } else {
            item.id = info.wID;
        }
        items.push_back(std::move(item));
    }
    return items;
}

bool delete_tree(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                delete_tree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    return RemoveDirectoryA(dir.c_str()) != 0;
}

std::string quote_arg(const std::string& a)
{
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
    // The usual rules: backslashes are literal except before a quote.
    std::string q = "\"";
    std::size_t slashes = 0;
    for (char c : a) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        if (c == '"') {
            q.append(slashes * 2 + 1, '\\');
        } else {
            q.append(slashes, '\\');
        }
        slashes = 0;
        q += c;
    }
    q.append(slashes * 2, '\\');
    q += '"';
    return q;
}

// The current environment with `extra` laid over it, as a CreateProcess block.
std::string environment_block(const Environment& extra)
{
    std::vector<std::string> vars;
    if (char* env = GetEnvironmentStringsA()) {
        for (const char* p = env; *p; p += std::strlen(p) + 1) vars.emplace_back(p);
        FreeEnvironmentStringsA(env);
    }
    for (const auto& [name, value] : extra) {
        std::string prefix = name + "=";
        vars.erase(std::remove_if(vars.begin(), vars.end(),
                                  [&](const std::string& v) {
                                      return v.size() >= prefix.size() && iequals(v.substr(0, prefix.size()), prefix);
                                  }),
                   vars.end());
        vars.push_back(prefix + value);
    }
    std::string block;
    for (const std::string& v : vars) {
        block += v;
        block += '\0';
    }
    block += '\0';
    return block;
}

}  // namespace

Status::operator ::testing::AssertionResult() const
{
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << message;
}

// ---- what is on screen ----------------------------------------------------------

std::vector<WindowInfo> top_windows(DWORD pid)
{
    std::vector<HWND> handles;
    EnumWindows(collect_top, reinterpret_cast<LPARAM>(&handles));
    std::vector<WindowInfo> out;
    for (HWND h : handles) {
        WindowInfo w;
        w.hwnd = h;
        w.tid = GetWindowThreadProcessId(h, &w.pid);
        if (pid != 0 && w.pid != pid) continue;
        w.cls = class_name(h);
        w.caption = caption(h);
        w.visible = IsWindowVisible(h) != 0;
        w.owner = GetWindow(h, GW_OWNER);
        GetWindowRect(h, &w.rect);
        out.push_back(std::move(w));
    }
    return out;
}

std::string describe_screen()
{
    std::string s = "top-level windows on screen:";
    int shown = 0;
    for (const WindowInfo& w : top_windows()) {
        if (!w.visible) continue;
        char line[512];
        std::snprintf(line, sizeof line, "\n  %s class \"%.120s\" caption \"%.200s\" pid %lu at (%ld,%ld)-(%ld,%ld)",
                      hex_handle(w.hwnd).c_str(), w.cls.c_str(), w.caption.c_str(),
                      static_cast<unsigned long>(w.pid), w.rect.left, w.rect.top, w.rect.right, w.rect.bottom);
        s += line;
        // A message box says more through its text than its caption.
        if (HWND t = GetDlgItem(w.hwnd, kMessageBoxTextId); t && w.cls == "#32770")
            s += " text \"" + text(t) + "\"";
        ++shown;
    }
    if (shown == 0) s += " none";
    return s;
}

HWND find_window(const Match& m)
{
    for (const WindowInfo& w : top_windows(m.pid)) {
        if (matches(w, m)) return w.hwnd;
    }
    return nullptr;
}

Status wait_until(const std::function<bool()>& condition, DWORD timeout_ms, const std::string& what)
{
    const ULONGLONG start = now_ms();
    ULONGLONG deadline = start + timeout_ms;
    for (;;) {
        if (condition()) {
            trace(start, what);
            return Status::success();
        }
        if (now_ms() >= deadline) break;
        Sleep(kPollMs);
    }
    return Status::failure("timed out after " + std::to_string(timeout_ms) + " ms waiting for " + what + "; " +
                           describe_screen());
}

Status wait_window(const Match& m, DWORD timeout_ms, HWND* out)
{
    HWND found = nullptr;
    Status s = wait_until([&] { return (found = find_window(m)) != nullptr; }, timeout_ms, describe_match(m));
    if (out) *out = found;
    return s;
}

Status wait_window_gone(HWND hwnd, DWORD timeout_ms)
{
    return wait_until([&] { return !IsWindow(hwnd); }, timeout_ms, "window " + hex_handle(hwnd) + " to go away");
}

// ---- windows and controls ------------------------------------------------------

HWND child(HWND parent, int id)
{
    if (!parent) return nullptr;
    if (HWND h = GetDlgItem(parent, id)) return h;
    for (HWND h : descendants(parent)) {
        if (GetDlgCtrlID(h) == id) return h;
    }
    return nullptr;
}

std::vector<HWND> descendants(HWND parent)
{
    std::vector<HWND> out;
    if (parent) EnumChildWindows(parent, collect_child, reinterpret_cast<LPARAM>(&out));
    return out;
}

std::string class_name(HWND hwnd)
{
    char buf[256] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

HWND file_name_box(HWND dialog)
{
    constexpr int kFileNameCombo = 0x47C;
    constexpr int kFileNameEdit = 0x480;
    HWND c = child(dialog, kFileNameCombo);
    if (c != nullptr && class_name(c).find("ComboBox") != std::string::npos) return c;  // Wine: ComboBoxEx32
    c = child(dialog, kFileNameEdit);
    if (c != nullptr && _stricmp(class_name(c).c_str(), "Edit") == 0) return c;
    return nullptr;
}

HWND find_file_dialog(DWORD pid)
{
    for (const WindowInfo& w : top_windows(pid)) {
        if (w.visible && w.cls == "#32770" && file_name_box(w.hwnd) != nullptr) return w.hwnd;
    }
    return nullptr;
}

Status wait_file_dialog(DWORD pid, HWND* out, DWORD timeout_ms)
{
    HWND found = nullptr;
    Status s = wait_until([&] { return (found = find_file_dialog(pid)) != nullptr; }, timeout_ms, "the open-file dialog");
    if (out != nullptr) *out = found;
    return s;
}

std::string text(HWND hwnd)
{
    if (!hwnd) return {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return caption(hwnd);
    std::string buf(static_cast<std::size_t>(length) + 1, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &got))
        return caption(hwnd);
    buf.resize(std::min<std::size_t>(got, buf.size() - 1));
    return buf;
}

std::string caption(HWND hwnd)
{
    char buf[1024] = {};
    // For another process's window this reads the stored caption without a message.
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

Status set_text(HWND hwnd, const std::string& value)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &result))
        return Status::failure(last_error_text("WM_SETTEXT"));
    return Status::success();
}

RECT window_rect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT client_rect(HWND hwnd)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

DWORD window_pid(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

LONG_PTR window_style(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }

HWND window_owner(HWND hwnd) { return GetWindow(hwnd, GW_OWNER); }

Status post_command(HWND hwnd, int id)
{
    if (!PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0)) return Status::failure(last_error_text("post WM_COMMAND"));
    return Status::success();
}

Status click(HWND button)
{
    if (!button) return Status::failure("click: no such button");
    if (!PostMessageA(button, BM_CLICK, 0, 0)) return Status::failure(last_error_text("post BM_CLICK"));
    return Status::success();
}

Status click_at(HWND hwnd, int x, int y)
{
    LPARAM at = MAKELPARAM(x, y);
    if (!PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at) || !PostMessageA(hwnd, WM_LBUTTONUP, 0, at))
        return Status::failure(last_error_text("post mouse click"));
    return Status::success();
}

Status post_close(HWND hwnd)
{
    if (!PostMessageA(hwnd, WM_CLOSE, 0, 0)) return Status::failure(last_error_text("post WM_CLOSE"));
    return Status::success();
}

// ---- menus ----------------------------------------------------------------------

bool has_menu(HWND hwnd) { return GetMenu(hwnd) != nullptr; }

std::vector<MenuItem> menu_bar(HWND hwnd) { return read_menu(GetMenu(hwnd), 0); }

std::vector<MenuItem> menu_resource(const std::string& module_path, const std::string& name)
{
    std::vector<MenuItem> items;
    HMODULE module = LoadLibraryExA(module_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return items;
    if (HMENU menu = LoadMenuA(module, name.c_str())) {
        items = read_menu(menu, 0);
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    return items;
}

// ---- message boxes --------------------------------------------------------------

std::vector<MessageBoxInfo> message_boxes(DWORD pid)
{
    std::vector<MessageBoxInfo> out;
    for (const WindowInfo& w : top_windows(pid)) {
        if (!w.visible || w.cls != "#32770") continue;
        HWND body = GetDlgItem(w.hwnd, kMessageBoxTextId);
        if (!body) continue;
        MessageBoxInfo box;
        box.hwnd = w.hwnd;
        box.caption = w.caption;
        box.text = text(body);
        box.tid = w.tid;
        box.owner = w.owner;
        box.ex_style = GetWindowLongPtrA(w.hwnd, GWL_EXSTYLE);
        for (HWND c : descendants(w.hwnd)) {
            if (iequals(class_name(c), "Button") && IsWindowVisible(c)) box.buttons.emplace_back(GetDlgCtrlID(c), text(c));
        }
        out.push_back(std::move(box));
    }
    return out;
}

Status wait_message_box(DWORD pid, DWORD timeout_ms, MessageBoxInfo* out, const std::string& caption)
{
    MessageBoxInfo found;
    auto seen = [&] {
        for (MessageBoxInfo& b : message_boxes(pid)) {
            if (caption.empty() || b.caption == caption) {
                found = std::move(b);
                return true;
            }
        }
        return false;
    };
    std::string what = "a message box";
    if (!caption.empty()) what += " captioned \"" + caption + "\"";
    what += " of pid " + std::to_string(pid);
    Status s = wait_until(seen, timeout_ms, what);
    if (out) *out = found;
    return s;
}

Status dismiss(const MessageBoxInfo& box, DWORD timeout_ms)
{
    HWND button = GetDlgItem(box.hwnd, IDOK);
    if (!button) button = GetDlgItem(box.hwnd, IDCANCEL);
    if (!button && !box.buttons.empty()) button = GetDlgItem(box.hwnd, box.buttons.front().first);
    if (!button) return Status::failure("message box \"" + box.caption + "\" has no button; " + describe_screen());
    if (Status s = click(button); !s) return s;
    return wait_window_gone(box.hwnd, timeout_ms);
}

Status expect_message_box(DWORD pid, const std::string& text, const std::string& caption, DWORD timeout_ms)
{
    MessageBoxInfo box;
    if (Status s = wait_message_box(pid, timeout_ms, &box); !s) return s;
    if (box.text != text || box.caption != caption) {
        dismiss(box);
        return Status::failure("expected the box [" + caption + "] \"" + text + "\", got [" + box.caption + "] \"" +
                               box.text + "\"");
    }
    return dismiss(box);
}

Status expect_no_message_box(DWORD pid, DWORD period_ms)
{
    ULONGLONG deadline = now_ms() + period_ms;
    for (;;) {
        std::vector<MessageBoxInfo> boxes = message_boxes(pid);
        if (!boxes.empty())
            return Status::failure("unexpected message box \"" + boxes.front().caption + "\": \"" + boxes.front().text +
                                   "\"; " + describe_screen());
        if (now_ms() >= deadline) return Status::success();
        Sleep(kPollMs);
    }
}

Status round_trip(HWND window, DWORD timeout_ms)
{
    const ULONGLONG start = now_ms();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &result))
        return Status::failure("window " + hex_handle(window) + " did not answer within " +
                               std::to_string(timeout_ms) + " ms; " + describe_screen());
    trace(start, "a round trip through " + hex_handle(window) + "'s queue");
    return Status::success();
}

Status expect_no_message_box_after(HWND window, DWORD timeout_ms)
{
    if (Status s = round_trip(window, timeout_ms); !s) return s;
    std::vector<MessageBoxInfo> boxes = message_boxes(window_pid(window));
    if (!boxes.empty())
        return Status::failure("unexpected message box \"" + boxes.front().caption + "\": \"" + boxes.front().text +
                               "\"; " + describe_screen());
    return Status::success();
}

// ---- date-time pickers in another process -----------------------------------------

namespace {

// A SYSTEMTIME-sized block in another process, freed on scope exit.
class RemoteBlock {
public:
    explicit RemoteBlock(HWND hwnd)
    {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, window_pid(hwnd));
        if (process_)
            at_ = VirtualAllocEx(process_, nullptr, sizeof(SYSTEMTIME), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ready() const { return at_ != nullptr; }
    LPARAM address() const { return reinterpret_cast<LPARAM>(at_); }
    bool write(const SYSTEMTIME& st) { return WriteProcessMemory(process_, at_, &st, sizeof st, nullptr) != 0; }
    bool read(SYSTEMTIME& st) { return ReadProcessMemory(process_, at_, &st, sizeof st, nullptr) != 0; }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
};

}  // namespace

Status get_datetime(HWND picker, SYSTEMTIME* out, DWORD* gdt)
{
    RemoteBlock block(picker);
    if (!block.ready()) return Status::failure(last_error_text("allocating in the picker's process"));
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(picker, DTM_GETSYSTEMTIME, 0, block.address(), SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &result))
        return Status::failure(last_error_text("DTM_GETSYSTEMTIME"));
    if (static_cast<DWORD>(result) == static_cast<DWORD>(GDT_ERROR)) return Status::failure("DTM_GETSYSTEMTIME answered GDT_ERROR");
    SYSTEMTIME st{};
    if (!block.read(st)) return Status::failure(last_error_text("ReadProcessMemory"));
    if (out) *out = st;
    if (gdt) *gdt = static_cast<DWORD>(result);
    return Status::success();
}

Status set_datetime(HWND picker, const SYSTEMTIME* value)
{
    RemoteBlock block(picker);
    if (!block.ready()) return Status::failure(last_error_text("allocating in the picker's process"));
    SYSTEMTIME st = value ? *value : SYSTEMTIME{};
    if (!block.write(st)) return Status::failure(last_error_text("WriteProcessMemory"));
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(picker, DTM_SETSYSTEMTIME, value ? GDT_VALID : GDT_NONE, block.address(),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
        return Status::failure(last_error_text("DTM_SETSYSTEMTIME"));
    if (!result) return Status::failure("DTM_SETSYSTEMTIME was refused");
    return Status::success();
}

// ---- the program under test -------------------------------------------------------

Program::Program()
{
    static LONG counter = 0;
    char temp[MAX_PATH] = {};
    DWORD n = GetTempPathA(sizeof temp, temp);
    std::string base = (n > 0 && n < sizeof temp) ? std::string(temp, n) : std::string(".\\");
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[96];
        std::snprintf(name, sizeof name, "\\zelwd-%lu-%ld-%llu", static_cast<unsigned long>(GetCurrentProcessId()),
                      static_cast<long>(InterlockedIncrement(&counter)), static_cast<unsigned long long>(now_ms()));
        std::string candidate = base + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            folder_ = candidate;
            break;
        }
    }
}

Program::~Program()
{
    end();
    if (job_) CloseHandle(job_);
    if (!folder_.empty()) {
        // The program may still hold a file for a moment after it ended.
        for (int i = 0; i < 20 && !delete_tree(folder_); ++i) Sleep(kPollMs);
    }
}

std::string Program::path(const std::string& name) const { return folder_ + "\\" + name; }

Status Program::put_file(const std::string& name, const std::string& bytes)
{
    if (folder_.empty()) return Status::failure("no temporary folder");
    std::FILE* f = std::fopen(path(name).c_str(), "wb");
    if (!f) return Status::failure("cannot create " + path(name));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok ? Status::success() : Status::failure("cannot write " + path(name));
}

Status Program::copy_in(const std::string& source, const std::string& name)
{
    if (!CopyFileA(source.c_str(), path(name).c_str(), FALSE))
        return Status::failure(last_error_text(("copying " + source).c_str()));
    return Status::success();
}

Status Program::remove_file(const std::string& name)
{
    if (!DeleteFileA(path(name).c_str())) return Status::failure(last_error_text(("deleting " + name).c_str()));
    return Status::success();
}

bool Program::file_exists(const std::string& name) const
{
    return GetFileAttributesA(path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Program::read_file(const std::string& name) const
{
    std::string bytes;
    std::FILE* f = std::fopen(path(name).c_str(), "rb");
    if (!f) return bytes;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, got);
    std::fclose(f);
    return bytes;
}

Status Program::start(const std::string& exe, const std::vector<std::string>& args, const Environment& extra_env)
{
    if (process_) return Status::failure("program already started");
    if (folder_.empty()) return Status::failure("no temporary folder to start in");
    std::string command = quote_arg(exe);
    for (const std::string& a : args) command += " " + quote_arg(a);
    std::string env = environment_block(extra_env);

    // A job with kill-on-close ends the program even if the test itself dies.
    if (!job_) {
        job_ = CreateJobObjectA(nullptr, nullptr);
        if (job_) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
    }

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<char> cmd(command.begin(), command.end());
    cmd.push_back('\0');
    // Under Wine a new process now and then dies while Wine itself sets it up, before any of
    // the program's code has run, and CreateProcess reports ERROR_INTERNAL_ERROR. The program
    // never ran, so it is started again; any other failure, or a third one, is the answer.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, env.data(),
                           folder_.c_str(), &si, &pi))
            break;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 3)
            return Status::failure(last_error_text(("starting " + exe).c_str()));
        trace(now_ms(), "Wine could not set up the process (error 1359); starting it again");
    }
    if (job_) AssignProcessToJobObject(job_, pi.hProcess);  // best effort
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    trace(now_ms(), "started " + exe);
    return Status::success();
}

bool Program::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

Status Program::wait_exit(DWORD timeout_ms, DWORD* exit_code)
{
    if (!process_) return Status::failure("program not started");
    const ULONGLONG started = now_ms();
    // WaitForSingleObject is itself a deadline wait.
    if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0)
        return Status::failure("program " + std::to_string(pid_) + " still running after " + std::to_string(timeout_ms) +
                               " ms; " + describe_screen());
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (exit_code) *exit_code = code;
    trace(started, "the program's exit");
    return Status::success();
}

void Program::end()
{
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

Status Program::wait_window(Match m, DWORD timeout_ms, HWND* out) const
{
    m.pid = pid_;
    return wd::wait_window(m, timeout_ms, out);
}

Status Program::wait_message_box(DWORD timeout_ms, MessageBoxInfo* out, const std::string& caption) const
{
    return wd::wait_message_box(pid_, timeout_ms, out, caption);
}

Status Program::expect_message_box(const std::string& text, const std::string& caption, DWORD timeout_ms) const
{
    return wd::expect_message_box(pid_, text, caption, timeout_ms);
}

Status Program::expect_no_message_box(DWORD period_ms) const { return wd::expect_no_message_box(pid_, period_ms); }

std::string test_folder()
{
    char buf[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string p(buf, n);
    std::size_t slash = p.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

FileLock::FileLock(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

FileLock::~FileLock()
{
    if (held()) CloseHandle(handle_);
}

std::string FileLock::read() const
{
    std::string bytes;
    if (!held() || SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(handle_, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    return bytes;
}

std::string windows_path(std::string unix_path)
{
    for (char& c : unix_path) {
        if (c == '/') c = '\\';
    }
    return "Z:" + unix_path;
}

}  // namespace wd
