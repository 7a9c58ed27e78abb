// The configuration record image and access to its fields by name and index.
// Both programs touch a record only through these functions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "record_layout.h"

namespace zel {

struct ConfigRecord {
    std::array<unsigned char, kRecordSize> bytes{};

    bool operator==(const ConfigRecord&) const = default;
};

// All NUL, then every label, default text, weekday time and line feed of a new record.
ConfigRecord default_record();

// Makes any image one that is written and read back unchanged and that every reader takes
// for a sound record: the 195 line feeds in place, every label that does not read as the
// default record's written afresh, every LF, CR and 0x1A inside a slot turned into NUL, and
// a slot without a NUL given one in its last byte (its text cut to width-1 bytes, as
// set_field would store it). An image that is already sound is left byte for byte.
void make_sound(ConfigRecord& rec);

// The field's text: its bytes up to the first NUL or the end of the slot.
// An index outside the field's range gives the empty text.
std::string get_field(const ConfigRecord& rec, Field f, int index = 0);

enum class SetResult {
    ok,
    cut,        // the text was longer than the slot holds; its first width-1 bytes were stored
    forbidden,  // the text holds LF, CR or 0x1A; nothing was stored
    bad_index,  // the index is outside the field's range; nothing was stored
};

// Copies at most width-1 bytes of `text` and a NUL into the slot; the rest of the
// slot is left as it was. Never writes outside the slot.
SetResult set_field(ConfigRecord& rec, Field f, int index, std::string_view text);
inline SetResult set_field(ConfigRecord& rec, Field f, std::string_view text)
{
    return set_field(rec, f, 0, text);
}

// Reads a field's text as a number by its leading decimal digits; no digits reads as 0.
int field_number(const ConfigRecord& rec, Field f, int index = 0);

bool valid_index(Field f, int index);

// Field lookup by its operator name ("route_ext").
std::optional<Field> field_by_name(std::string_view name);

// Bytes 0x0A, 0x0D and 0x1A cannot live in a record field.
bool is_forbidden_byte(unsigned char c);

}  // namespace zel
