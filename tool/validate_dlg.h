// CValidateDlg: the "Validate and Set Configuration For Use" dialog (template IDD_VALIDATE).
// Report runs the validation report on the working file and shows it; "Set Configuration
// For Use", offered only after a report without show-stoppers, exports the command file.
// The report text and the export itself are the portable model's; this class only moves
// them to and from its controls and shows the boxes.
#pragma once

#include <span>

#include "framework/dialog.h"
#include "resource.h"

class CValidateDlg : public zf::WithHandlers<CValidateDlg, zf::Dialog> {
public:
    CValidateDlg() : WithHandlers(IDD_VALIDATE) {}
    static std::span<const zf::Handler<CValidateDlg>> handlers();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;  // Report: the dialog stays open, so Enter reports again

private:
    void OnSetForUse();
    LRESULT OnDestroy(WPARAM, LPARAM);
    void FitReportBox();

    bool show_stopper_ = false;  // of the last report; cleared when a report starts
    HFONT report_font_ = nullptr;
};
