// The board's clock (see board_clock.h).
#include "board_clock.h"

namespace simboard {

BoardClock::BoardClock(double speed) : speed_(speed > 0 ? speed : 1.0), origin_(Real::now()) {}

long BoardClock::stamp() const {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Real::now() - origin_).count());
}

BoardClock::Real::duration BoardClock::real(BoardMs board) const {
    return std::chrono::duration_cast<Real::duration>(board / speed_);
}

BoardClock::BoardMs BoardClock::board(Real::duration real) const {
    return std::chrono::duration_cast<BoardMs>(real) * speed_;
}

}  // namespace simboard
