// Building command records for runtime tests: a default record with fields set by
// name, each assignment checked so a test never runs on a silently cut value.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config_record.h"

namespace zel::test {

inline void put(ConfigRecord& rec, Field f, int index, const std::string& text)
{
    ASSERT_EQ(SetResult::ok, set_field(rec, f, index, text))
        << field_def(f).name << "[" << index << "] = " << text;
}

inline void put(ConfigRecord& rec, Field f, const std::string& text)
{
    put(rec, f, 0, text);
}

// The voice files of office_record().
inline const std::string kOpen = "C:\\vox\\open.vox";
inline const std::string kClosed = "C:\\vox\\closed.vox";
inline const std::string kSpOpen = "C:\\vox\\sp_open.vox";
inline const std::string kSpClosed = "C:\\vox\\sp_closed.vox";
inline const std::string kHoliday = "C:\\vox\\holiday.vox";
inline const std::string kWrong = "C:\\vox\\wrong.vox";
inline const std::string kNoInput = "C:\\vox\\noinput.vox";
inline const std::string kGoodbye = "C:\\vox\\syserr.vox";

// A validated record with distinct greeting files and a Monday-to-Sunday week open
// 09:00 to 17:00, as the configuration tool would leave it.
inline ConfigRecord office_record()
{
    ConfigRecord rec = default_record();
    put(rec, Field::open_greeting_vox, kOpen);
    put(rec, Field::closed_greeting_vox, kClosed);
    put(rec, Field::special_open_vox, kSpOpen);
    put(rec, Field::special_closed_vox, kSpClosed);
    put(rec, Field::holiday_vox, kHoliday);
    put(rec, Field::wrong_ext_vox, kWrong);
    put(rec, Field::no_input_vox, kNoInput);
    put(rec, Field::system_error_vox, kGoodbye);
    const char* names[7] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        put(rec, Field::day_name, d, names[d]);
        put(rec, Field::day_closed, d, "00");
        put(rec, Field::day_open_time, d, "09:00:00 AM");
        put(rec, Field::day_close_time, d, "05:00:00 PM");
    }
    put(rec, Field::validated_flag, "1");
    return rec;
}

}  // namespace zel::test
