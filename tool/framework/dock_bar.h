// DockBar: a control bar along one side of a frame, holding a flat toolbar with tooltips
// behind a gripper. Which sides it may take is the intersection of what the bar and the
// frame allow; pressing the gripper and letting go near another side of the frame docks
// it there. A hot toolbar button puts its command's prompt in the status bar (fly-by help).
#pragma once

#include <windows.h>

#include "window.h"

namespace zf {

enum DockSide : unsigned {
    dock_top = 1,
    dock_bottom = 2,
    dock_left = 4,
    dock_right = 8,
    dock_any = 15,
};

class FrameWnd;

class DockBar : public Window {
public:
    // Creates the bar and its empty toolbar inside `frame`, docked at the top.
    bool Create(FrameWnd& frame, UINT id);
    HWND toolbar() const { return toolbar_; }

    void EnableDocking(unsigned sides) { allowed_ = sides; }
    unsigned allowed() const { return allowed_; }
    DockSide side() const { return side_; }
    // Turns the toolbar for the side; the frame places the bar.
    void SetSide(DockSide side);
    // Strip width across the side the bar lies along.
    int Thickness() const;

    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    bool horizontal() const { return side_ == dock_top || side_ == dock_bottom; }
    RECT GripperRect() const;
    void PlaceToolbar();

    FrameWnd* frame_ = nullptr;
    HWND toolbar_ = nullptr;
    DockSide side_ = dock_top;
    unsigned allowed_ = 0;
    bool dragging_ = false;
};

}  // namespace zf
