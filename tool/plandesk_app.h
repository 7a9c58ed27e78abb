// CPlandeskApp: the application object. Start-up opens the settings under "Local
// AppWizard-Generated Applications", registers the single-document template (resource 128:
// CPlandeskDoc, CMainFrame, CPlandeskView), opens the empty document, shows the main
// window, and lets the splash filter see every message first. It runs the About box.
#pragma once

#include <span>

#include "framework/app.h"

class CPlandeskApp : public zf::WithHandlers<CPlandeskApp, zf::App> {
public:
    static std::span<const zf::Handler<CPlandeskApp>> handlers();
    static constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";
    static constexpr unsigned kRecentFiles = 4;

protected:
    bool InitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;

private:
    void OnAppAbout();
};
