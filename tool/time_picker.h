// Moving a time of day in and out of a date-time picker of ours. The picker's date part
// is fixed (zel::kTimePickerDate) and never shown or stored.
#pragma once

#include <windows.h>

#include <optional>

#include "text_number.h"

// A SYSTEMTIME for a calendar date and a time of day.
SYSTEMTIME picker_time(const zel::Date& d, WORD hour, WORD minute, WORD second);

void set_time_picker(HWND picker, const zel::TimeOfDay& t);

// The picker's time of day, or none when it holds no valid time.
std::optional<zel::TimeOfDay> time_picker_value(HWND picker);
