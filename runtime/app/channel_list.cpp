// The channel list and its blocks.
#include "channel_list.h"

#include <new>

#include "program_message.h"
#include "runtime_state.h"

namespace vorn {

void release_status_picture(StatusPicture* picture)
{
    if (!picture) return;
    SelectObject(picture->dc, picture->previous);
    DeleteDC(picture->dc);
    DeleteObject(picture->bitmap);
    if (picture->held) picture->held->fetch_sub(1);
    delete picture;
}

// Blocks live in global memory, locked once for their whole life, like the language
// entries: the rest of the runtime holds plain pointers to them.
ThreadBlock* new_thread_block()
{
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(ThreadBlock));
    if (!memory) {
        program_message("Alloc Memory Failed");
        return nullptr;
    }
    void* place = GlobalLock(memory);
    if (!place) {
        GlobalFree(memory);
        program_message("Global Lock Failed. Dialogic problem 103.");
        return nullptr;
    }
    return new (place) ThreadBlock;
}

void free_thread_block(ThreadBlock* block)
{
    if (!block) return;
    block->picture.clear();
    block->~ThreadBlock();
    HGLOBAL memory = GlobalHandle(block);
    if (memory) {
        GlobalUnlock(memory);
        GlobalFree(memory);
    }
}

ThreadBlock* channel_list_head()
{
    HWND main = runtime().main_window;
    return main ? reinterpret_cast<ThreadBlock*>(GetWindowLongPtrA(main, GWLP_USERDATA)) : nullptr;
}

void push_thread_block(ThreadBlock* block)
{
    block->next = channel_list_head();
    SetWindowLongPtrA(runtime().main_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(block));
}

ThreadBlock* find_block_by_window(HWND window)
{
    for (ThreadBlock* b = channel_list_head(); b; b = b->next) {
        if (b->window == window) return b;
    }
    return nullptr;
}

ThreadBlock* find_block_by_index(int index)
{
    for (ThreadBlock* b = channel_list_head(); b; b = b->next) {
        if (b->index == index) return b;
    }
    return nullptr;
}

}  // namespace vorn
