// The board's sense of time: one origin for event stamps, and the SIMBOARD_SPEED scale
// that turns every board-side duration (rings, plays, limits, pauses) into real time.
#pragma once

#include <chrono>

namespace simboard {

class BoardClock {
public:
    using Real = std::chrono::steady_clock;
    using BoardMs = std::chrono::duration<double, std::milli>;

    explicit BoardClock(double speed = 1.0);

    double speed() const { return speed_; }
    Real::time_point now() const { return Real::now(); }

    // Real milliseconds since the board was made: the stamp of every event line.
    long stamp() const;

    // How long a board-side duration really takes at this speed.
    Real::duration real(BoardMs board) const;

    // How much board time (audio time) passed in a real interval.
    BoardMs board(Real::duration real) const;

private:
    double speed_;
    Real::time_point origin_;
};

}  // namespace simboard
