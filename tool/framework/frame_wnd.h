// FrameWnd: the main window of the document. It loads its menu, icon and accelerators
// from one resource id, holds the view, the status bar and a dockable bar and lays them
// out, shows the highlighted menu item's prompt (the string with the item's id) in the
// status bar and the idle text otherwise, and routes commands it does not handle itself
// to the view, the document and the application, in that order.
//
// Creation runs PreCreateWindow (subclasses may drop FWS_ADDTOTITLE from cs.style, so the
// caption never names the document), then WM_CREATE calls OnCreate, which creates the view.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>

#include "dock_bar.h"
#include "document.h"
#include "status_bar.h"
#include "window.h"

namespace zf {

// Framework style bit of cs.style, taken out before the window is created:
// the caption is "<document> - <application title>".
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

class FrameWnd : public Window {
public:
    bool LoadFrame(UINT resource_id, Document* document, std::unique_ptr<View> view);

    Document* document() const { return document_; }
    View* view() const { return view_.get(); }
    HACCEL accelerators() const { return accelerators_; }
    StatusBar& status_bar() { return status_bar_; }

    void SetMessageText(const std::string& text) { status_bar_.SetMessage(text); }
    void SetIdleText();
    // The prompt of a command: its string up to a line break; the idle text when it has none.
    void ShowPrompt(UINT id);

    void EnableDocking(unsigned sides) { dock_sides_ = sides; }
    void DockControlBar(DockBar& bar, DockSide side);
    void DockToNearestSide(DockBar& bar, POINT client_point);
    void RecalcLayout();

    // Sets the caption from the document title when FWS_ADDTOTITLE was kept.
    void OnUpdateFrameTitle();
    // Called by the application when its message queue runs empty.
    virtual void OnIdle() { status_bar_.UpdateIndicators(); }

    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    virtual bool PreCreateWindow(CREATESTRUCTA& cs) { (void)cs; return true; }
    // Creates the view; subclasses call this first and add their bars. -1 fails creation.
    virtual int OnCreate(CREATESTRUCTA& cs);
    bool CreateStatusBar(std::span<const UINT> indicators) { return status_bar_.Create(hwnd(), indicators); }

    void OnFinalDestroy() override;

private:
    bool RouteCommand(WPARAM wp, LPARAM lp, LRESULT& result);

    Document* document_ = nullptr;
    std::unique_ptr<View> view_;
    StatusBar status_bar_;
    DockBar* dock_bar_ = nullptr;
    unsigned dock_sides_ = 0;
    HACCEL accelerators_ = nullptr;
    bool add_to_title_ = true;
};

}  // namespace zf
