// The general system configuration dialog's controls: loading them from the record, the
// voice file type list, Save and Cancel.
#include "general_config_dlg.h"

#include <string>

#include "dialog_end.h"
#include "dialog_end_boxes.h"

namespace {

const zel::DialogEndTexts& end_texts()
{
    static const zel::DialogEndTexts texts{
        {std::string(23, ' ') + "Saved", "General System Configuration"},
        {},
        {},
        false,
    };
    return texts;
}

}  // namespace

CGeneralConfigDlg::CGeneralConfigDlg() : WithHandlers(IDD_GENERAL_CONFIG) {}

std::span<const zf::Handler<CGeneralConfigDlg>> CGeneralConfigDlg::handlers()
{
    static constexpr zf::Handler<CGeneralConfigDlg> table[] = {
        zf::on_command(IDC_GENERAL_VOX_TYPE, CBN_SELCHANGE, &CGeneralConfigDlg::OnVoxTypeChange),
        zf::on_command(IDC_GENERAL_PASSWORD, &CGeneralConfigDlg::OnPasswordClicked),
    };
    return table;
}

BOOL CGeneralConfigDlg::OnInitDialog()
{
    // The list's position is the stored index, so its order is the table's and unsorted.
    HWND types = Item(IDC_GENERAL_VOX_TYPE);
    for (const zel::VoxTypeEntry& t : zel::kVoxTypes) SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.entry));

    // Without a working file the dialog stays empty and Save writes nothing.
    if (edit_.begin(image_)) ShowForm(zel::load_general_form(image_));
    return TRUE;
}

void CGeneralConfigDlg::ShowForm(const zel::GeneralForm& form)
{
    SetItemText(IDC_GENERAL_INFO_LINE_1, form.info_line_1);
    SetItemText(IDC_GENERAL_INFO_LINE_2, form.info_line_2);
    SetItemText(IDC_GENERAL_INFO_LINE_3, form.info_line_3);
    SetItemText(IDC_GENERAL_ANSWER_RING, form.answer_ring);
    SetItemText(IDC_GENERAL_INT_DELAY, form.int_transfer_delay);
    SetItemText(IDC_GENERAL_EXT_DELAY, form.ext_transfer_delay);
    SetItemText(IDC_GENERAL_OUTSIDE_DIGIT, form.outside_line_digit);
    SendMessageA(Item(IDC_GENERAL_VOX_TYPE), CB_SETCURSEL, form.vox_type ? static_cast<WPARAM>(*form.vox_type) : static_cast<WPARAM>(-1), 0);
}

zel::GeneralForm CGeneralConfigDlg::ReadForm() const
{
    zel::GeneralForm form;
    form.info_line_1 = ItemText(IDC_GENERAL_INFO_LINE_1);
    form.info_line_2 = ItemText(IDC_GENERAL_INFO_LINE_2);
    form.info_line_3 = ItemText(IDC_GENERAL_INFO_LINE_3);
    form.outside_line_digit = ItemText(IDC_GENERAL_OUTSIDE_DIGIT);
    form.answer_ring = ItemText(IDC_GENERAL_ANSWER_RING);
    form.int_transfer_delay = ItemText(IDC_GENERAL_INT_DELAY);
    form.ext_transfer_delay = ItemText(IDC_GENERAL_EXT_DELAY);
    return form;
}

void CGeneralConfigDlg::OnVoxTypeChange()
{
    const LRESULT index = SendMessageA(Item(IDC_GENERAL_VOX_TYPE), CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) zel::select_vox_type(image_, static_cast<int>(index));
}

void CGeneralConfigDlg::OnOK()
{
    zel::CommitResult result = zel::CommitResult::not_open;
    if (edit_.is_open()) {
        zel::save_general_form(ReadForm(), image_);
        result = edit_.commit(image_);
    }
    ShowDialogEnd(hwnd(), zel::plan_confirm(end_texts(), result, edit_.fault(), false));
    EndDialog(IDOK);
}

void CGeneralConfigDlg::OnCancel()
{
    edit_.abandon();
    EndDialog(IDCANCEL);
}
