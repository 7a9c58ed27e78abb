// The end-of-dialog rule shared by every configuration dialog.
#include "dialog_end.h"

namespace zel {

namespace {

void add(DialogEndPlan& plan, const OperatorBox& box)
{
    if (!box.text.empty()) plan.boxes.push_back(box);
}

void restart(DialogEndPlan& plan, const OperatorBox& box)
{
    add(plan, box);
    plan.end_process = true;
}

}  // namespace

OperatorBox save_failure_box(const FileFault& fault)
{
    return {std::string("Could not save ") + kWorkingFileName + ": " + fault.reason,
            "Configuration Not Saved"};
}

OperatorBox unusable_working_file_box(const FileFault& fault)
{
    return {std::string("Could not open or create ") + kWorkingFileName + ": " + fault.reason +
                "\nThe configuration dialogs cannot read or save the design until this is put right.",
            "Configuration File Unavailable"};
}

DialogEndPlan plan_confirm(const DialogEndTexts& texts, CommitResult commit,
                           const FileFault& fault, bool voice_changed)
{
    DialogEndPlan plan;
    switch (commit) {
    case CommitResult::saved:
        if (voice_changed)
            restart(plan, texts.restart_after_save);
        else
            add(plan, texts.saved);
        break;
    case CommitResult::failed:
        // Never the confirmation: the operator must know the design is not on disk.
        add(plan, save_failure_box(fault));
        if (voice_changed) restart(plan, texts.restart_after_save);
        break;
    case CommitResult::not_open:
        if (voice_changed && texts.restart_without_file) restart(plan, texts.restart_after_save);
        break;
    }
    return plan;
}

DialogEndPlan plan_cancel(const DialogEndTexts& texts, bool voice_changed)
{
    DialogEndPlan plan;
    if (voice_changed) restart(plan, texts.restart_after_cancel);
    return plan;
}

}  // namespace zel
