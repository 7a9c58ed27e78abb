// Termination tables (see term_table.h).
#include "term_table.h"

#include <algorithm>

namespace simboard {

bool read_term_table(const VlTermEntry* table, TermConditions* out) {
    TermConditions c;
    if (table) {
        bool ended = false;
        for (int i = 0; i < kMaxTermEntries && !ended; ++i) {
            const VlTermEntry& e = table[i];
            if (e.kind != VL_ENTRY_CHAIN && e.kind != VL_ENTRY_LAST) return false;
            switch (e.condition) {
            case VL_COND_DIGIT_COUNT:
                // The digit buffer holds 31 keys, so no count above that can ever be met.
                c.digit_count = std::min<int>(e.value, VL_DIGIT_BUFFER_SIZE - 1);
                break;
            case VL_COND_MAX_TIME:
                c.max_time_ms = 100 * static_cast<int>(e.value);
                break;
            case VL_COND_LOOP_DROP:
                c.loop_drop = true;
                break;
            default:
                return false;
            }
            ended = e.kind == VL_ENTRY_LAST;
        }
        if (!ended) return false;
    }
    *out = c;
    return true;
}

}  // namespace simboard
