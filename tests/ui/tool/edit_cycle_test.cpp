// What the four editing dialogs share, one table row per dialog: every way out that
// cancels (the Cancel button, Escape, the close box) writes nothing and says nothing after
// any change; a browse with the voice file chooser (a file chosen, or the browse
// cancelled) makes every end of the dialog a restart: its box, then the tool's own end;
// and a path too long to keep is refused with a warning and taken out of its chooser.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config_record.h"
#include "plandesk_driver.h"

namespace {

using zel::Field;

// ---- cancelling writes nothing ------------------------------------------------------------

struct CancelRow {
    pd::Dialog dialog;
    // Changes what a user could change, and waits until the dialog shows it.
    std::function<wd::Status(HWND)> change;
    // Where Escape is pressed: a control of the dialog, or the dialog itself (0).
    int escape_target;
    bool has_close_box;
};

const std::vector<CancelRow>& cancel_rows()
{
    static const std::vector<CancelRow> rows = {
        {pd::kGeneral,
         [](HWND d) {
             if (wd::Status s = wd::set_text(wd::child(d, 1005), "4"); !s) return s;  // answer ring
             if (wd::Status s = pd::pick_entry(d, 1012, 6); !s) return s;         // voice file type
             return pd::wait_text(wd::child(d, 1012), "DRT_20*KHZ");
         },
         1005, true},
        {pd::kWeekly,
         [](HWND d) {
             SendMessageA(wd::child(d, 1020), BM_SETCHECK, BST_CHECKED, 0);  // Friday closed
             return pd::set_picker_time(wd::child(d, 1023), {7, 0, 0});      // Monday opens
         },
         1003, true},
        {pd::kCallRoute,
         [](HWND d) { return wd::set_text(wd::child(d, 1000), "1001"); },  // row 1's extension
         0, false},
        {pd::kHoliday,
         [](HWND d) {
             if (wd::Status s = pd::set_picker_date(wd::child(d, 1132), zel::Date{1, 2, 2027}); !s) return s;
             return pd::set_picker_date(wd::child(d, 1188 + 59), zel::Date{3, 4, 2027});
         },
         0, true},
    };
    return rows;
}

enum class Way { cancel_button, escape, close_box };

// Every dialog, every way: one tool serves them all, as none of them may end it.
TEST(EditCycle, EveryWayOutThatCancelsWritesNothingAndSaysNothing)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    const std::string before = tool.file_bytes();
    ASSERT_EQ(before.size(), zel::kDiskSize);

    const struct {
        Way way;
        const char* name;
    } ways[] = {{Way::cancel_button, "Cancel"}, {Way::escape, "Escape"}, {Way::close_box, "close box"}};
    for (const CancelRow& row : cancel_rows()) {
        for (const auto& w : ways) {
            if (w.way == Way::close_box && !row.has_close_box) continue;
            SCOPED_TRACE(std::string(row.dialog.caption) + ", " + w.name);
            HWND dlg = nullptr;
            ASSERT_TRUE(tool.open_dialog(row.dialog, &dlg));
            ASSERT_TRUE(row.change(dlg));
            switch (w.way) {
            case Way::cancel_button:
                ASSERT_TRUE(wd::click(wd::child(dlg, IDCANCEL)));
                break;
            case Way::escape: {
                HWND target = row.escape_target != 0 ? wd::child(dlg, row.escape_target) : dlg;
                ASSERT_TRUE(PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1));
                break;
            }
            case Way::close_box:
                ASSERT_TRUE(PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0));
                break;
            }
            ASSERT_TRUE(tool.expect_dialog_closed(dlg));
            EXPECT_TRUE(tool.expect_no_box());
            EXPECT_TRUE(tool.file_bytes() == before) << "a cancelled dialog wrote the working file";
        }
    }
    EXPECT_TRUE(tool.quit());
}

// ---- a browse makes every end a restart ---------------------------------------------------

struct BrowseRow {
    pd::Dialog dialog;
    int chooser, display;  // the chooser used and the box that shows its voice
    Field field;
    int index;
    int neighbour;  // another chooser's box, which a choice must not touch
    std::string saved_text, saved_caption;        // the box after Save
    std::string cancelled_text, cancelled_caption;  // the box after Cancel
    // Whether Save's box is shown while the dialog is still up; Cancel's always is.
    bool save_box_over_dialog;
    std::size_t limit;  // the longest voice path the dialog keeps
};

