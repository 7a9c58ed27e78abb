// Window placement rules.
#include "window_geometry.h"

namespace vorn {

Box main_window_box(int screen_width, int screen_height)
{
    int x = screen_width / 2 - kMainWidth / 2;
    int y = screen_height / 2 - kMainHeight / 2;
    return {x, y, x + kMainWidth, y + kMainHeight};
}

Box channel_window_box(int index)
{
    int x = kChannelWindowSize * (index + 1);
    return {x, 0, x + kChannelWindowSize, kChannelWindowSize};
}

Box centred_picture(int screen_width, int screen_height, int picture_width, int picture_height)
{
    int x = (screen_width - picture_width) / 2;
    int y = (screen_height - picture_height) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    return {x, y, x + picture_width, y + picture_height};
}

Box centre_on_screen(const Box& dialog, const Box& parent, int screen_width, int screen_height)
{
    int w = dialog.width();
    int h = dialog.height();
    int x = parent.left + (parent.width() - w) / 2;
    int y = parent.top + (parent.height() - h) / 2;
    if (x + w > screen_width) x = screen_width - w;
    if (y + h > screen_height) y = screen_height - h;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    return {x, y, x + w, y + h};
}

}  // namespace vorn
