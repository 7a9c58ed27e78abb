// The configuration record's layout: one table of lines and one table of fields.
// Every offset anywhere in the system is computed from these two tables; the
// static_asserts at the end prove that they add up to the fixed 30054-byte image
// with its 195 line feeds in the right places.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zel {

inline constexpr std::size_t kRecordSize = 30054;  // bytes of the in-memory image
inline constexpr std::size_t kLineFeedCount = 195;
inline constexpr std::size_t kDiskSize = kRecordSize + kLineFeedCount;  // each LF stored as CR LF

// Lines of the record, in record order.
enum class Line : std::uint8_t {
    info1, info2, info3, general, lock,
    open_greeting, closed_greeting, wrong_ext, transfer, system_error, no_input,
    holiday, special, weekday, route,
    special_open, special_closed, holiday_greeting,
    count_
};

struct LineDef {
    const char* name;
    std::uint16_t first;   // offset of the first line of the group
    std::uint16_t length;  // bytes per line, line feed included
    std::uint16_t count;   // lines in the group (the valid index range is 0..count-1)
};

inline constexpr LineDef kLines[] = {
    {"info_line_1", 0, 71, 1},
    {"info_line_2", 71, 71, 1},
    {"info_line_3", 142, 71, 1},
    {"general", 213, 113, 1},
    {"lock", 326, 38, 1},
    {"open_greeting", 364, 154, 1},
    {"closed_greeting", 518, 154, 1},
    {"wrong_ext", 672, 154, 1},
    {"transfer", 826, 154, 1},
    {"system_error", 980, 154, 1},
    {"no_input", 1134, 154, 1},
    {"holiday", 1288, 61, 60},
    {"special", 4948, 131, 54},
    {"weekday", 12022, 110, 7},
    {"route", 12792, 280, 60},
    {"special_open", 29592, 154, 1},
    {"special_closed", 29746, 154, 1},
    {"holiday_greeting", 29900, 154, 1},
};

// Fields, in record order. The names are the ones operators and `zelcfg` use.
enum class Field : std::uint8_t {
    info_line_1, info_line_2, info_line_3,
    general_label, answer_ring, int_transfer_delay, ext_transfer_delay, vox_type_label,
    vox_type_name, vox_type_index, validated_flag, outside_line_digit, default_port,
    lock_label, lock_reserved,
    open_greeting_label, open_greeting_vox,
    closed_greeting_label, closed_greeting_vox,
    wrong_ext_label, wrong_ext_vox,
    transfer_label, transfer_vox,
    system_error_label, system_error_vox,
    no_input_label, no_input_vox,
    holiday_label, holiday_date,
    special_label, special_date, special_open_time, special_close_time,
    weekday_label, day_name, day_closed, day_open_time, day_close_time,
    route_label, route_ext, route_vox, route_port, route_from_time, route_to_time, route_alt_number,
    special_open_label, special_open_vox,
    special_closed_label, special_closed_vox,
    holiday_greeting_label, holiday_vox,
    count_
};

enum class FieldKind : std::uint8_t {
    text,      // operator data
    label,     // fixed text written with a new record, never read back
    reserved,  // always NUL
};

struct FieldDef {
    const char* name;
    Line line;
    std::uint16_t offset;  // offset inside the line
    std::uint16_t width;   // slot width in bytes, terminating NUL included
    FieldKind kind;
    const char* initial;   // text in a new record (nullptr: empty); route labels use "trans %d"
};

