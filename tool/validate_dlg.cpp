// The validation dialog: Report into the read-only box, the export behind
// "Set Configuration For Use", and the boxes for a file that cannot be used.
#include "validate_dlg.h"

#include "command_export.h"
#include "validation_report.h"
#include "working_file.h"

namespace {

// Relative, like the working file: it lands in the tool's current folder.
constexpr const char* kCommandFileName = "zel_system.cmd";

}  // namespace

std::span<const zf::Handler<CValidateDlg>> CValidateDlg::handlers()
{
    static constexpr zf::Handler<CValidateDlg> table[] = {
        zf::on_command(IDC_VALIDATE_SET_FOR_USE, &CValidateDlg::OnSetForUse),
    };
    return table;
}

BOOL CValidateDlg::OnInitDialog()
{
    // Each showing starts afresh: no report yet, so nothing may be exported.
    EnableWindow(Item(IDC_VALIDATE_SET_FOR_USE), FALSE);
    SetItemText(IDC_VALIDATE_REPORT, "");
    return TRUE;
}

void CValidateDlg::OnOK()
{
    // Enter still reaches here once the export has disabled Report.
    if (!IsWindowEnabled(Item(IDOK))) return;
    const zel::ReportRun run = zel::run_validation_report(zel::kWorkingFileName);
    if (!run.ok) {
        // The previous report and the buttons stay as they were.
        MessageBoxA(hwnd(), run.message.c_str(), run.caption.c_str(), MB_OK);
        return;
    }
    show_stopper_ = run.report.show_stopper;
    SetItemText(IDC_VALIDATE_REPORT, run.report.text());
    // A report never takes back an export it once allowed.
    if (!show_stopper_) EnableWindow(Item(IDC_VALIDATE_SET_FOR_USE), TRUE);
}

void CValidateDlg::OnSetForUse()
{
    if (!IsWindowEnabled(Item(IDC_VALIDATE_SET_FOR_USE))) return;
    const zel::ExportResult result =
        zel::export_command_file(zel::kWorkingFileName, kCommandFileName, &zel::reason_for);
    if (!result.ok) {
        // Nothing was exported; both buttons stay so the operator can mend the cause and retry.
        MessageBoxA(hwnd(), result.message.c_str(), zel::kExportFailedCaption, MB_OK);
        return;
    }
    // Only Close remains; move the focus there before its holder is disabled.
    SendMessageA(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    SendMessageA(hwnd(), DM_SETDEFID, IDCANCEL, 0);
    EnableWindow(Item(IDC_VALIDATE_SET_FOR_USE), FALSE);
    EnableWindow(Item(IDOK), FALSE);
}
