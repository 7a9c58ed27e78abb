// CWeeklyOperationDlg: the "Greetings and Weekly Operation Hour Configuration" dialog
// (template IDD_WEEKLY_OPERATION). It owns its record image and its hold on the working
// file for one modal run, the four voice file choosers, and moves values between its
// controls and zel::WeeklyForm, which decides what is shown and stored.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "config_record.h"
#include "framework/dialog.h"
#include "resource.h"
#include "text_number.h"
#include "voice_file_chooser.h"
#include "weekly_form.h"
#include "working_file.h"

class CWeeklyOperationDlg : public zf::WithHandlers<CWeeklyOperationDlg, zf::Dialog> {
public:
    CWeeklyOperationDlg();
    static std::span<const zf::Handler<CWeeklyOperationDlg>> handlers();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // One handler per chooser, bound to its control identifier.
    template <zel::WeeklyVoice V>
    void OnBrowse() { ChooseVoice(V); }
    void ChooseVoice(zel::WeeklyVoice voice);
    void ShowForm(const zel::WeeklyForm& form);
    zel::WeeklyForm ReadForm() const;

    // Lasts for the whole process and is never cleared: after a choice the current folder
    // may be the voice's, so every later end of this dialog ends the tool.
    static bool voice_changed_;

    zel::ConfigRecord image_{};
    zel::WorkingFileEdit edit_;
    zel::TimeOfDay opened_{};  // what a picker shows before it is set
    std::array<CVoiceFileChooser, 4> choosers_;  // indexed by zel::WeeklyVoice
};
