// A whole stand-in board (see board_host.h).
#include "board_host.h"

namespace simboard {

BoardHost::BoardHost(const BoardConfig& config)
    : config_(config),
      clock_(config.speed),
      events_(clock_),
      board_(clock_, config.fail_devices, events_),
      server_(board_, events_) {}

BoardHost::~BoardHost() { stop(); }

void BoardHost::start() { server_.start(config_.port); }

void BoardHost::stop() { server_.stop(); }

}  // namespace simboard
