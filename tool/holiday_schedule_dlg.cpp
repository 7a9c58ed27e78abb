// The holiday schedules dialog's controls: the pickers' formats and range, loading them
// from the record, the three choosers, Save and Cancel with their boxes.
#include "holiday_schedule_dlg.h"

#include <commctrl.h>

#include <string>

#include "dialog_end_boxes.h"
#include "time_picker.h"
#include "picker_value.h"
#include "voice_path.h"

namespace {

constexpr int kVoiceEdits[3] = {IDC_HOLIDAY_OPEN_VOX, IDC_HOLIDAY_CLOSED_VOX, IDC_HOLIDAY_HOLIDAY_VOX};
constexpr int kVoiceButtons[3] = {IDC_HOLIDAY_OPEN_BTN, IDC_HOLIDAY_CLOSED_BTN, IDC_HOLIDAY_HOLIDAY_BTN};

int special_picker(int j) { return IDC_HOLIDAY_SPECIAL_DATE + j; }
int holiday_picker(int i) { return IDC_HOLIDAY_HOLIDAY_DATE + i; }

const zel::DialogEndTexts& end_texts()
{
    static const zel::DialogEndTexts texts{
        {std::string(22, ' ') + "SAVED", "Holiday Schedule Routing Configuration Updated"},
        {"Restart Program To Set Configuration", "Holiday Schedule Configuration Save/Validate"},
        {"Restart Program To Set Configuration", "Holiday Schedule Configuration Change Detected"},
        false,
    };
    return texts;
}

void prepare_date_picker(HWND picker)
{
    // The bounds take in the whole of their days: the pickers compare the time of day too,
    // and a bound at midday would refuse the first day's date, loaded with its morning
    // time part, so that date would be lost at the next Save.
    SYSTEMTIME range[2] = {picker_time(zel::kFirstPickerDate, 0, 0, 0), picker_time(zel::kLastPickerDate, 23, 59, 59)};
    SendMessageA(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kDatePickerFormat));
}

// An empty picker is a line without a date.
void set_date_picker(HWND picker, const std::optional<zel::Date>& date)
{
    SYSTEMTIME st = picker_time(date.value_or(zel::kFirstPickerDate), 8, 8, 8);
    SendMessageA(picker, DTM_SETSYSTEMTIME, date ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(&st));
}

std::optional<zel::Date> date_picker_value(HWND picker)
{
    SYSTEMTIME st{};
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return std::nullopt;
    return zel::Date{st.wMonth, st.wDay, st.wYear};
}

}  // namespace

bool CHolidayScheduleDlg::voice_changed_ = false;

CHolidayScheduleDlg::CHolidayScheduleDlg() : WithHandlers(IDD_HOLIDAY_SCHEDULE) {}

std::span<const zf::Handler<CHolidayScheduleDlg>> CHolidayScheduleDlg::handlers()
{
    using V = zel::HolidayVoice;
    static constexpr zf::Handler<CHolidayScheduleDlg> table[] = {
        zf::on_command(IDC_HOLIDAY_OPEN_BTN, &CHolidayScheduleDlg::OnBrowse<V::special_open>),
        zf::on_command(IDC_HOLIDAY_CLOSED_BTN, &CHolidayScheduleDlg::OnBrowse<V::special_closed>),
        zf::on_command(IDC_HOLIDAY_HOLIDAY_BTN, &CHolidayScheduleDlg::OnBrowse<V::holiday>),
    };
    return table;
}

BOOL CHolidayScheduleDlg::OnInitDialog()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    opened_ = {now.wHour, now.wMinute, now.wSecond};

    SendMessageA(Item(IDC_HOLIDAY_OPEN_TIME), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kTimePickerFormat));
    SendMessageA(Item(IDC_HOLIDAY_CLOSE_TIME), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(zel::kTimePickerFormat));
    for (int j = 0; j < zel::kSpecialDays; ++j) prepare_date_picker(Item(special_picker(j)));
    for (int i = 0; i < zel::kHolidays; ++i) prepare_date_picker(Item(holiday_picker(i)));
    for (std::size_t v = 0; v < choosers_.size(); ++v) choosers_[v].Attach(hwnd(), kVoiceButtons[v]);

    // Without the file the dialog shows its initial values, and Save writes nothing.
    form_ = edit_.begin(image_) ? zel::load_holiday_form(image_) : zel::HolidayForm{};
    ShowForm();
    return TRUE;
}

void CHolidayScheduleDlg::ShowForm()
{
    if (form_.open_time) set_time_picker(Item(IDC_HOLIDAY_OPEN_TIME), *form_.open_time);
    if (form_.close_time) set_time_picker(Item(IDC_HOLIDAY_CLOSE_TIME), *form_.close_time);
    for (std::size_t v = 0; v < form_.voices.size(); ++v) SetItemText(kVoiceEdits[v], form_.voices[v]);
    for (int i = 0; i < zel::kHolidays; ++i)
        set_date_picker(Item(holiday_picker(i)), form_.holiday_dates[static_cast<std::size_t>(i)]);
    for (int j = 0; j < zel::kSpecialDays; ++j)
        set_date_picker(Item(special_picker(j)), form_.special_dates[static_cast<std::size_t>(j)]);
}

void CHolidayScheduleDlg::ReadForm()
{
    form_.open_time = time_picker_value(Item(IDC_HOLIDAY_OPEN_TIME));
    form_.close_time = time_picker_value(Item(IDC_HOLIDAY_CLOSE_TIME));
    for (std::size_t v = 0; v < form_.voices.size(); ++v) form_.voices[v] = ItemText(kVoiceEdits[v]);
    for (int i = 0; i < zel::kHolidays; ++i)
        form_.holiday_dates[static_cast<std::size_t>(i)] = date_picker_value(Item(holiday_picker(i)));
    for (int j = 0; j < zel::kSpecialDays; ++j)
        form_.special_dates[static_cast<std::size_t>(j)] = date_picker_value(Item(special_picker(j)));
}

void CHolidayScheduleDlg::ChooseVoice(zel::HolidayVoice voice)
{
    const std::size_t v = static_cast<std::size_t>(voice);
    // The file dialog may have moved the current folder even when nothing is taken, so
    // every use of a chooser makes leaving the dialog end the tool.
    voice_changed_ = true;
    const zel::VoiceChoice choice = TakeVoiceChoice(choosers_[v], hwnd(), zel::kHolidayVoiceLimit);
    // The record takes the edit box's text at Save.
    if (zel::apply_voice_choice(form_.voices[v], choice)) SetItemText(kVoiceEdits[v], form_.voices[v]);
}

void CHolidayScheduleDlg::OnOK()
{
    zel::CommitResult result = zel::CommitResult::not_open;
    if (edit_.is_open()) {
        ReadForm();
        zel::save_holiday_form(form_, image_, opened_);
        result = edit_.commit(image_);
    }
    // The dialog goes first; its boxes then belong to the main window.
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    EndDialog(IDOK);
    ShowDialogEnd(owner, zel::plan_confirm(end_texts(), result, edit_.fault(), voice_changed_));
}

void CHolidayScheduleDlg::OnCancel()
{
    edit_.abandon();
    // The restart box asks over the dialog, which ends with the tool when it is dismissed.
    ShowDialogEnd(hwnd(), zel::plan_cancel(end_texts(), voice_changed_));
    EndDialog(IDCANCEL);
}
