// What a time or date picker shows for a stored text, and the text it gives back.
// A picker the dialog could not set keeps its initial value: `std::nullopt` here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text_number.h"

namespace zel {

// The display formats the dialogs give their pickers.
inline constexpr const char* kTimePickerFormat = "hh':'mm':'ss' 'tt";
inline constexpr const char* kDatePickerFormat = "MM'/'dd'/'yyy";

// The meaningless date part handed to a time picker.
inline constexpr Date kTimePickerDate{8, 5, 2009};

// Hours 0-23, minutes and seconds 0-59.
bool is_valid_time(const TimeOfDay& t);

// The time reading rule (leading digits of characters 0-1, 3-4, 6-7; 'P'/'A' at 9).
// A text whose digits give no valid time of day leaves the picker unset.
std::optional<TimeOfDay> read_picker_time(std::string_view stored);

// The picker's display text: the time shown, or `initial` for a picker never set.
std::string picker_time_text(const std::optional<TimeOfDay>& shown, const TimeOfDay& initial);

// True when `a` is an earlier calendar day than `b`.
bool date_before(const Date& a, const Date& b);

// The date reading rule: a stored text that gives a real calendar date inside
// [first, last] loads as that date; anything else (empty text included) loads as empty.
std::optional<Date> read_picker_date(std::string_view stored, const Date& first, const Date& last);

// An empty picker gives the empty text; a set one "MM/DD/YYYY".
std::string picker_date_text(const std::optional<Date>& shown);

}  // namespace zel
