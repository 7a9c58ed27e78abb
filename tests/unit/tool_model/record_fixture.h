// Records for the dialog tests: one whose every text slot is full, so a stray write
// shows, and the offsets where two records differ outside a set of fields.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "config_record.h"

namespace fixture {

// Every text field of every line filled to its last byte with letters that vary by
// field and line.
inline zel::ConfigRecord full_record()
{
    zel::ConfigRecord rec = zel::default_record();
    for (int fi = 0; fi < static_cast<int>(zel::Field::count_); ++fi) {
        const zel::Field f = static_cast<zel::Field>(fi);
        if (zel::field_def(f).kind != zel::FieldKind::text) continue;
        for (int i = 0; i < zel::field_count(f); ++i) {
            std::string text;
            for (std::size_t c = 0; c + 1 < zel::field_def(f).width; ++c) {
                text.push_back(static_cast<char>('a' + (fi * 7 + i * 3 + static_cast<int>(c)) % 26));
            }
            zel::set_field(rec, f, i, text);
        }
    }
    return rec;
}

inline bool inside(std::size_t offset, std::initializer_list<zel::Field> fields, int lines)
{
    for (zel::Field f : fields) {
        for (int i = 0; i < zel::field_count(f) && i < lines; ++i) {
            const std::size_t at = zel::field_offset(f, i);
            if (offset >= at && offset < at + zel::field_def(f).width) return true;
        }
    }
    return false;
}

// Offsets that changed outside the slots of `fields` (their first `lines` lines).
inline std::vector<std::size_t> changes_outside(const zel::ConfigRecord& before, const zel::ConfigRecord& after,
                                                std::initializer_list<zel::Field> fields, int lines = 1000)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < zel::kRecordSize; ++i) {
        if (before.bytes[i] != after.bytes[i] && !inside(i, fields, lines)) out.push_back(i);
    }
    return out;
}

}  // namespace fixture
