// Storing a control's text into a record field under the dialog's own length limit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config_record.h"

namespace zel {

// The first `max` bytes of `text` (all of it when shorter).
std::string cut_text(std::string_view text, std::size_t max);

// Stores at most `max` bytes of `text` (and never more than the slot holds). Line feeds,
// carriage returns and 0x1A are dropped first: the record cannot hold them, and refusing
// the whole text would silently keep the old value instead.
void store_cut(ConfigRecord& rec, Field f, int index, std::string_view text, std::size_t max);
inline void store_cut(ConfigRecord& rec, Field f, std::string_view text, std::size_t max)
{
    store_cut(rec, f, 0, text, max);
}

}  // namespace zel
