// Builds a command record from fuzz input as a series of edits over the default record:
// raw bytes into any slot (with or without its NUL), and the well-formed texts that make
// the schedule rules fire (today's date in a special-hours or holiday line, today's name in
// a weekday line, a picker-style time), which mutation alone would rarely hit.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

#include "config_record.h"
#include "text_number.h"

namespace fuzzrec {

struct Today {
    std::string date;  // "MM/DD/YYYY"
    std::string day;   // "MON" ...
};

inline zel::ConfigRecord edited_record(FuzzedDataProvider& in, const Today& today)
{
    using zel::Field;
    zel::ConfigRecord rec = zel::default_record();
    const int edits = in.ConsumeIntegralInRange(0, 48);
    for (int e = 0; e < edits && in.remaining_bytes() > 0; ++e) {
        switch (in.ConsumeIntegralInRange(0, 4)) {
        case 0: {  // raw bytes, up to the whole slot
            const auto f = static_cast<Field>(in.ConsumeIntegralInRange(0, static_cast<int>(Field::count_) - 1));
            const int index = in.ConsumeIntegralInRange(0, zel::field_count(f) - 1);
            const std::size_t width = zel::field_def(f).width;
            const std::string bytes = in.ConsumeRandomLengthString(width);
            std::memcpy(&rec.bytes[zel::field_offset(f, index)], bytes.data(), bytes.size());
            break;
        }
        case 1: {  // today as a special-hours day or a holiday
            const bool special = in.ConsumeBool();
            const Field f = special ? Field::special_date : Field::holiday_date;
            zel::set_field(rec, f, in.ConsumeIntegralInRange(0, zel::field_count(f) - 1), today.date);
            break;
        }
        case 2:  // today's name on a weekday line, open or closed
            zel::set_field(rec, Field::day_name, in.ConsumeIntegralInRange(0, 6), today.day);
            break;
        case 3: {  // a time text as the picker writes it
            static constexpr Field kTimes[] = {Field::special_open_time, Field::special_close_time,
                                               Field::day_open_time,     Field::day_close_time,
                                               Field::route_from_time,   Field::route_to_time};
            const Field f = kTimes[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kTimes) - 1)];
            zel::TimeOfDay t;
            t.hour = in.ConsumeIntegralInRange(0, 23);
            t.minute = in.ConsumeIntegralInRange(0, 59);
            zel::set_field(rec, f, in.ConsumeIntegralInRange(0, zel::field_count(f) - 1), zel::format_time(t));
            break;
        }
        default: {  // a short text into a route's extension, port or alternate
            static constexpr Field kRoute[] = {Field::route_ext, Field::route_port, Field::route_alt_number,
                                               Field::route_vox, Field::day_closed};
            const Field f = kRoute[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kRoute) - 1)];
            zel::set_field(rec, f, in.ConsumeIntegralInRange(0, zel::field_count(f) - 1),
                           in.ConsumeRandomLengthString(8));
            break;
        }
        }
    }
    return rec;
}

}  // namespace fuzzrec
