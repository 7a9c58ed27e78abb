// CMainFrame: Plandesk's main window. Before it is created it makes sure the working file
// exists; when created it gets its fixed caption, place and size, the empty dockable
// toolbar, the status bar and the splash picture. It runs the Configuration menu's
// dialogs (each constructed, run modally and destroyed) and the help command.
#pragma once

#include <span>

#include "framework/dock_bar.h"
#include "framework/frame_wnd.h"

class CMainFrame : public zf::WithHandlers<CMainFrame, zf::FrameWnd> {
public:
    static std::span<const zf::Handler<CMainFrame>> handlers();

    static constexpr const char* kCaption = "Zelwerk MIRT Configuration Tool For Dialogic System";
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 500;

protected:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA& cs) override;

private:
    void OnGeneralConfig();
    void OnWeeklyConfig();
    void OnCallRouteConfig();
    void OnHolidaySchedule();
    void OnValidateConfig();
    void OnConfigHelp();

    zf::DockBar tool_bar_;
};
