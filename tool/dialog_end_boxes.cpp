// Message boxes and the process end for the end-of-dialog rule.
#include "dialog_end_boxes.h"

void ShowDialogEnd(HWND owner, const zel::DialogEndPlan& plan)
{
    for (const zel::OperatorBox& box : plan.boxes) MessageBoxA(owner, box.text.c_str(), box.caption.c_str(), MB_OK);
    // At once: the operator starts the tool again to pick up the new voice files.
    if (plan.end_process) ExitProcess(0);
}