const std::vector<BrowseRow>& browse_rows()
{
    static const std::vector<BrowseRow> rows = {
        {pd::kWeekly, 1016, 1001, Field::closed_greeting_vox, 0, 1000,
         "Restarting Program To Set Weekly Configuration", "Weekly Configuration Save/Validate",
         "Restart Program Without Update Configuration", "Weekly Configuration change detected", true, 99},
        {pd::kCallRoute, 1015, 1060, Field::route_vox, 0, 1061, "Please Restart Program To Set Configuration",
         "Extension Routing Configuration Save/Validate",
         std::string(29, ' ') + "Restart Program To Recover Old Configuration",
         "A Change in Extension Routing Configuration has beed detected, but no save is requested.", false, 121},
        {pd::kHoliday, 1250, 1002, Field::holiday_vox, 0, 1000, "Restart Program To Set Configuration",
         "Holiday Schedule Configuration Save/Validate", "Restart Program To Set Configuration",
         "Holiday Schedule Configuration Change Detected", false, 121},
    };
    return rows;
}

constexpr const char* kOldVoice = "C:\\Voice\\Old.vox";
constexpr const char* kNeighbourVoice = "C:\\Voice\\Other.vox";

// The voice of `field` and of the neighbour's field set; a route row needs its extension.
zel::ConfigRecord browse_start(const BrowseRow& row)
{
    zel::ConfigRecord rec = zel::default_record();
    zel::set_field(rec, row.field, row.index, kOldVoice);
    if (row.field == Field::route_vox) {
        zel::set_field(rec, Field::route_ext, 0, "1001");
        zel::set_field(rec, Field::route_ext, 1, "1002");
        zel::set_field(rec, Field::route_vox, 1, kNeighbourVoice);
    } else if (row.field == Field::closed_greeting_vox) {
        zel::set_field(rec, Field::open_greeting_vox, kNeighbourVoice);
    } else {
        zel::set_field(rec, Field::special_open_vox, kNeighbourVoice);
    }
    return rec;
}

struct BrowseCase {
    const char* name;
    bool choose;  // a file chosen, or the browse cancelled
    int end;      // IDOK saves, IDCANCEL cancels
};

TEST(EditCycle, BrowseChosenOrCancelledMakesSaveAndCancelRestartTheTool)
{
    const BrowseCase cases[] = {
        {"chosen, then Save", true, IDOK},
        {"cancelled, then Save", false, IDOK},
        {"chosen, then Cancel", true, IDCANCEL},
    };
    for (const BrowseRow& row : browse_rows()) {
        for (const BrowseCase& c : cases) {
            SCOPED_TRACE(std::string(row.dialog.caption) + ": " + c.name);
            pd::Plandesk tool;
            const zel::ConfigRecord start = browse_start(row);
            ASSERT_TRUE(tool.put_record(start));
            const std::string voice = tool.put_voice("V.vox");
            ASSERT_FALSE(voice.empty());
            ASSERT_LE(voice.size(), 99u) << "every dialog must be able to keep it";
            ASSERT_TRUE(tool.start());
            const std::string before = tool.file_bytes();
            HWND dlg = nullptr;
            ASSERT_TRUE(tool.open_dialog(row.dialog, &dlg));
            ASSERT_EQ(wd::text(wd::child(dlg, row.display)), kOldVoice);

            std::string kept = kOldVoice;
            if (c.choose) {
                ASSERT_TRUE(tool.choose_voice(dlg, row.chooser, row.display, voice));
                kept = voice;
            } else {
                ASSERT_TRUE(pd::press_chooser(dlg, row.chooser));
                ASSERT_TRUE(tool.cancel_file());
                ASSERT_TRUE(tool.expect_no_box());
                EXPECT_EQ(wd::text(wd::child(dlg, row.display)), kOldVoice) << "nothing was chosen";
            }
            EXPECT_EQ(wd::text(wd::child(dlg, row.neighbour)), kNeighbourVoice) << "each chooser fills its own box";

            ASSERT_TRUE(wd::click(wd::child(dlg, c.end)));
            wd::MessageBoxInfo box;
            ASSERT_TRUE(tool.wait_box(&box));
            EXPECT_EQ(box.text, c.end == IDOK ? row.saved_text : row.cancelled_text);
            EXPECT_EQ(box.caption, c.end == IDOK ? row.saved_caption : row.cancelled_caption);
            // Cancel asks over the dialog, which goes with the tool; Save may close it first.
            if (c.end == IDCANCEL || row.save_box_over_dialog) {
                EXPECT_EQ(box.owner, dlg) << "the box belongs to the dialog";
                EXPECT_TRUE(IsWindowVisible(dlg)) << "the dialog is still up under its box";
            } else {
                EXPECT_EQ(box.owner, tool.main) << "the box belongs to the main window";
                EXPECT_FALSE(IsWindow(dlg) && IsWindowVisible(dlg)) << "the dialog went before its box";
            }
            if (c.end == IDOK) {
                // The record is written before the box.
                zel::ConfigRecord saved;
                ASSERT_TRUE(tool.record(&saved));
                EXPECT_EQ(zel::get_field(saved, row.field, row.index), kept);
            }
            ASSERT_TRUE(wd::dismiss(box));
            EXPECT_TRUE(tool.expect_exit(0));
            if (c.end == IDCANCEL) {
                EXPECT_TRUE(tool.file_bytes() == before) << "a cancelled dialog wrote the working file";
            }
        }
    }
}

