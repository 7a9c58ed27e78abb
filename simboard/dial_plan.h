// Dial strings: how long each character of a dial string takes on the line.
#pragma once

#include <string_view>
#include <vector>

namespace simboard {

enum class DialStepKind { Flash, Pause, Digit };

struct DialStep {
    DialStepKind kind;
    char character;
    double board_ms;  // duration in board time (before SIMBOARD_SPEED)
};

constexpr double kFlashMs = 500.0;  // '&': the line on-hook this long
constexpr double kPauseMs = 1000.0; // ','
constexpr double kDigitMs = 100.0;  // any other character

std::vector<DialStep> plan_dial(std::string_view dial_string);

}  // namespace simboard
