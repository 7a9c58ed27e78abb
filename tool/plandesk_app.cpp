// Application start-up, the splash filter and the About command.
#include "plandesk_app.h"

#include <commctrl.h>

#include "about_dlg.h"
#include "framework/frame_wnd.h"
#include "main_frame.h"
#include "plandesk_doc.h"
#include "plandesk_view.h"
#include "resource.h"
#include "splash_wnd.h"
#include "system_reason.h"
#include "working_file.h"

std::span<const zf::Handler<CPlandeskApp>> CPlandeskApp::handlers()
{
    static constexpr zf::Handler<CPlandeskApp> table[] = {
        zf::on_command(ID_APP_ABOUT, &CPlandeskApp::OnAppAbout),
    };
    return table;
}

bool CPlandeskApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // File faults are told to the operator in the system's own words.
    zel::set_reason_source(&system_reason);

    zf::CommandLineInfo cmd;
    ParseCommandLine(cmd);
    CSplashWnd::EnableSplashScreen(cmd.show_splash);

    SetRegistryKey(kRegistryKey);
    LoadStdProfileSettings(kRecentFiles);

    AddDocTemplate(zf::DocTemplate::Make<CPlandeskDoc, CMainFrame, CPlandeskView>(IDR_MAINFRAME));

    ParseCommandLine(cmd);
    if (!ProcessShellCommand(cmd)) return false;

    ShowWindow(main_frame()->hwnd(), SW_SHOW);
    UpdateWindow(main_frame()->hwnd());
    return true;
}

bool CPlandeskApp::PreTranslateMessage(MSG& msg)
{
    return CSplashWnd::PreTranslateAppMessage(msg) || App::PreTranslateMessage(msg);
}

void CPlandeskApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