inline constexpr FieldDef kFields[] = {
    {"info_line_1", Line::info1, 0, 70, FieldKind::text, "Warning Notice:"},
    {"info_line_2", Line::info2, 0, 70, FieldKind::text,
     "System Configuration File. Do Not Modify with manually"},
    {"info_line_3", Line::info3, 0, 70, FieldKind::text,
     "Written by the Plandesk configuration tool. Edit it with the tool."},
    {"general_label", Line::general, 0, 50, FieldKind::label,
     "answer on ring, trans int. delay & ext. delay"},
    {"answer_ring", Line::general, 50, 2, FieldKind::text, nullptr},
    {"int_transfer_delay", Line::general, 52, 2, FieldKind::text, nullptr},
    {"ext_transfer_delay", Line::general, 54, 5, FieldKind::text, nullptr},
    {"vox_type_label", Line::general, 59, 25, FieldKind::label, "Vox Type:"},
    {"vox_type_name", Line::general, 84, 10, FieldKind::text, nullptr},
    {"vox_type_index", Line::general, 94, 5, FieldKind::text, nullptr},
    {"validated_flag", Line::general, 99, 3, FieldKind::text, nullptr},
    {"outside_line_digit", Line::general, 102, 4, FieldKind::text, nullptr},
    {"default_port", Line::general, 106, 6, FieldKind::text, nullptr},
    {"lock_label", Line::lock, 0, 25, FieldKind::label, "Password lock"},
    {"lock_reserved", Line::lock, 25, 12, FieldKind::reserved, nullptr},
    {"open_greeting_label", Line::open_greeting, 0, 25, FieldKind::label, "Open Greeting:"},
    {"open_greeting_vox", Line::open_greeting, 25, 128, FieldKind::text, nullptr},
    {"closed_greeting_label", Line::closed_greeting, 0, 25, FieldKind::label, "Close Greeting:"},
    {"closed_greeting_vox", Line::closed_greeting, 25, 128, FieldKind::text, nullptr},
    {"wrong_ext_label", Line::wrong_ext, 0, 25, FieldKind::label, "Wrong Ext:"},
    {"wrong_ext_vox", Line::wrong_ext, 25, 128, FieldKind::text, nullptr},
    {"transfer_label", Line::transfer, 0, 25, FieldKind::label, "General Tx:"},
    {"transfer_vox", Line::transfer, 25, 128, FieldKind::text, nullptr},
    {"system_error_label", Line::system_error, 0, 25, FieldKind::label, "System Er:"},
    {"system_error_vox", Line::system_error, 25, 128, FieldKind::text, nullptr},
    {"no_input_label", Line::no_input, 0, 25, FieldKind::label, "No Inputs:"},
    {"no_input_vox", Line::no_input, 25, 128, FieldKind::text, nullptr},
    {"holiday_label", Line::holiday, 0, 25, FieldKind::label, "Holiday Cls:"},
    {"holiday_date", Line::holiday, 25, 35, FieldKind::text, nullptr},
    {"special_label", Line::special, 0, 25, FieldKind::label, "Sp.Hour:"},
    {"special_date", Line::special, 25, 35, FieldKind::text, nullptr},
    {"special_open_time", Line::special, 60, 35, FieldKind::text, nullptr},
    {"special_close_time", Line::special, 95, 35, FieldKind::text, nullptr},
    {"weekday_label", Line::weekday, 0, 25, FieldKind::label, "Regular hrs:"},
    {"day_name", Line::weekday, 25, 6, FieldKind::text, nullptr},
    {"day_closed", Line::weekday, 31, 5, FieldKind::text, nullptr},
    {"day_open_time", Line::weekday, 36, 38, FieldKind::text, "11:11:11 AM"},
    {"day_close_time", Line::weekday, 74, 35, FieldKind::text, "11:11:11 PM"},
    {"route_label", Line::route, 0, 25, FieldKind::label, "trans %d"},
    {"route_ext", Line::route, 25, 6, FieldKind::text, nullptr},
    {"route_vox", Line::route, 31, 128, FieldKind::text, nullptr},
    {"route_port", Line::route, 159, 25, FieldKind::text, nullptr},
    {"route_from_time", Line::route, 184, 35, FieldKind::text, nullptr},
    {"route_to_time", Line::route, 219, 35, FieldKind::text, nullptr},
    {"route_alt_number", Line::route, 254, 25, FieldKind::text, nullptr},
    {"special_open_label", Line::special_open, 0, 25, FieldKind::label, "Sp. Open Hr:"},
    {"special_open_vox", Line::special_open, 25, 128, FieldKind::text, nullptr},
    {"special_closed_label", Line::special_closed, 0, 25, FieldKind::label, "Sp. Close Hr:"},
    {"special_closed_vox", Line::special_closed, 25, 128, FieldKind::text, nullptr},
    {"holiday_greeting_label", Line::holiday_greeting, 0, 25, FieldKind::label, "Holiday Closed:"},
    {"holiday_vox", Line::holiday_greeting, 25, 128, FieldKind::text, nullptr},
};