// ---- a path too long to keep ---------------------------------------------------------------

constexpr int kChooserEdit = 12345;  // the chooser's own box, which shows its pick

// The icon a message box shows: the handle of its icon static, 0 when it has none.
HICON box_icon(HWND box)
{
    for (HWND w : wd::descendants(box)) {
        if (wd::class_name(w) != "Static" || (wd::window_style(w) & SS_TYPEMASK) != SS_ICON) continue;
        if (!IsWindowVisible(w)) continue;
        DWORD_PTR icon = 0;
        if (SendMessageTimeoutA(w, STM_GETICON, 0, 0, SMTO_NORMAL, 2000, &icon) && icon != 0)
            return reinterpret_cast<HICON>(icon);
    }
    return nullptr;
}

TEST(EditCycle, RefusedPathIsTakenOutOfItsChooserAfterAWarning)
{
    for (const BrowseRow& row : browse_rows()) {
        SCOPED_TRACE(row.dialog.caption);
        pd::Plandesk tool;
        ASSERT_TRUE(tool.put_record(browse_start(row)));
        const std::string voice = tool.put_voice("Long.vox", std::string(row.limit, 'L'));
        ASSERT_GT(voice.size(), row.limit);
        ASSERT_TRUE(tool.start());
        HWND dlg = nullptr;
        ASSERT_TRUE(tool.open_dialog(row.dialog, &dlg));
        HWND chooser = wd::child(dlg, row.chooser);
        HWND chooser_edit = wd::child(chooser, kChooserEdit);
        ASSERT_NE(chooser_edit, nullptr);

        ASSERT_TRUE(pd::press_chooser(chooser));
        ASSERT_TRUE(tool.choose_file(voice));
        wd::MessageBoxInfo box;
        ASSERT_TRUE(tool.wait_box(&box));
        EXPECT_EQ(box.text, "The voice file path is longer than " + std::to_string(row.limit) +
                                " characters. Move the file to a shorter path.");
        EXPECT_EQ(box.caption, "Voice File Not Set");
        EXPECT_NE(box_icon(box.hwnd), nullptr) << "the refusal is a warning";
        ASSERT_TRUE(wd::dismiss(box));
        EXPECT_TRUE(pd::wait_text(chooser_edit, "")) << "the refused path stays in its chooser";
        EXPECT_EQ(wd::text(wd::child(dlg, row.display)), kOldVoice);

        // Nothing of the refused path is left to be offered by a later cancelled browse.
        ASSERT_TRUE(pd::press_chooser(chooser));
        ASSERT_TRUE(tool.cancel_file());
        ASSERT_TRUE(pd::drain_posted(chooser_edit));
        EXPECT_TRUE(tool.expect_no_box());
        EXPECT_EQ(wd::text(wd::child(dlg, row.display)), kOldVoice);

        ASSERT_TRUE(wd::click(wd::child(dlg, IDCANCEL)));
        ASSERT_TRUE(tool.expect_box(row.cancelled_text, row.cancelled_caption));
        EXPECT_TRUE(tool.expect_exit(0));
    }
}

}  // namespace
