// The control connection: a listener on 127.0.0.1 that serves one line controller at a
// time, reads its lines, hands them to the board, and answers lines it does not
// understand with an `error` event. A controller that leaves leaves the board running;
// the next one is served as soon as it connects.
#pragma once

#include "board.h"
#include "event_hub.h"
#include "net_socket.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

namespace simboard {

class ControlServer {
public:
    ControlServer(Board& board, EventHub& events);
    ~ControlServer();

    // Starts listening on a thread of its own and returns at once (port 0: any free port).
    void start(int port);
    // Waits until the listener is bound or has failed; true when it listens.
    bool wait_listening(std::chrono::milliseconds timeout);
    // The port listened on; 0 before listening or when the port could not be had.
    int port() const { return port_; }
    // Closes the listener and the controller and joins the thread (not from DllMain).
    void stop();

    // One control line, as if a controller had sent it (the line end already removed).
    void handle(std::string_view line);

private:
    void run(int port);
    void serve(net::Socket client);

    Board& board_;
    EventHub& events_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> port_{0};
    std::mutex mutex_;
    std::condition_variable settled_;
    bool bound_ = false, failed_ = false;
    net::Socket listener_ = net::kInvalid;
    net::Socket client_ = net::kInvalid;
};

}  // namespace simboard
