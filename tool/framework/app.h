// App: the one application object of the process. Run() calls InitInstance, then pumps
// messages: each passes PreTranslateMessage first (a subclass may consume it), then the
// main frame's accelerators; when the queue runs empty the frame gets OnIdle. Run returns
// ExitInstance's code. The App keeps the settings profile with its recent-file list and
// the single document template, and takes the commands nobody before it handled
// (ZF_ID_APP_EXIT closes the main window).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "document.h"
#include "message_map.h"
#include "profile.h"
#include "recent_file_list.h"

namespace zf {

class FrameWnd;

// What the command line asks for. Ours takes no options: every start opens a new empty
// document and may show the splash screen.
struct CommandLineInfo {
    enum class Action { file_new } action = Action::file_new;
    bool show_splash = true;
};

class App : public MessageTarget {
public:
    App();
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App* Get();
    static HINSTANCE Instance();

    int Run(HINSTANCE instance, int show_command);

    int show_command() const { return show_command_; }
    const std::string& title() const { return title_; }
    FrameWnd* main_frame() const { return main_frame_; }
    void set_main_frame(FrameWnd* frame) { main_frame_ = frame; }

    void SetRegistryKey(const std::string& key);
    // Opens the settings and loads the recent-file list with `recent_files` entries.
    void LoadStdProfileSettings(unsigned recent_files);
    const Profile& profile() const { return profile_; }
    RecentFileList* recent_files() const { return recent_files_.get(); }

    void AddDocTemplate(std::unique_ptr<DocTemplate> doc_template);
    void ParseCommandLine(CommandLineInfo& info) const;
    // Carries out the command line; false when the document and its frame could not be made.
    bool ProcessShellCommand(const CommandLineInfo& info);

    bool OnMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    virtual bool InitInstance() = 0;
    virtual int ExitInstance();
    virtual bool PreTranslateMessage(MSG& msg);

private:
    int MessageLoop();

    static App* current_;
    HINSTANCE instance_ = nullptr;
    int show_command_ = SW_SHOWNORMAL;
    std::string title_;
    FrameWnd* main_frame_ = nullptr;
    Profile profile_;
    std::unique_ptr<RecentFileList> recent_files_;
    std::unique_ptr<DocTemplate> template_;
};

}  // namespace zf
