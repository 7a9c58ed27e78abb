// How a configuration dialog ends: confirmation, the failed-save box in its place, and the
// voice-changed rule that ends the tool after its restart message.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "dialog_end.h"

using zel::CommitResult;
using zel::DialogEndPlan;
using zel::DialogEndTexts;
using zel::FileFault;
using zel::OperatorBox;

namespace {

const OperatorBox kSaved{"                      SAVED", "Extension Routing Configuration Updated"};
const OperatorBox kRestartSave{"Restarting Program To Set Weekly Configuration",
                               "Weekly Configuration Save/Validate"};
const OperatorBox kRestartCancel{"Restart Program Without Update Configuration",
                                 "Weekly Configuration change detected"};
const FileFault kDiskFull{ENOSPC, "No space left on device"};
const OperatorBox kNotSaved{"Could not save zel_system.cfg: No space left on device",
                            "Configuration Not Saved"};

DialogEndTexts weekly_texts()
{
    return {kSaved, kRestartSave, kRestartCancel, false};
}

DialogEndTexts route_texts()
{
    DialogEndTexts t = weekly_texts();
    t.restart_without_file = true;
    return t;
}

DialogEndTexts general_texts()
{
    return {{"                       Saved", "General System Configuration"}, {}, {}, false};
}

}  // namespace

TEST(DialogEnd, ConfirmShowsTheRightBoxesInOrder)
{
    const struct {
        const char* name;
        DialogEndTexts texts;
        CommitResult commit;
        bool voice_changed;
        std::vector<OperatorBox> boxes;
        bool ends;
    } cases[] = {
        {"saved", weekly_texts(), CommitResult::saved, false, {kSaved}, false},
        {"saved, voice chosen", weekly_texts(), CommitResult::saved, true, {kRestartSave}, true},
        {"write failed", weekly_texts(), CommitResult::failed, false, {kNotSaved}, false},
        {"write failed, voice chosen", weekly_texts(), CommitResult::failed, true,
         {kNotSaved, kRestartSave}, true},
        {"no file", weekly_texts(), CommitResult::not_open, false, {}, false},
        {"no file, voice chosen, weekly", weekly_texts(), CommitResult::not_open, true, {}, false},
        {"no file, voice chosen, call route", route_texts(), CommitResult::not_open, true,
         {kRestartSave}, true},
        {"no file, call route", route_texts(), CommitResult::not_open, false, {}, false},
        {"general saved", general_texts(), CommitResult::saved, false, {general_texts().saved}, false},
        {"general failed", general_texts(), CommitResult::failed, false, {kNotSaved}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DialogEndPlan plan = zel::plan_confirm(c.texts, c.commit, kDiskFull, c.voice_changed);
        EXPECT_EQ(c.boxes, plan.boxes);
        EXPECT_EQ(c.ends, plan.end_process);
    }
}

TEST(DialogEnd, CancelEndsTheToolOnlyAfterAVoiceWasChosen)
{
    DialogEndPlan plan = zel::plan_cancel(weekly_texts(), true);
    EXPECT_EQ(std::vector<OperatorBox>{kRestartCancel}, plan.boxes);
    EXPECT_TRUE(plan.end_process);

    plan = zel::plan_cancel(weekly_texts(), false);
    EXPECT_TRUE(plan.boxes.empty());
    EXPECT_FALSE(plan.end_process);
}

TEST(DialogEnd, FaultBoxesNameTheFileAndTheReason)
{
    const FileFault locked{EACCES, "The process cannot access the file because it is being used by another process."};
    EXPECT_EQ((OperatorBox{"Could not save zel_system.cfg: The process cannot access the file because it is "
                           "being used by another process.",
                           "Configuration Not Saved"}),
              zel::save_failure_box(locked));
    const OperatorBox startup = zel::unusable_working_file_box(locked);
    EXPECT_EQ(0u, startup.text.find("Could not open or create zel_system.cfg: The process cannot access"));
    EXPECT_FALSE(startup.caption.empty());
}
