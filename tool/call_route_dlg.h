// CCallRouteDlg: the "Call Route Configuration" dialog (template IDD_CALL_ROUTE). It owns
// its record image and its hold on the working file for one modal run, the 18 voice file
// choosers, and moves values between its controls and zel::RouteForm, which decides
// everything about what is shown and stored.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "config_record.h"
#include "dialog_end.h"
#include "framework/dialog.h"
#include "resource.h"
#include "route_form.h"
#include "text_number.h"
#include "voice_file_chooser.h"
#include "working_file.h"

class CCallRouteDlg : public zf::WithHandlers<CCallRouteDlg, zf::Dialog> {
public:
    CCallRouteDlg();
    static std::span<const zf::Handler<CCallRouteDlg>> handlers();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    // One handler per chooser, bound to its control identifier.
    template <int Route>
    void OnRouteVoice() { ChooseRouteVoice(Route); }
    void OnOneVoice();
    void OnNoInputVoice();
    void OnClearAll();

    void ChooseRouteVoice(int route);
    // The chooser's outcome: refused paths get their box; every use counts as a change.
    zel::VoiceChoice TakeChoice(CVoiceFileChooser& chooser);
    void ShowVoices();
    void ShowForm();
    void ReadForm();


    // Lasts for the whole process: once a voice was chosen here, leaving the dialog ends
    // the tool, so the flag is clear whenever the dialog opens.
    static bool voice_changed_;

    zel::ConfigRecord image_{};
    zel::WorkingFileEdit edit_;
    zel::RouteForm form_;
    zel::TimeOfDay opened_{};  // what a picker never set shows and stores

    std::array<CVoiceFileChooser, zel::kRouteRows> route_choosers_;
    CVoiceFileChooser one_voice_chooser_;
    CVoiceFileChooser no_input_chooser_;
};
