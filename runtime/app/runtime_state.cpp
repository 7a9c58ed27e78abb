// The one instance of the runtime's process-wide state.
#include "runtime_state.h"

namespace vorn {

RuntimeState& runtime()
{
    static RuntimeState state;
    return state;
}

}  // namespace vorn
