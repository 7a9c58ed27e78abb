// The framework's handler tables and modal dialog base, run for real: each dialog works
// through its own modal loop with messages it posts to itself, so no one has to click.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/framework_ids.h"
#include "framework/message_map.h"
#include "framework/status_bar.h"
#include "framework_test_ids.h"

namespace {

// ---- the table lookup on its own -------------------------------------------------------

struct Target {
    std::vector<std::string> calls;
    void OnPress() { calls.push_back("press"); }
    void OnEditChange() { calls.push_back("edit change"); }
    void OnAnyEdit() { calls.push_back("any edit"); }
    LRESULT OnNotify(WPARAM, LPARAM) { calls.push_back("notify"); return 7; }
    LRESULT OnTimer(WPARAM wp, LPARAM) { calls.push_back("timer " + std::to_string(wp)); return 0; }

    static std::span<const zf::Handler<Target>> handlers()
    {
        static constexpr zf::Handler<Target> table[] = {
            zf::on_command(IDC_PROBE_PRESS, &Target::OnPress),
            zf::on_command(IDC_PROBE_EDIT, EN_CHANGE, &Target::OnEditChange),
            zf::on_command(IDC_PROBE_EDIT, zf::kAnyCode, &Target::OnAnyEdit),
            zf::on_notify(IDC_PROBE_OTHER, NM_CLICK, &Target::OnNotify),
            zf::on_message(WM_TIMER, &Target::OnTimer),
        };
        return table;
    }
};

TEST(HandlerTable, EachMessageReachesTheFirstRowThatTakesIt)
{
    NMHDR click{nullptr, IDC_PROBE_OTHER, static_cast<UINT>(NM_CLICK)};
    NMHDR other_code{nullptr, IDC_PROBE_OTHER, static_cast<UINT>(NM_DBLCLK)};
    NMHDR other_id{nullptr, IDC_PROBE_PRESS, static_cast<UINT>(NM_CLICK)};
    HWND some_control = reinterpret_cast<HWND>(0x1234);
    const struct {
        const char* name;
        UINT message;
        WPARAM wp;
        LPARAM lp;
        bool handled;
        const char* call;
    } cases[] = {
        {"button click", WM_COMMAND, MAKEWPARAM(IDC_PROBE_PRESS, BN_CLICKED), reinterpret_cast<LPARAM>(some_control), true, "press"},
        {"menu item", WM_COMMAND, MAKEWPARAM(IDC_PROBE_PRESS, 0), 0, true, "press"},
        {"accelerator", WM_COMMAND, MAKEWPARAM(IDC_PROBE_PRESS, 1), 0, true, "press"},
        {"other notification of the button", WM_COMMAND, MAKEWPARAM(IDC_PROBE_PRESS, BN_DOUBLECLICKED),
         reinterpret_cast<LPARAM>(some_control), false, ""},
        {"edit change comes first", WM_COMMAND, MAKEWPARAM(IDC_PROBE_EDIT, EN_CHANGE), reinterpret_cast<LPARAM>(some_control), true, "edit change"},
        {"any other edit notification", WM_COMMAND, MAKEWPARAM(IDC_PROBE_EDIT, EN_SETFOCUS), reinterpret_cast<LPARAM>(some_control), true, "any edit"},
        {"unknown command", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, false, ""},
        {"notify", WM_NOTIFY, IDC_PROBE_OTHER, reinterpret_cast<LPARAM>(&click), true, "notify"},
        {"notify, other code", WM_NOTIFY, IDC_PROBE_OTHER, reinterpret_cast<LPARAM>(&other_code), false, ""},
        {"notify, other control", WM_NOTIFY, IDC_PROBE_PRESS, reinterpret_cast<LPARAM>(&other_id), false, ""},
        {"plain message", WM_TIMER, 5, 0, true, "timer 5"},
        {"message not listed", WM_PAINT, 0, 0, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Target t;
        LRESULT result = -1;
        EXPECT_EQ(c.handled, zf::dispatch(t, Target::handlers(), c.message, c.wp, c.lp, result));
        if (c.handled) {
            ASSERT_EQ(1u, t.calls.size());
            EXPECT_EQ(c.call, t.calls[0]);
        } else {
            EXPECT_TRUE(t.calls.empty());
        }
    }
    Target t;
    LRESULT result = 0;
    zf::dispatch(t, Target::handlers(), WM_NOTIFY, IDC_PROBE_OTHER, reinterpret_cast<LPARAM>(&click), result);
    EXPECT_EQ(7, result);
}

// ---- modal dialogs -----------------------------------------------------------------------

// Presses its own buttons, types into its edit and asks itself a question, then leaves by
// the button a test chose.
class CProbeDlg : public zf::WithHandlers<CProbeDlg, zf::Dialog> {
public:
    explicit CProbeDlg(int leave_by) : WithHandlers(IDD_PROBE), leave_by_(leave_by) {}

    static std::span<const zf::Handler<CProbeDlg>> handlers()
    {
        static constexpr zf::Handler<CProbeDlg> table[] = {
            zf::on_command(IDC_PROBE_PRESS, &CProbeDlg::OnPress),
            zf::on_command(IDC_PROBE_EDIT, EN_CHANGE, &CProbeDlg::OnEditChange),
            zf::on_message(WM_APP, &CProbeDlg::OnQuestion),
            zf::on_message(WM_APP + 1, &CProbeDlg::OnLeave),
        };
        return table;
    }

    std::vector<std::string> events;
    LRESULT answer = 0;
    bool init_called = false;

protected:
    BOOL OnInitDialog() override
    {
        init_called = true;
        SetItemText(IDC_PROBE_EDIT, "typed");  // EN_CHANGE arrives at once
        PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PROBE_PRESS, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(IDC_PROBE_PRESS)));
        PostMessageA(hwnd(), WM_APP + 1, 0, 0);
        return TRUE;
    }

private:
    void OnPress() { events.push_back("press"); }
    void OnEditChange() { events.push_back("edit: " + ItemText(IDC_PROBE_EDIT)); }
    LRESULT OnQuestion(WPARAM wp, LPARAM) { return static_cast<LRESULT>(wp * 2); }
    LRESULT OnLeave(WPARAM, LPARAM)
    {
        // A sent message's answer travels back through the dialog procedure.
        answer = SendMessageA(hwnd(), WM_APP, 21, 0);
        PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(leave_by_, BN_CLICKED), 0);
        return 0;
    }

    int leave_by_;
};

