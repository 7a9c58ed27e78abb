// Field names as operators write them: "answer_ring" for a field of a single line,
// "route_ext[3]" for a field of an indexed group of lines.
#pragma once

#include <string>
#include <string_view>

#include "record_layout.h"

namespace zelcfg {

struct FieldRef {
    zel::Field field = zel::Field::count_;
    int index = 0;
};

// A group field needs its index and a single-line field takes none. On failure
// returns false with a problem text that quotes the name escaped.
bool parse_field_ref(std::string_view text, FieldRef& out, std::string& problem);

std::string format_field_ref(const FieldRef& ref);

// True when the field repeats over an indexed group of lines.
bool is_indexed(zel::Field f);

}  // namespace zelcfg
