// The channel list: one ThreadBlock per open channel, newest first, its head kept in
// the main window's user data. The user-interface thread grows it while "Open" runs,
// each block complete before it becomes the head; after that it does not change
// until exit, so the channel threads walk it without a lock.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "picture_slot.h"

namespace vorn {

// A channel's status picture: a memory picture holding one bitmap resource.
struct StatusPicture {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;  // what the memory picture held before the bitmap
    char name[16] = {};          // the bitmap resource's name
    std::atomic<int>* held = nullptr;  // the owning channel's count of live pictures
};

void release_status_picture(StatusPicture* picture);

struct ThreadBlock {
    std::int32_t index = 0;
    HANDLE thread = nullptr;
    HWND window = nullptr;
    int device = -1;  // the channel's dx_open handle
    PictureSlot<StatusPicture> picture{release_status_picture};
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;  // the window's client rectangle
    ThreadBlock* next = nullptr;

    // Pictures made for this channel and not yet released: one while it shows a
    // picture. Read by the test aid of the channel window.
    std::atomic<int> pictures_held{0};
};

// A new, empty block, not yet in the list; nullptr (reported) when no memory.
ThreadBlock* new_thread_block();
// Frees a block that never joined the list.
void free_thread_block(ThreadBlock* block);

ThreadBlock* channel_list_head();
// Puts a complete block at the front of the list.
void push_thread_block(ThreadBlock* block);

// Walk the list from the head; nullptr when the list ends first.
ThreadBlock* find_block_by_window(HWND window);
ThreadBlock* find_block_by_index(int index);

}  // namespace vorn
