// The call route dialog's controls: loading them from the record, the chooser buttons,
// "Clear All Selection", Save and Cancel with their boxes.
#include "call_route_dlg.h"

#include <commctrl.h>

#include <string>

#include "dialog_end_boxes.h"
#include "time_picker.h"
#include "picker_value.h"
#include "voice_path.h"

namespace {

struct RouteRowIds {
    int ext, chooser, voice, port, from, to, alt;
};

constexpr RouteRowIds kRowIds[zel::kRouteRows] = {
    {IDC_ROUTE_ROW_1},  {IDC_ROUTE_ROW_2},  {IDC_ROUTE_ROW_3},  {IDC_ROUTE_ROW_4},
    {IDC_ROUTE_ROW_5},  {IDC_ROUTE_ROW_6},  {IDC_ROUTE_ROW_7},  {IDC_ROUTE_ROW_8},
    {IDC_ROUTE_ROW_9},  {IDC_ROUTE_ROW_10}, {IDC_ROUTE_ROW_11}, {IDC_ROUTE_ROW_12},
    {IDC_ROUTE_ROW_13}, {IDC_ROUTE_ROW_14}, {IDC_ROUTE_ROW_15}, {IDC_ROUTE_ROW_16},
};

const zel::DialogEndTexts& end_texts()
{
    static const zel::DialogEndTexts texts{
        {std::string(22, ' ') + "SAVED", "Extension Routing Configuration Updated"},
        {"Please Restart Program To Set Configuration", "Extension Routing Configuration Save/Validate"},
        {std::string(29, ' ') + "Restart Program To Recover Old Configuration",
         "A Change in Extension Routing Configuration has beed detected, but no save is requested."},
        // A voice chosen here may have moved the current folder even without a file.
        true,
    };
    return texts;
}

}  // namespace

bool CCallRouteDlg::voice_changed_ = false;

CCallRouteDlg::CCallRouteDlg() : WithHandlers(IDD_CALL_ROUTE) {}

std::span<const zf::Handler<CCallRouteDlg>> CCallRouteDlg::handlers()
{
    static constexpr zf::Handler<CCallRouteDlg> table[] = {
        zf::on_command(kRowIds[0].chooser, &CCallRouteDlg::OnRouteVoice<0>),
        zf::on_command(kRowIds[1].chooser, &CCallRouteDlg::OnRouteVoice<1>),
        zf::on_command(kRowIds[2].chooser, &CCallRouteDlg::OnRouteVoice<2>),
        zf::on_command(kRowIds[3].chooser, &CCallRouteDlg::OnRouteVoice<3>),
        zf::on_command(kRowIds[4].chooser, &CCallRouteDlg::OnRouteVoice<4>),
        zf::on_command(kRowIds[5].chooser, &CCallRouteDlg::OnRouteVoice<5>),
        zf::on_command(kRowIds[6].chooser, &CCallRouteDlg::OnRouteVoice<6>),
        zf::on_command(kRowIds[7].chooser, &CCallRouteDlg::OnRouteVoice<7>),
        zf::on_command(kRowIds[8].chooser, &CCallRouteDlg::OnRouteVoice<8>),
        zf::on_command(kRowIds[9].chooser, &CCallRouteDlg::OnRouteVoice<9>),
        zf::on_command(kRowIds[10].chooser, &CCallRouteDlg::OnRouteVoice<10>),
        zf::on_command(kRowIds[11].chooser, &CCallRouteDlg::OnRouteVoice<11>),
        zf::on_command(kRowIds[12].chooser, &CCallRouteDlg::OnRouteVoice<12>),
        zf::on_command(kRowIds[13].chooser, &CCallRouteDlg::OnRouteVoice<13>),
        zf::on_command(kRowIds[14].chooser, &CCallRouteDlg::OnRouteVoice<14>),
        zf::on_command(kRowIds[15].chooser, &CCallRouteDlg::OnRouteVoice<15>),
        zf::on_command(IDC_ROUTE_ONE_VOX_BTN, &CCallRouteDlg::OnOneVoice),
        zf::on_command(IDC_ROUTE_NO_INPUT_BTN, &CCallRouteDlg::OnNoInputVoice),
        zf::on_command(IDC_ROUTE_CLEAR_ALL, &CCallRouteDlg::OnClearAll),
    };
    return table;
}

