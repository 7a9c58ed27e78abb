// The holiday schedules dialog's mapping.
#include "holiday_form.h"

#include "form_store.h"
#include "picker_value.h"
#include "voice_path.h"

namespace zel {

namespace {

constexpr std::array<Field, 3> kVoiceFields{Field::special_open_vox, Field::special_closed_vox,
                                            Field::holiday_vox};

constexpr std::size_t kShortestShownVoice = 5;

}  // namespace

HolidayForm load_holiday_form(const ConfigRecord& rec)
{
    HolidayForm form;
    form.open_time = read_picker_time(get_field(rec, Field::special_open_time, 0));
    form.close_time = read_picker_time(get_field(rec, Field::special_close_time, 0));
    for (std::size_t v = 0; v < kVoiceFields.size(); ++v) {
        std::string text = get_field(rec, kVoiceFields[v]);
        if (text.size() >= kShortestShownVoice) form.voices[v] = std::move(text);
    }
    for (int i = 0; i < kHolidays; ++i) {
        form.holiday_dates[static_cast<std::size_t>(i)] =
            read_picker_date(get_field(rec, Field::holiday_date, i), kFirstPickerDate, kLastPickerDate);
    }
    for (int j = 0; j < kSpecialDays; ++j) {
        form.special_dates[static_cast<std::size_t>(j)] =
            read_picker_date(get_field(rec, Field::special_date, j), kFirstPickerDate, kLastPickerDate);
    }
    return form;
}

void save_holiday_form(const HolidayForm& form, ConfigRecord& rec, const TimeOfDay& initial)
{
    const std::string open = picker_time_text(form.open_time, initial);
    const std::string close = picker_time_text(form.close_time, initial);
    for (int j = 0; j < kSpecialDays; ++j) {
        store_cut(rec, Field::special_open_time, j, open, kSpecialTimeLimit);
        store_cut(rec, Field::special_close_time, j, close, kSpecialTimeLimit);
    }
    for (std::size_t v = 0; v < kVoiceFields.size(); ++v) {
        store_cut(rec, kVoiceFields[v], form.voices[v], kHolidayVoiceLimit);
    }
    for (int i = 0; i < kHolidays; ++i) {
        store_cut(rec, Field::holiday_date, i, picker_date_text(form.holiday_dates[static_cast<std::size_t>(i)]),
                  kHolidayDateLimit);
    }
    for (int j = 0; j < kSpecialDays; ++j) {
        store_cut(rec, Field::special_date, j, picker_date_text(form.special_dates[static_cast<std::size_t>(j)]),
                  kHolidayDateLimit);
    }
}

}  // namespace zel
