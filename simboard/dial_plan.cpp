// Dial strings (see dial_plan.h).
#include "dial_plan.h"

namespace simboard {

std::vector<DialStep> plan_dial(std::string_view s) {
    std::vector<DialStep> steps;
    steps.reserve(s.size());
    for (char c : s) {
        if (c == '&')
            steps.push_back({DialStepKind::Flash, c, kFlashMs});
        else if (c == ',')
            steps.push_back({DialStepKind::Pause, c, kPauseMs});
        else
            steps.push_back({DialStepKind::Digit, c, kDigitMs});
    }
    return steps;
}

}  // namespace simboard
