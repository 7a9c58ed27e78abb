// A whole stand-in board as one object: clock, board model, event delivery and the
// control listener, made from a BoardConfig. The DLL holds one; tests make their own.
#pragma once

#include "board.h"
#include "board_clock.h"
#include "board_config.h"
#include "control_server.h"
#include "event_hub.h"

namespace simboard {

class BoardHost {
public:
    explicit BoardHost(const BoardConfig& config);
    ~BoardHost();

    // Starts the listener on the configured port; returns at once.
    void start();
    void stop();

    Board& board() { return board_; }
    EventHub& events() { return events_; }
    ControlServer& server() { return server_; }
    const BoardClock& clock() const { return clock_; }
    const BoardConfig& config() const { return config_; }

private:
    BoardConfig config_;
    BoardClock clock_;
    EventHub events_;
    Board board_;
    ControlServer server_;
};

}  // namespace simboard
