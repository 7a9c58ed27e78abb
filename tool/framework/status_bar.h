// StatusBar: the common status bar control along the bottom of a frame. Pane 0 is the
// message pane and takes the spare width; each further pane is an indicator named by a
// string id (ZF_ID_INDICATOR_CAPS: "CAP", ...), sized to its text and showing it while
// its key is toggled on, blank otherwise.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

namespace zf {

class StatusBar {
public:
    // `indicators` after the message pane, e.g. {ZF_ID_INDICATOR_CAPS, ...}.
    bool Create(HWND parent, std::span<const UINT> indicators);
    HWND hwnd() const { return hwnd_; }

    void SetMessage(const std::string& text);
    // Follows the keyboard's toggle states; cheap when nothing changed.
    void UpdateIndicators();
    // Lays the panes out again and lets the control follow its parent's width.
    void Resize();
    int Height() const;

private:
    struct Indicator {
        UINT id;
        std::string text;
        int width;
        bool lit;
    };
    HWND hwnd_ = nullptr;
    std::vector<Indicator> indicators_;
};

}  // namespace zf
