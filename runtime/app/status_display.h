// The status display: each channel's picture in its window. Showing a picture makes a
// memory picture of a bitmap resource, draws it at once and makes it the channel's
// picture in place of the previous one; the paint copies the channel's picture.
//
// Test aid: the main window answers the registered message kPictureQueryMessage, sent
// with wParam = channel index (0-3), so that a test can see what a channel shows:
//   lParam kPictureQueryName  a global atom holding the current picture's name (the
//                             asker deletes it), 0 when the channel has no picture
//   lParam kPictureQueryHeld  how many pictures the channel holds (made, not released)
// Both answer -1 for a channel that is not open.
#pragma once

#include <windows.h>

#include "channel_list.h"

namespace vorn {

inline constexpr const char* kPictureQueryMessage = "VornlineChannelPicture";
inline constexpr LPARAM kPictureQueryName = 0;
inline constexpr LPARAM kPictureQueryHeld = 1;

// Makes picture `name` for `block`'s channel and draws it in `window` at once. On
// success it becomes the channel's picture; after any failure (reported) the channel
// has none. The previous picture is released either way.
void show_picture(ThreadBlock& block, HWND window, const char* name);

// Invalidates the channel window without erasing and updates it, so that it is
// painted at once.
void repaint_channel(HWND window);

// WM_PAINT of a channel window.
void paint_channel(HWND window);

UINT picture_query_message();
LRESULT answer_picture_query(WPARAM index, LPARAM what);

}  // namespace vorn
