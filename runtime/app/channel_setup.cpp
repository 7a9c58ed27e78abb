// The channels: opening, the channel thread and the channel window's messages.
#include "channel_setup.h"

#include <string>

#include "call_flow.h"
#include "channel_list.h"
#include "channel_loop.h"
#include "program_message.h"
#include "runtime_state.h"
#include "status_display.h"
#include "status_pictures.h"
#include "voicelib.h"
#include "window_geometry.h"

namespace vorn {

namespace {

// A window whose channel failed to open after the window was made; its destruction
// is ours, not the shutdown's, so it finds no block and says nothing about it.
HWND abandoned_window = nullptr;

// What the call flow and the loop need from the platform, for one channel's thread.
class ChannelLine : public ChannelHost, public zel::CallHost {
public:
    explicit ChannelLine(ThreadBlock& block) : block_(block) {}

    void show_picture(const char* name) override
    {
        vorn::show_picture(block_, block_.window, name);
        repaint_channel(block_.window);
    }

    void report_fault(const char* text) override { program_message("%s", text); }

    void waiting_for_call() override { wait_began_ = GetTickCount64(); }

    void take_call() override
    {
        answered_ = GetTickCount64();
        SYSTEMTIME local;
        GetLocalTime(&local);
        start_ = {local.wYear, local.wMonth, local.wDay, local.wDayOfWeek, local.wHour, local.wMinute, local.wSecond};
        summary_ = zel::run_call(block_.device, command_record(), play_format(), start_, *this);
        in_call_ = true;
    }

    void call_over(bool) override
    {
        if (!in_call_) return;
        in_call_ = false;
        const ULONGLONG over = GetTickCount64();
        zel::CallLogEntry entry = zel::call_log_entry(summary_, command_record(), start_);
        entry.line = block_.index + 1;
        entry.answer_seconds =
            zel::answer_seconds(static_cast<double>(answered_ - wait_began_) / 1000.0, zel::answer_rings(command_record()));
        entry.length_seconds = static_cast<double>(over - answered_) / 1000.0;
        // A line that cannot be written is counted by the log and said on its next line;
        // the call is over and the channel goes on either way.
        if (runtime().call_log) runtime().call_log->append(entry);
    }

private:
    ThreadBlock& block_;
    ULONGLONG wait_began_ = 0;
    ULONGLONG answered_ = 0;
    zel::CallClock start_{};
    zel::CallSummary summary_;
    bool in_call_ = false;
};

DWORD WINAPI channel_thread(LPVOID argument)
{
    HWND window = static_cast<HWND>(argument);
    ThreadBlock* block = find_block_by_window(window);
    if (!block) {
        program_message("GetThreadBlockMardware Failed");
        return 0;
    }
    ChannelLine line(*block);
    run_channel(block->device, command_record(), line);
    return 0;
}

// Lets go of what a channel that did not start had made, so that no window is left
// without a block (its every paint would be a fault) and the device can be opened again.
void abandon(ThreadBlock* block, HWND window, int device)
{
    if (window) {
        abandoned_window = window;
        DestroyWindow(window);
        abandoned_window = nullptr;
    }
    if (device >= 0) dx_close(device);
    free_thread_block(block);
}

// The main window is going: stop the channel where it stands (a call in progress is
// cut off), then close its device and let go of its thread.
void stop_channel(HWND window)
{
    if (window == abandoned_window) return;
    ThreadBlock* block = find_block_by_window(window);
    if (!block) {
        program_message("GetThreadHardwareBlock failed");
        return;
    }
    if (!TerminateThread(block->thread, 0)) {
        program_message("Failed to terminate thread");
    } else {
        // The stop is carried out asynchronously; the device must not close under a
        // thread that is still inside the library.
        WaitForSingleObject(block->thread, 5000);
    }
    if (dx_close(block->device) < 0)
        program_message("dx_close failed\nPlease be sure that your board and drivers\nare properly installed");
    if (!CloseHandle(block->thread)) program_message("Failed to closehandle");
    block->thread = nullptr;
    block->picture.clear();
}

void refresh_rectangle(HWND window)
{
    ThreadBlock* block = find_block_by_window(window);
    if (!block) return;  // still being opened: the rectangle is read when the block is filled
    RECT r;
    if (!GetClientRect(window, &r)) {
        program_message("Cannot GetClient Display");
        return;
    }
    block->left = r.left;
    block->top = r.top;
    block->right = r.right;
    block->bottom = r.bottom;
}

}  // namespace

int open_channel(HWND main_window, int index)
{
    ThreadBlock* block = new_thread_block();
    if (!block) return -1;

    const std::string name = channel_device_name(index);
    const int device = dx_open(name.c_str(), 0);
    if (device == -1) {
        program_message("dx_open failed, \n Please make sure your drivers are properly installed");
        free_thread_block(block);
        return -1;
    }

    const Box at = channel_window_box(index);
    HWND window = CreateWindowA("ChildClass", "Child Window", WS_CHILD | WS_DLGFRAME | WS_CLIPSIBLINGS, at.left,
                                at.top, at.width(), at.height(), main_window, nullptr, runtime().instance, nullptr);
    if (!window) {
        program_message("CreateWindow failed for %s", name.c_str());
        abandon(block, nullptr, device);
        return -1;
    }
    ShowWindow(window, SW_SHOW);
    show_picture(*block, window, zel::kPicturePhone);

    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, channel_thread, window, CREATE_SUSPENDED, &id);
    if (!thread) {
        program_message("CreateThread Failed. Computer memory problem 100.");
        abandon(block, window, device);
        return -1;
    }
    RECT client;
    if (!GetClientRect(window, &client)) {
        program_message("GetDisplayRect Failed. Computer memory problem 101.");
        // It never ran, so stopping it cannot catch it anywhere.
        TerminateThread(thread, 0);
        CloseHandle(thread);
        abandon(block, window, device);
        return -1;
    }

    block->index = index;
    block->thread = thread;
    block->window = window;
    block->device = device;
    block->left = client.left;
    block->top = client.top;
    block->right = client.right;
    block->bottom = client.bottom;
    push_thread_block(block);

    SetWindowTextA(window, runtime().labels.label[index]);
    if (!SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL))
        program_message("SetPriority for thread failed. Dialogic problem 102.");
    repaint_channel(window);
    ResumeThread(thread);
    return 0;
}

LRESULT CALLBACK channel_window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_DESTROY:
        stop_channel(hwnd);
        return 0;
    case WM_SIZE:
        refresh_rectangle(hwnd);
        return 0;
    case WM_PAINT:
        paint_channel(hwnd);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace vorn
