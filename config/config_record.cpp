// The record image: defaults, structure repair and bounded field access.
#include "config_record.h"

#include <cstdio>
#include <cstring>

#include "text_number.h"

namespace zel {

namespace {

std::string initial_text(const FieldDef& d, Field f, int index)
{
    if (d.initial == nullptr) return {};
    if (f != Field::route_label) return d.initial;
    char text[32];
    std::snprintf(text, sizeof text, "trans %d", index);
    return text;
}

void write_initial(ConfigRecord& rec, const FieldDef& d, Field f, int index)
{
    if (d.initial == nullptr) return;
    set_field(rec, f, index, initial_text(d, f, index));
}

void lay_line_feeds(ConfigRecord& rec)
{
    for (int li = 0; li < static_cast<int>(Line::count_); ++li) {
        const Line l = static_cast<Line>(li);
        for (int i = 0; i < line_def(l).count; ++i) rec.bytes[line_feed_offset(l, i)] = '\n';
    }
}

}  // namespace

ConfigRecord default_record()
{
    ConfigRecord rec;
    lay_line_feeds(rec);
    for (int fi = 0; fi < static_cast<int>(Field::count_); ++fi) {
        const Field f = static_cast<Field>(fi);
        for (int i = 0; i < field_count(f); ++i) write_initial(rec, field_def(f), f, i);
    }
    return rec;
}

void make_sound(ConfigRecord& rec)
{
    lay_line_feeds(rec);
    for (int fi = 0; fi < static_cast<int>(Field::count_); ++fi) {
        const Field f = static_cast<Field>(fi);
        const FieldDef& d = field_def(f);
        const std::size_t width = d.width;
        for (int i = 0; i < field_count(f); ++i) {
            unsigned char* slot = &rec.bytes[field_offset(f, i)];
            if (d.kind == FieldKind::label) {
                // A label that reads right keeps whatever follows its NUL.
                if (get_field(rec, f, i) != initial_text(d, f, i)) {
                    std::memset(slot, 0, width);
                    write_initial(rec, d, f, i);
                }
            }
            bool terminated = false;
            for (std::size_t k = 0; k < width; ++k) {
                if (is_forbidden_byte(slot[k])) slot[k] = 0;
                if (slot[k] == 0) terminated = true;
            }
            if (!terminated) slot[width - 1] = 0;
        }
    }
}

bool valid_index(Field f, int index)
{
    return f < Field::count_ && index >= 0 && index < field_count(f);
}

bool is_forbidden_byte(unsigned char c)
{
    return c == 0x0A || c == 0x0D || c == 0x1A;
}

std::string get_field(const ConfigRecord& rec, Field f, int index)
{
    if (!valid_index(f, index)) return {};
    const unsigned char* slot = &rec.bytes[field_offset(f, index)];
    const std::size_t width = field_def(f).width;
    std::size_t n = 0;
    while (n < width && slot[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(slot), n);
}

SetResult set_field(ConfigRecord& rec, Field f, int index, std::string_view text)
{
    if (!valid_index(f, index)) return SetResult::bad_index;
    for (char c : text) {
        if (is_forbidden_byte(static_cast<unsigned char>(c))) return SetResult::forbidden;
    }
    const std::size_t room = field_def(f).width - 1u;
    const std::size_t n = text.size() < room ? text.size() : room;
    unsigned char* slot = &rec.bytes[field_offset(f, index)];
    std::memcpy(slot, text.data(), n);
    slot[n] = 0;
    return text.size() > room ? SetResult::cut : SetResult::ok;
}

int field_number(const ConfigRecord& rec, Field f, int index)
{
    return leading_number(get_field(rec, f, index));
}

std::optional<Field> field_by_name(std::string_view name)
{
    for (int fi = 0; fi < static_cast<int>(Field::count_); ++fi) {
        if (name == kFields[fi].name) return static_cast<Field>(fi);
    }
    return std::nullopt;
}

}  // namespace zel
