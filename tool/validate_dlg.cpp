// The validation dialog: Report into the read-only box, the export behind
// "Set Configuration For Use", and the boxes for a file that cannot be used.
#include "validate_dlg.h"

#include "command_export.h"
#include "validation_report.h"
#include "working_file.h"

namespace {

// Relative, like the working file: it lands in the tool's current folder.
constexpr const char* kCommandFileName = "zel_system.cmd";

// The report's pieces are padded with spaces so that each starts a line of its own when
// the box wraps at the right width of a fixed-pitch font: a 62-column piece with its
// spaces still fits on one line, and no piece's padding leaves room for the next piece's
// first word. The edit control wraps a little before the edge of its formatting
// rectangle, so the rectangle is wider than 62 columns (found by measuring the lines).
constexpr int kReportColumns = 64;

}  // namespace

std::span<const zf::Handler<CValidateDlg>> CValidateDlg::handlers()
{
    static constexpr zf::Handler<CValidateDlg> table[] = {
        zf::on_command(IDC_VALIDATE_SET_FOR_USE, &CValidateDlg::OnSetForUse),
        zf::on_message(WM_DESTROY, &CValidateDlg::OnDestroy),
    };
    return table;
}

BOOL CValidateDlg::OnInitDialog()
{
    // Each showing starts afresh: no report yet, so nothing may be exported.
    EnableWindow(Item(IDC_VALIDATE_SET_FOR_USE), FALSE);
    SetItemText(IDC_VALIDATE_REPORT, "");
    FitReportBox();
    return TRUE;
}

void CValidateDlg::FitReportBox()
{
    HWND box = Item(IDC_VALIDATE_REPORT);
    HDC dc = GetDC(box);
    if (dc == nullptr) return;
    const int height = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
    report_font_ = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    HFONT font = report_font_ != nullptr ? report_font_ : static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA tm{};
    HGDIOBJ old = SelectObject(dc, font);
    const bool measured = GetTextMetricsA(dc, &tm) != FALSE && (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    // Without a fixed-pitch font the columns cannot be counted: keep the template's font and width.
    if (!measured || tm.tmAveCharWidth <= 0) return;
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT format{};
    SendMessageA(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int wanted = kReportColumns * tm.tmAveCharWidth;
    if (format.right - format.left >= wanted) {
        format.right = format.left + wanted;
        SendMessageA(box, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
    }
    InvalidateRect(box, nullptr, TRUE);
}

LRESULT CValidateDlg::OnDestroy(WPARAM, LPARAM)
{
    // The box goes after the dialog: it must not keep a font that is gone.
    SendMessageA(Item(IDC_VALIDATE_REPORT), WM_SETFONT, 0, FALSE);
    if (report_font_ != nullptr) DeleteObject(report_font_);
    report_font_ = nullptr;
    return 0;
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
