// The four board lines as the gateway hands them to calls: the lowest-numbered free line
// goes to each new call. A line whose call was answered on the board stays taken after
// the SIP side ends until the board shows it on-hook again, so the next call never rings
// a line that Vornline has not yet put down.
#pragma once

#include <array>

namespace zelgate {

class LinePool {
public:
    static constexpr int kLines = 4;
    // The line taken, or 0 when all four are busy.
    int take();
    // The SIP side of the call is over; with `board_busy` the line waits for on_hook().
    void release(int line, bool board_busy);
    // The board put the line on-hook.
    void on_hook(int line);
    bool free(int line) const;
    int in_use() const;

private:
    enum class State { Free, Call, Draining };
    std::array<State, kLines> state_{};
};

}  // namespace zelgate
