// CHolidayScheduleDlg: the "Holiday Schedules" dialog (template IDD_HOLIDAY_SCHEDULE). It
// owns its record image and its hold on the working file for one modal run and the three
// voice file choosers, and moves values between its controls and zel::HolidayForm, which
// decides what is shown and stored.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "config_record.h"
#include "dialog_end.h"
#include "framework/dialog.h"
#include "holiday_form.h"
#include "resource.h"
#include "text_number.h"
#include "voice_file_chooser.h"
#include "working_file.h"

class CHolidayScheduleDlg : public zf::WithHandlers<CHolidayScheduleDlg, zf::Dialog> {
public:
    CHolidayScheduleDlg();
    static std::span<const zf::Handler<CHolidayScheduleDlg>> handlers();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // One handler per chooser, bound to its control identifier.
    template <zel::HolidayVoice Voice>
    void OnBrowse() { ChooseVoice(Voice); }

    void ChooseVoice(zel::HolidayVoice voice);
    void ShowForm();
    void ReadForm();

    // Lasts for the whole process: once a voice was chosen here, leaving the dialog ends
    // the tool, so the flag is clear whenever the dialog opens.
    static bool voice_changed_;

    zel::ConfigRecord image_{};
    zel::WorkingFileEdit edit_;
    zel::HolidayForm form_;
    zel::TimeOfDay opened_{};  // what a time picker never set stores

    std::array<CVoiceFileChooser, 3> choosers_;  // indexed by zel::HolidayVoice
};
