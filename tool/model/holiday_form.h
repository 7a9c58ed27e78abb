// The holiday schedules dialog's state: the special-hours time pair, the three voices and
// the 54 special-hours and 60 holiday dates, and what Save stores.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config_record.h"
#include "text_number.h"

namespace zel {

inline constexpr int kSpecialDays = 54;
inline constexpr int kHolidays = 60;

// The range every date picker accepts. The upper bound lies far enough ahead that
// holidays of the coming years can be entered.
inline constexpr Date kFirstPickerDate{2, 8, 2007};
inline constexpr Date kLastPickerDate{12, 31, 2099};

inline constexpr std::size_t kHolidayDateLimit = 31;
inline constexpr std::size_t kSpecialTimeLimit = 29;

// The voices in the order of their edit boxes 1000, 1001, 1002.
enum class HolidayVoice { special_open, special_closed, holiday, count_ };

struct HolidayForm {
    std::optional<TimeOfDay> open_time;   // picker 1186; none: its initial value
    std::optional<TimeOfDay> close_time;  // picker 1187
    std::array<std::string, 3> voices;    // indexed by HolidayVoice
    // Pickers 1132 + j and 1188 + i. An empty picker is a line without a date.
    std::array<std::optional<Date>, kSpecialDays> special_dates;
    std::array<std::optional<Date>, kHolidays> holiday_dates;
};

// The controls for a record; `HolidayForm{}` is the dialog without a working file.
// The times come from special-hours line 0; a voice is shown only when it is longer than
// 4 characters; an empty, impossible or out-of-range stored date loads as an empty picker.
HolidayForm load_holiday_form(const ConfigRecord& rec);

// Save: the time pair into all 54 special-hours lines (`initial` stands for an unset
// time picker), the voices cut to 121, and every date line: "MM/DD/YYYY", or the empty
// text for an empty picker, so that no day becomes a holiday by accident.
void save_holiday_form(const HolidayForm& form, ConfigRecord& rec, const TimeOfDay& initial);

}  // namespace zel
