// What the operator sees when a configuration dialog ends: its confirmation, the box for a
// save that failed, and the voice-changed rule (restart message, then the tool ends).
// Portable: the Win32 shell shows the boxes in order and ends the process when told.
#pragma once

#include <string>
#include <vector>

#include "working_file.h"

namespace zel {

struct OperatorBox {
    std::string text;
    std::string caption;
    bool operator==(const OperatorBox&) const = default;
};

// A dialog's own messages; a box with an empty text is not shown.
struct DialogEndTexts {
    OperatorBox saved;                 // after a successful write
    OperatorBox restart_after_save;    // voice chosen, operator confirmed
    OperatorBox restart_after_cancel;  // voice chosen, operator cancelled
    // The call route dialog applies the voice-changed rule on confirm even when it never
    // held the file; the others just close.
    bool restart_without_file = false;
};

struct DialogEndPlan {
    std::vector<OperatorBox> boxes;  // shown one after the other, each with an OK button
    bool end_process = false;        // once the last box is closed: exit code 0
};

// "Could not save zel_system.cfg: <reason>", caption "Configuration Not Saved".
OperatorBox save_failure_box(const FileFault& fault);

// The box shown at start-up when the working file can neither be opened nor created.
OperatorBox unusable_working_file_box(const FileFault& fault);

DialogEndPlan plan_confirm(const DialogEndTexts& texts, CommitResult commit,
                           const FileFault& fault, bool voice_changed);
DialogEndPlan plan_cancel(const DialogEndTexts& texts, bool voice_changed);

}  // namespace zel