BOOL CCallRouteDlg::OnInitDialog()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    opened_ = {now.wHour, now.wMinute, now.wSecond};

    for (const RouteRowIds& ids : kRowIds) {
        SendMessageA(Item(ids.from), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kTimePickerFormat));
        SendMessageA(Item(ids.to), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kTimePickerFormat));
    }
    for (int k = 0; k < zel::kRouteRows; ++k) route_choosers_[static_cast<std::size_t>(k)].Attach(hwnd(), kRowIds[k].chooser);
    one_voice_chooser_.Attach(hwnd(), IDC_ROUTE_ONE_VOX_BTN);
    no_input_chooser_.Attach(hwnd(), IDC_ROUTE_NO_INPUT_BTN);

    if (edit_.begin(image_)) {
        form_ = zel::load_route_form(image_);
    } else {
        MessageBoxA(hwnd(), zel::kWorkingFileName, "Encounter Problem Opening", MB_OK);
        form_ = zel::RouteForm{};
    }
    ShowForm();
    return TRUE;
}

void CCallRouteDlg::ShowVoices()
{
    SetItemText(IDC_ROUTE_ONE_VOX, form_.transfer_vox);
    SetItemText(IDC_ROUTE_NO_INPUT_VOX, form_.no_input_vox);
    for (int k = 0; k < zel::kRouteRows; ++k) SetItemText(kRowIds[k].voice, form_.rows[static_cast<std::size_t>(k)].vox);
}

void CCallRouteDlg::ShowForm()
{
    SetItemText(IDC_ROUTE_DEFAULT_PORT, form_.default_port);
    for (int k = 0; k < zel::kRouteRows; ++k) {
        const zel::RouteRow& row = form_.rows[static_cast<std::size_t>(k)];
        const RouteRowIds& ids = kRowIds[k];
        SetItemText(ids.ext, row.ext);
        SetItemText(ids.port, row.port);
        SetItemText(ids.alt, row.alt);
        // A picker the record does not set shows the moment the dialog opened, and
        // stores it at Save.
        set_time_picker(Item(ids.from), row.from.value_or(opened_));
        set_time_picker(Item(ids.to), row.to.value_or(opened_));
    }
    ShowVoices();
}

void CCallRouteDlg::ReadForm()
{
    form_.transfer_vox = ItemText(IDC_ROUTE_ONE_VOX);
    form_.no_input_vox = ItemText(IDC_ROUTE_NO_INPUT_VOX);
    form_.default_port = ItemText(IDC_ROUTE_DEFAULT_PORT);
    for (int k = 0; k < zel::kRouteRows; ++k) {
        zel::RouteRow& row = form_.rows[static_cast<std::size_t>(k)];
        const RouteRowIds& ids = kRowIds[k];
        row.ext = ItemText(ids.ext);
        row.vox = ItemText(ids.voice);
        row.port = ItemText(ids.port);
        row.alt = ItemText(ids.alt);
        row.from = time_picker_value(Item(ids.from));
        row.to = time_picker_value(Item(ids.to));
    }
}

zel::VoiceChoice CCallRouteDlg::TakeChoice(CVoiceFileChooser& chooser)
{
    // The file dialog may have moved the current folder even when nothing is taken, so
    // every use of a chooser makes leaving the dialog end the tool.
    voice_changed_ = true;
    return TakeVoiceChoice(chooser, hwnd(), zel::kRouteVoiceLimit);
}

void CCallRouteDlg::ChooseRouteVoice(int route)
{
    const zel::VoiceChoice choice = TakeChoice(route_choosers_[static_cast<std::size_t>(route)]);
    if (zel::choose_route_voice(form_, image_, route, choice))
        SetItemText(kRowIds[route].voice, form_.rows[static_cast<std::size_t>(route)].vox);
}

void CCallRouteDlg::OnOneVoice()
{
    if (zel::choose_one_voice(form_, image_, TakeChoice(one_voice_chooser_))) ShowVoices();
}

void CCallRouteDlg::OnNoInputVoice()
{
    if (zel::choose_no_input_voice(form_, image_, TakeChoice(no_input_chooser_)))
        SetItemText(IDC_ROUTE_NO_INPUT_VOX, form_.no_input_vox);
}

void CCallRouteDlg::OnClearAll()
{
    zel::clear_all_selection(form_);
    ShowVoices();
}

void CCallRouteDlg::OnOK()
{
    zel::CommitResult result = zel::CommitResult::not_open;
    if (edit_.is_open()) {
        ReadForm();
        zel::save_route_form(form_, image_, opened_);
        result = edit_.commit(image_);
    }
    // The dialog goes first; its boxes then belong to the main window.
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    EndDialog(IDOK);
    ShowDialogEnd(owner, zel::plan_confirm(end_texts(), result, edit_.fault(), voice_changed_));
}

void CCallRouteDlg::OnCancel()
{
    edit_.abandon();
    // The restart box asks over the dialog, which ends with the tool when it is dismissed.
    ShowDialogEnd(hwnd(), zel::plan_cancel(end_texts(), voice_changed_));
    EndDialog(IDCANCEL);
}
