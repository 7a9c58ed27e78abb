// The board's outgoing events: stamps each line with the milliseconds since the board
// loaded and delivers it, in order, to every controller connected at that moment. Lines
// emitted while no controller is connected are dropped. Audio lines go only to the
// controllers that asked for them. Each controller has its own queue and delivery thread,
// so a slow controller holds up neither a line of the board nor the other controllers.
#pragma once

#include "board_clock.h"
#include "event_sink.h"
#include "net_socket.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace simboard {

class EventHub : public EventSink {
public:
    explicit EventHub(const BoardClock& clock);
    ~EventHub() override;

    void emit(const std::string& text) override;
    void emit_audio(const std::string& text) override;
    bool audio_wanted() const override;

    // Delivers every later line to `client` until detach(client).
    void attach(net::Socket client);
    // Stops delivery to `client`; on return no send to it is in progress.
    void detach(net::Socket client);
    // Whether `client` also gets the audio lines.
    void set_audio(net::Socket client, bool on);
    // Ends every delivery thread (never from a DLL's load or unload notification).
    void stop();
    // Sends what is still queued from the calling thread, when no other thread holds the
    // queue or a send: for a process that is ending, whose delivery threads are gone and
    // whose last lines (the channels' closes) would otherwise never arrive.
    void flush_at_exit();
    void drain(int timeout_ms) override;

    // Undelivered lines beyond this, per controller, are dropped, oldest first.
    static constexpr std::size_t kMaxQueued = 10000;

private:
    struct Client {
        net::Socket socket = net::kInvalid;
        bool audio = false;
        bool gone = false;              // detached, or stopped reading
        bool busy = false;              // a batch is on its way (guarded by mutex_)
        std::deque<std::string> queue;  // guarded by EventHub::mutex_
        std::condition_variable wake;
        std::mutex sending;             // held while a batch goes out
        std::thread thread;
    };
    void deliver(Client* c);
    std::condition_variable drained_;  // a batch has left
    void push(const std::string& text, bool audio);

    const BoardClock& clock_;
    mutable std::mutex mutex_;  // the client list and every queue
    std::vector<std::unique_ptr<Client>> clients_;
    bool stopping_ = false;
};

}  // namespace simboard
