// The board's outgoing events: stamps each line with the milliseconds since the board
// loaded and delivers it, in order, to the controller that is connected at that moment.
// Lines emitted while no controller is connected are dropped. Delivery runs on a thread of
// its own, so a slow controller never holds up a line of the board.
#pragma once

#include "board_clock.h"
#include "event_sink.h"
#include "net_socket.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace simboard {

class EventHub : public EventSink {
public:
    explicit EventHub(const BoardClock& clock);
    ~EventHub() override;

    void emit(const std::string& text) override;

    // Delivers every later line to `client` (starting the delivery thread on first use).
    void attach(net::Socket client);
    // Stops delivery; on return no send to the old client is in progress.
    void detach();
    // Ends the delivery thread (never from a DLL's load or unload notification).
    void stop();
    // Sends what is still queued from the calling thread, when no other thread holds the
    // queue or a send: for a process that is ending, whose delivery thread is gone and
    // whose last lines (the channels' closes) would otherwise never arrive.
    void flush_at_exit();

    // Undelivered lines beyond this are dropped, oldest first.
    static constexpr std::size_t kMaxQueued = 10000;

private:
    void deliver();

    const BoardClock& clock_;
    std::mutex mutex_;                 // the queue and the client
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    net::Socket client_ = net::kInvalid;
    bool stopping_ = false;
    std::mutex sending_;               // held while a batch goes out
    std::thread thread_;
};

}  // namespace simboard
