// CGeneralConfigDlg: the "General System Configuration" dialog (template IDD_GENERAL_CONFIG).
// It owns its record image and its hold on the working file for one modal run, and moves
// values between its controls and zel::GeneralForm, which decides what is shown and stored.
#pragma once

#include <windows.h>

#include <span>

#include "config_record.h"
#include "framework/dialog.h"
#include "general_form.h"
#include "resource.h"
#include "working_file.h"

class CGeneralConfigDlg : public zf::WithHandlers<CGeneralConfigDlg, zf::Dialog> {
public:
    CGeneralConfigDlg();
    static std::span<const zf::Handler<CGeneralConfigDlg>> handlers();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnVoxTypeChange();
    void OnPasswordClicked() {}  // the box is never shown or enabled
    void ShowForm(const zel::GeneralForm& form);
    zel::GeneralForm ReadForm() const;

    zel::ConfigRecord image_{};
    zel::WorkingFileEdit edit_;
};
