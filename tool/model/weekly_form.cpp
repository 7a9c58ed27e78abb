// The weekly operation dialog's mapping.
#include "weekly_form.h"

#include "form_store.h"
#include "picker_value.h"
#include "voice_path.h"

namespace zel {

namespace {

constexpr std::array<Field, 4> kVoiceFields{Field::open_greeting_vox, Field::closed_greeting_vox,
                                            Field::wrong_ext_vox, Field::system_error_vox};

}  // namespace

WeeklyForm load_weekly_form(const ConfigRecord& rec)
{
    WeeklyForm form;
    for (std::size_t v = 0; v < kVoiceFields.size(); ++v) form.voices[v] = get_field(rec, kVoiceFields[v]);
    for (int d = 0; d < 7; ++d) {
        WeeklyDay& day = form.days[static_cast<std::size_t>(d)];
        day.open = read_picker_time(get_field(rec, Field::day_open_time, d));
        day.close = read_picker_time(get_field(rec, Field::day_close_time, d));
        // Both characters are read as one number: "01" is closed, "00" or nothing open.
        day.closed = field_number(rec, Field::day_closed, d) == 1;
    }
    return form;
}

void save_weekly_form(const WeeklyForm& form, ConfigRecord& rec, const TimeOfDay& initial)
{
    for (std::size_t v = 0; v < kVoiceFields.size(); ++v) {
        store_cut(rec, kVoiceFields[v], form.voices[v], kWeeklyVoiceLimit);
    }
    for (int d = 0; d < 7; ++d) {
        const WeeklyDay& day = form.days[static_cast<std::size_t>(d)];
        // The NUL after the two characters keeps a third character from an older writer
        // from turning "01" into a number other than 1 on the next load.
        set_field(rec, Field::day_closed, d, day.closed ? "01" : "00");
        if (day.closed) continue;
        store_cut(rec, Field::day_open_time, d, picker_time_text(day.open, initial), kWeeklyTimeLimit);
        store_cut(rec, Field::day_close_time, d, picker_time_text(day.close, initial), kWeeklyTimeLimit);
        set_field(rec, Field::day_name, d, kDayNames[static_cast<std::size_t>(d)]);
    }
}

}  // namespace zel