TEST(ModalDialog, RunsItsTableAndEndsByOkOrCancel)
{
    const struct {
        const char* name;
        int button;
    } leaves[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    for (const auto& l : leaves) {
        SCOPED_TRACE(l.name);
        CProbeDlg dlg(l.button);
        EXPECT_EQ(l.button, dlg.DoModal());
        EXPECT_TRUE(dlg.init_called);
        EXPECT_EQ((std::vector<std::string>{"edit: typed", "press"}), dlg.events);
        EXPECT_EQ(42, dlg.answer);
        EXPECT_EQ(nullptr, dlg.hwnd());
    }
}

// A dialog whose table takes OK itself decides how it ends.
class CSaveDlg : public zf::WithHandlers<CSaveDlg, zf::Dialog> {
public:
    CSaveDlg() : WithHandlers(IDD_PROBE) {}
    static std::span<const zf::Handler<CSaveDlg>> handlers()
    {
        static constexpr zf::Handler<CSaveDlg> table[] = {zf::on_command(IDOK, &CSaveDlg::OnSave)};
        return table;
    }
    int saves = 0;

protected:
    BOOL OnInitDialog() override
    {
        PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }

private:
    void OnSave()
    {
        ++saves;
        EndDialog(77);
    }
};

TEST(ModalDialog, TableRowsComeBeforeTheDefaults)
{
    CSaveDlg dlg;
    EXPECT_EQ(77, dlg.DoModal());
    EXPECT_EQ(1, dlg.saves);
}

TEST(ModalDialog, MissingTemplateShowsNothingAndSaysSo)
{
    zf::Dialog dlg(IDD_MISSING);
    EXPECT_EQ(-1, dlg.DoModal());
}

// ---- status bar indicators ---------------------------------------------------------------

std::string pane_text(HWND bar, int pane)
{
    char text[64] = {};
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text));
    return text;
}

void set_toggles(bool caps, bool num, bool scroll)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CAPITAL] = caps ? 1 : 0;
    keys[VK_NUMLOCK] = num ? 1 : 0;
    keys[VK_SCROLL] = scroll ? 1 : 0;
    SetKeyboardState(keys);
}

TEST(StatusBar, IndicatorPanesShowTheirTextWhileTheirKeyIsOn)
{
    InitCommonControls();
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, parent);
    BYTE saved[256] = {};
    GetKeyboardState(saved);

    zf::StatusBar bar;
    static constexpr UINT indicators[] = {ZF_ID_INDICATOR_CAPS, ZF_ID_INDICATOR_NUM, ZF_ID_INDICATOR_SCRL};
    set_toggles(false, false, false);
    ASSERT_TRUE(bar.Create(parent, indicators));
    EXPECT_EQ(4, SendMessageA(bar.hwnd(), SB_GETPARTS, 0, 0));
    bar.SetMessage("ready");

    const struct {
        const char* name;
        bool caps, num, scroll;
        const char* panes[3];
    } states[] = {
        {"all off", false, false, false, {"", "", ""}},
        {"caps lock", true, false, false, {"CAP", "", ""}},
        {"num and scroll lock", false, true, true, {"", "NUM", "SCRL"}},
        {"all on", true, true, true, {"CAP", "NUM", "SCRL"}},
        {"off again", false, false, false, {"", "", ""}},
    };
    for (const auto& st : states) {
        SCOPED_TRACE(st.name);
        set_toggles(st.caps, st.num, st.scroll);
        bar.UpdateIndicators();
        EXPECT_EQ("ready", pane_text(bar.hwnd(), 0));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(st.panes[i], pane_text(bar.hwnd(), i + 1));
    }
    // Each indicator pane is wide enough for its text; the message pane takes the rest.
    int edges[4] = {};
    SendMessageA(bar.hwnd(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_GT(edges[0], 300);
    EXPECT_GT(edges[1] - edges[0], 10);
    EXPECT_GT(edges[2] - edges[1], 10);
    EXPECT_EQ(-1, edges[3]);

    SetKeyboardState(saved);
    DestroyWindow(parent);
}

}  // namespace
