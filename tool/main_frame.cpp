// The main frame: start-up check of the working file, window set-up, menu commands.
#include "main_frame.h"

#include "call_route_dlg.h"
#include "dialog_end.h"
#include "general_config_dlg.h"
#include "holiday_schedule_dlg.h"
#include "resource.h"
#include "splash_wnd.h"
#include "validate_dlg.h"
#include "weekly_operation_dlg.h"
#include "working_file.h"

namespace {

// Modal run of one configuration dialog; the frame does nothing with its result.
template <class Dlg>
void run_dialog()
{
    Dlg dlg;
    dlg.DoModal();
}

void ensure_working_file_at_startup()
{
    const zel::EnsureOutcome outcome = zel::ensure_working_file();
    if (outcome.result != zel::EnsureResult::unusable) return;
    // The tool keeps running: every dialog then meets a file it cannot open, as it would
    // if the file went away later.
    const zel::OperatorBox box = zel::unusable_working_file_box(outcome.fault);
    MessageBoxA(nullptr, box.text.c_str(), box.caption.c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace

std::span<const zf::Handler<CMainFrame>> CMainFrame::handlers()
{
    static constexpr zf::Handler<CMainFrame> table[] = {
        zf::on_command(ID_CONFIG_GENERAL, &CMainFrame::OnGeneralConfig),
        zf::on_command(ID_CONFIG_WEEKLY, &CMainFrame::OnWeeklyConfig),
        zf::on_command(ID_CONFIG_CALL_ROUTE, &CMainFrame::OnCallRouteConfig),
        zf::on_command(ID_CONFIG_HOLIDAY, &CMainFrame::OnHolidaySchedule),
        zf::on_command(ID_CONFIG_VALIDATE, &CMainFrame::OnValidateConfig),
        zf::on_command(ID_CONFIG_HELP, &CMainFrame::OnConfigHelp),
    };
    return table;
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The caption is fixed; it never names the document.
    cs.style &= ~zf::FWS_ADDTOTITLE;
    if (!FrameWnd::PreCreateWindow(cs)) return false;
    ensure_working_file_at_startup();
    return true;
}

int CMainFrame::OnCreate(CREATESTRUCTA& cs)
{
    if (FrameWnd::OnCreate(cs) == -1) return -1;
    if (!tool_bar_.Create(*this, ZF_ID_TOOL_BAR)) return -1;

    SetWindowTextA(hwnd(), kCaption);
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - kWidth / 2;
    const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - kHeight / 2;
    SetWindowPos(hwnd(), nullptr, left, top, kWidth, kHeight, SWP_NOZORDER | SWP_SHOWWINDOW);

    static constexpr UINT indicators[] = {ZF_ID_INDICATOR_CAPS, ZF_ID_INDICATOR_NUM, ZF_ID_INDICATOR_SCRL};
    if (!CreateStatusBar(indicators)) return -1;
    SetIdleText();

    tool_bar_.EnableDocking(zf::dock_any);
    EnableDocking(zf::dock_any);
    DockControlBar(tool_bar_, zf::dock_top);

    CSplashWnd::ShowSplashScreen(hwnd());
    return 0;
}

void CMainFrame::OnGeneralConfig()
{
    run_dialog<CGeneralConfigDlg>();
}

void CMainFrame::OnWeeklyConfig()
{
    run_dialog<CWeeklyOperationDlg>();
}

void CMainFrame::OnCallRouteConfig()
{
    run_dialog<CCallRouteDlg>();
}

void CMainFrame::OnHolidaySchedule()
{
    run_dialog<CHolidayScheduleDlg>();
}

void CMainFrame::OnValidateConfig()
{
    run_dialog<CValidateDlg>();
}

void CMainFrame::OnConfigHelp()
{
    // The help viewer is found on the search path; the help file relative to the current folder.
    if (WinExec("HH.exe TOLLMAP.chm", SW_SHOWNORMAL) < 32)
        MessageBoxA(hwnd(), "Cannot Open TOLLMAP HELP", "Zel TOLLMAP", MB_OK);
}