constexpr const LineDef& line_def(Line l) { return kLines[static_cast<std::size_t>(l)]; }
constexpr const FieldDef& field_def(Field f) { return kFields[static_cast<std::size_t>(f)]; }

// Number of lines a field repeats over (1 for the single lines).
constexpr int field_count(Field f) { return line_def(field_def(f).line).count; }

// Record offset of the field's slot in line `index` of its group.
constexpr std::size_t field_offset(Field f, int index = 0)
{
    const FieldDef& d = field_def(f);
    const LineDef& l = line_def(d.line);
    return std::size_t{l.first} + std::size_t{l.length} * static_cast<std::size_t>(index) + d.offset;
}

// Offset of the line feed that ends line `index` of a group.
constexpr std::size_t line_feed_offset(Line l, int index = 0)
{
    const LineDef& d = line_def(l);
    return std::size_t{d.first} + std::size_t{d.length} * static_cast<std::size_t>(index) + d.length - 1;
}

namespace layout_check {

constexpr bool lines_are_contiguous()
{
    std::size_t at = 0;
    for (const LineDef& l : kLines) {
        if (l.first != at) return false;
        at += std::size_t{l.length} * l.count;
    }
    return at == kRecordSize;
}

constexpr std::size_t line_feeds()
{
    std::size_t n = 0;
    for (const LineDef& l : kLines) n += l.count;
    return n;
}

// The fields of each line follow each other from offset 0 and end just before its line feed.
constexpr bool fields_fill_their_lines()
{
    for (std::size_t li = 0; li < static_cast<std::size_t>(Line::count_); ++li) {
        std::size_t at = 0;
        Line previous = Line::count_;
        for (const FieldDef& f : kFields) {
            if (f.line < previous && previous != Line::count_) return false;  // record order
            previous = f.line;
            if (static_cast<std::size_t>(f.line) != li) continue;
            if (f.offset != at || f.width == 0) return false;
            at += f.width;
        }
        if (at + 1 != kLines[li].length) return false;
    }
    return true;
}

}  // namespace layout_check

static_assert(sizeof(kLines) / sizeof(kLines[0]) == static_cast<std::size_t>(Line::count_));
static_assert(sizeof(kFields) / sizeof(kFields[0]) == static_cast<std::size_t>(Field::count_));
static_assert(layout_check::lines_are_contiguous(), "lines must tile the 30054-byte record");
static_assert(layout_check::line_feeds() == kLineFeedCount, "the record has 195 line feeds");
static_assert(layout_check::fields_fill_their_lines(), "fields must tile each line up to its LF");
// The line feeds that the record's description lists one by one.
static_assert(line_feed_offset(Line::info1) == 70 && line_feed_offset(Line::info2) == 141 &&
              line_feed_offset(Line::info3) == 212 && line_feed_offset(Line::general) == 325 &&
              line_feed_offset(Line::lock) == 363);
static_assert(line_feed_offset(Line::open_greeting) == 517 && line_feed_offset(Line::no_input) == 1287);
static_assert(line_feed_offset(Line::holiday, 59) == 1288 + 61 * 59 + 60);
static_assert(line_feed_offset(Line::special, 53) == 4948 + 131 * 53 + 130);
static_assert(line_feed_offset(Line::weekday, 6) == 12022 + 110 * 6 + 109);
static_assert(line_feed_offset(Line::route, 59) == 12792 + 280 * 59 + 279);
static_assert(line_feed_offset(Line::special_open) == 29745 && line_feed_offset(Line::special_closed) == 29899 &&
              line_feed_offset(Line::holiday_greeting) == kRecordSize - 1);
static_assert(field_offset(Field::validated_flag) == 312 && field_offset(Field::vox_type_index) == 307 &&
              field_offset(Field::default_port) == 319 && field_offset(Field::no_input_vox) == 1159 &&
              field_offset(Field::holiday_vox) == 29925);

}  // namespace zel
