// The status display.
#include "status_display.h"

#include <cstdio>
#include <string>

#include "program_message.h"
#include "runtime_state.h"
#include "window_geometry.h"

namespace vorn {

namespace {

// Makes the memory picture and draws it; the window's drawing surface is let go before
// anything is reported, since a report waits for the operator.
StatusPicture* make_picture(ThreadBlock& block, HWND window, const char* name, std::string* fault)
{
    HDC window_dc = GetDC(window);
    if (!window_dc) {
        *fault = "GetDC failed";
        return nullptr;
    }
    StatusPicture* made = nullptr;
    HBITMAP bitmap = LoadBitmapA(runtime().instance, name);
    HDC memory = bitmap ? CreateCompatibleDC(window_dc) : nullptr;
    HGDIOBJ previous = memory ? SelectObject(memory, bitmap) : nullptr;
    if (!bitmap) {
        *fault = format_report("LoadBitmap failed  %s", name);
    } else if (!memory) {
        *fault = "CreateCompatibleDC failed";
        DeleteObject(bitmap);
    } else if (!previous || previous == HGDI_ERROR) {
        *fault = "The selectobject did not work";
        DeleteDC(memory);
        DeleteObject(bitmap);
    } else {
        made = new StatusPicture;
        made->dc = memory;
        made->bitmap = bitmap;
        made->previous = previous;
        std::snprintf(made->name, sizeof made->name, "%s", name);
        made->held = &block.pictures_held;
        block.pictures_held.fetch_add(1);
        if (!BitBlt(window_dc, 0, 0, kChannelWindowSize, kChannelWindowSize, memory, 0, 0, SRCCOPY)) {
            *fault = "Bitmap copy failed";
            release_status_picture(made);
            made = nullptr;
        }
    }
    ReleaseDC(window, window_dc);
    return made;
}

// A report's own message loop paints too; one paint report at a time is enough.
bool paint_reporting = false;

}  // namespace

void show_picture(ThreadBlock& block, HWND window, const char* name)
{
    std::string fault;
    block.picture.replace(make_picture(block, window, name, &fault));
    if (!fault.empty()) program_message("%s", fault.c_str());
}

void repaint_channel(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void paint_channel(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const char* fault = nullptr;
    if (ThreadBlock* block = find_block_by_window(window)) {
        StatusPicture* picture = block->picture.borrow();
        bool drawn = dc && picture &&
                     BitBlt(dc, 0, 0, kChannelWindowSize, kChannelWindowSize, picture->dc, 0, 0, SRCCOPY);
        block->picture.give_back(picture);
        if (!drawn) fault = "Load Bitmap failed";
    } else {
        fault = "GetThreadBlockHardware failed";
    }
    EndPaint(window, &ps);
    if (fault && !paint_reporting) {
        paint_reporting = true;
        program_message("%s", fault);
        paint_reporting = false;
    }
}

UINT picture_query_message()
{
    static const UINT message = RegisterWindowMessageA(kPictureQueryMessage);
    return message;
}

LRESULT answer_picture_query(WPARAM index, LPARAM what)
{
    ThreadBlock* block = index < VL_CHANNEL_COUNT ? find_block_by_index(static_cast<int>(index)) : nullptr;
    if (!block) return -1;
    if (what == kPictureQueryHeld) return block->pictures_held.load();
    StatusPicture* picture = block->picture.borrow();
    ATOM name = picture ? GlobalAddAtomA(picture->name) : 0;
    block->picture.give_back(picture);
    return name;
}

}  // namespace vorn
