// Termination tables: the (kind, condition, value, flags) entries a caller passes with a
// play or a collection, reduced to the conditions this board honours.
#pragma once

#include "voicelib.h"

namespace simboard {

struct TermConditions {
    int digit_count = -1;      // end when this many keys are there; -1: no such condition
    int max_time_ms = -1;      // board milliseconds; -1: no limit
    bool loop_drop = false;    // hang-up ends the operation (it always does here)
};

// Longest table walked; a table that does not end by then is refused.
constexpr int kMaxTermEntries = 16;

// Reads a table (nullptr: no conditions). False, with *out untouched, for an entry kind
// other than chain/last, an unknown condition, or a table that never ends.
bool read_term_table(const VlTermEntry* table, TermConditions* out);

}  // namespace simboard
