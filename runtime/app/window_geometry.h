// Where the runtime puts its windows on the screen: the main window, the splash
// pictures, the About box and the channel windows. Portable, so the rules are tested
// without a screen.
#pragma once

namespace vorn {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

inline constexpr int kMainWidth = 488;
inline constexpr int kMainHeight = 694;
inline constexpr int kSplashWidth = 450;
inline constexpr int kSplashHeight = 597;

// The main window: 488 by 694 at (width / 2 - 244, height / 2 - 347).
Box main_window_box(int screen_width, int screen_height);

inline constexpr int kChannelWindowSize = 80;

// Channel window `index` (0-3) in the main window's client area: 80 by 80 at
// x = 80 (index + 1), y = 0, so the four sit side by side at 80, 160, 240 and 320.
Box channel_window_box(int index);

// A picture centred on the screen; on a screen smaller than the picture it starts at
// the screen's top-left corner instead, so its top-left part stays visible.
Box centred_picture(int screen_width, int screen_height, int picture_width, int picture_height);

// A dialog of `dialog`'s size centred over `parent`, then moved as little as needed
// to lie wholly on a screen of the given size (left and top first, should the dialog
// be larger than the screen).
Box centre_on_screen(const Box& dialog, const Box& parent, int screen_width, int screen_height);

}  // namespace vorn
