// Records the tests build again and again.
#include "test_records.h"

#include "record_layout.h"

namespace testrec {

bool put(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& text, std::string* why)
{
    if (zel::set_field(rec, f, index, text) == zel::SetResult::ok) return true;
    if (why) *why = std::string(zel::field_def(f).name) + "[" + std::to_string(index) + "] = " + text;
    return false;
}

zel::ConfigRecord open_every_day()
{
    using zel::Field;
    zel::ConfigRecord r = zel::default_record();
    const struct {
        Field f;
        const char* text;
    } fields[] = {
        {Field::validated_flag, "1"},     {Field::vox_type_index, "2"},     {Field::vox_type_name, "DRT_8KHZ"},
        {Field::answer_ring, "1"},        {Field::int_transfer_delay, "2"}, {Field::ext_transfer_delay, "3"},
        {Field::default_port, "100"},
    };
    for (const auto& f : fields) put(r, f.f, 0, f.text);
    static const char* const kDays[] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        put(r, Field::day_name, d, kDays[d]);
        put(r, Field::day_closed, d, "00");
        put(r, Field::day_open_time, d, "12:00:00 AM");
        put(r, Field::day_close_time, d, "11:59:00 PM");
    }
    return r;
}

}  // namespace testrec
