// The weekly operation dialog's state: the four voice paths and the seven day rows, and
// what Save stores (a day saved closed keeps its old times and name).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config_record.h"
#include "text_number.h"

namespace zel {

// Day names as the runtime looks for them, Monday first ("WEN" for Wednesday).
inline constexpr std::array<const char*, 7> kDayNames{"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};

inline constexpr std::size_t kWeeklyTimeLimit = 32;

// The voices in the order of their edit boxes 1000, 1001, 1002, 1004.
enum class WeeklyVoice { open_greeting, closed_greeting, wrong_ext, system_error, count_ };

struct WeeklyDay {
    bool closed = false;              // the "closed all day" box
    std::optional<TimeOfDay> open;    // none: the picker keeps its initial value
    std::optional<TimeOfDay> close;
};

struct WeeklyForm {
    std::array<std::string, 4> voices;  // indexed by WeeklyVoice
    std::array<WeeklyDay, 7> days;      // Monday first
};

// The controls for a record; `WeeklyForm{}` is the dialog without a working file.
WeeklyForm load_weekly_form(const ConfigRecord& rec);

// Save. The voices are cut to 99 characters. Every day gets '0' then '1' (closed) or
// '0' then '0' (open) in day_closed; only an open day also gets its two times and its
// name. `initial` is the time an unset picker shows (the time the dialog opened).
void save_weekly_form(const WeeklyForm& form, ConfigRecord& rec, const TimeOfDay& initial);

}  // namespace zel
