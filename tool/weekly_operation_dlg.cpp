// The weekly operation dialog's controls: the four voices and their choosers, the seven
// day rows with their time pickers, Save and Cancel with their boxes.
#include "weekly_operation_dlg.h"

#include <commctrl.h>

#include <string>

#include "dialog_end.h"
#include "dialog_end_boxes.h"
#include "time_picker.h"
#include "picker_value.h"
#include "voice_path.h"

namespace {

struct VoiceIds {
    int edit, chooser;
};

// In the order of zel::WeeklyVoice.
constexpr VoiceIds kVoiceIds[] = {
    {IDC_WEEKLY_OPEN_VOX, IDC_WEEKLY_OPEN_BTN},
    {IDC_WEEKLY_CLOSED_VOX, IDC_WEEKLY_CLOSED_BTN},
    {IDC_WEEKLY_WRONG_EXT_VOX, IDC_WEEKLY_WRONG_EXT_BTN},
    {IDC_WEEKLY_ERROR_VOX, IDC_WEEKLY_ERROR_BTN},
};

struct DayIds {
    int closed, opens, closes;
};

constexpr DayIds kDayIds[7] = {
    {IDC_WEEKLY_DAY_1}, {IDC_WEEKLY_DAY_2}, {IDC_WEEKLY_DAY_3}, {IDC_WEEKLY_DAY_4},
    {IDC_WEEKLY_DAY_5}, {IDC_WEEKLY_DAY_6}, {IDC_WEEKLY_DAY_7},
};

const zel::DialogEndTexts& end_texts()
{
    static const zel::DialogEndTexts texts{
        {std::string(22, ' ') + "SAVED", "Extension Routing Configuration Updated"},
        {"Restarting Program To Set Weekly Configuration", "Weekly Configuration Save/Validate"},
        {"Restart Program Without Update Configuration", "Weekly Configuration change detected"},
        // Without a working file, Save just closes: nothing was written to restart for.
        false,
    };
    return texts;
}

zel::TimeOfDay now()
{
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return zel::TimeOfDay{st.wHour, st.wMinute, st.wSecond};
}

}  // namespace

bool CWeeklyOperationDlg::voice_changed_ = false;

CWeeklyOperationDlg::CWeeklyOperationDlg() : WithHandlers(IDD_WEEKLY_OPERATION) {}

std::span<const zf::Handler<CWeeklyOperationDlg>> CWeeklyOperationDlg::handlers()
{
    using V = zel::WeeklyVoice;
    static constexpr zf::Handler<CWeeklyOperationDlg> table[] = {
        zf::on_command(IDC_WEEKLY_OPEN_BTN, &CWeeklyOperationDlg::OnBrowse<V::open_greeting>),
        zf::on_command(IDC_WEEKLY_CLOSED_BTN, &CWeeklyOperationDlg::OnBrowse<V::closed_greeting>),
        zf::on_command(IDC_WEEKLY_WRONG_EXT_BTN, &CWeeklyOperationDlg::OnBrowse<V::wrong_ext>),
        zf::on_command(IDC_WEEKLY_ERROR_BTN, &CWeeklyOperationDlg::OnBrowse<V::system_error>),
    };
    return table;
}

BOOL CWeeklyOperationDlg::OnInitDialog()
{
    for (std::size_t v = 0; v < choosers_.size(); ++v) choosers_[v].Attach(hwnd(), kVoiceIds[v].chooser);
    opened_ = now();
    // The format is given even without a working file, so the rows always read alike.
    for (const DayIds& ids : kDayIds) {
        SendMessageA(Item(ids.opens), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kTimePickerFormat));
        SendMessageA(Item(ids.closes), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kTimePickerFormat));
    }
    if (edit_.begin(image_)) ShowForm(zel::load_weekly_form(image_));
    return TRUE;
}

void CWeeklyOperationDlg::ShowForm(const zel::WeeklyForm& form)
{
    for (std::size_t v = 0; v < form.voices.size(); ++v) SetItemText(kVoiceIds[v].edit, form.voices[v]);
    for (std::size_t d = 0; d < form.days.size(); ++d) {
        const zel::WeeklyDay& day = form.days[d];
        // A time the reading rule cannot make a time of day leaves the picker as it was.
        if (day.open) set_time_picker(Item(kDayIds[d].opens), *day.open);
        if (day.close) set_time_picker(Item(kDayIds[d].closes), *day.close);
        CheckDlgButton(hwnd(), kDayIds[d].closed, day.closed ? BST_CHECKED : BST_UNCHECKED);
    }
}

zel::WeeklyForm CWeeklyOperationDlg::ReadForm() const
{
    zel::WeeklyForm form;
    for (std::size_t v = 0; v < form.voices.size(); ++v) form.voices[v] = ItemText(kVoiceIds[v].edit);
    for (std::size_t d = 0; d < form.days.size(); ++d) {
        zel::WeeklyDay& day = form.days[d];
        day.closed = IsDlgButtonChecked(hwnd(), kDayIds[d].closed) == BST_CHECKED;
        day.open = time_picker_value(Item(kDayIds[d].opens));
        day.close = time_picker_value(Item(kDayIds[d].closes));
    }
    return form;
}

void CWeeklyOperationDlg::ChooseVoice(zel::WeeklyVoice voice)
{
    const std::size_t v = static_cast<std::size_t>(voice);
    // A cancelled browse or a refused path leaves the voice the operator never meant to
    // touch; the refusal has had its box.
    const zel::VoiceChoice choice = TakeVoiceChoice(choosers_[v], hwnd(), zel::kWeeklyVoiceLimit);
    if (choice.action == zel::VoiceChoice::Action::set) SetItemText(kVoiceIds[v].edit, choice.text);
    // Whatever was taken, the file dialog may have moved the current folder.
    voice_changed_ = true;
}

void CWeeklyOperationDlg::OnOK()
{
    if (!edit_.is_open()) {
        EndDialog(IDOK);
        return;
    }
    zel::save_weekly_form(ReadForm(), image_, opened_);
    const zel::CommitResult result = edit_.commit(image_);
    ShowDialogEnd(hwnd(), zel::plan_confirm(end_texts(), result, edit_.fault(), voice_changed_));
    EndDialog(IDOK);
}

void CWeeklyOperationDlg::OnCancel()
{
    edit_.abandon();
    ShowDialogEnd(hwnd(), zel::plan_cancel(end_texts(), voice_changed_));
    EndDialog(IDCANCEL);
}
