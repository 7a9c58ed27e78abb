// The control connection: a listener on 127.0.0.1 that serves up to kMaxControllers line
// controllers at once, each on a thread of its own, reads their lines, hands them to the
// board, and answers lines it does not understand with an `error` event (which every
// controller sees). `audio on` / `audio off` belong to the connection, not the board: they
// choose whether that controller also gets the audio lines. A controller that leaves
// leaves the board running.
#pragma once

#include "board.h"
#include "event_hub.h"
#include "net_socket.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string_view>
#include <memory>
#include <thread>
#include <vector>

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
    void handle(std::string_view line, net::Socket from = net::kInvalid);

    static constexpr int kMaxControllers = 8;

private:
    void run(int port);
    void serve(net::Socket client);
    void reap(bool all);

    Board& board_;
    EventHub& events_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> port_{0};
    std::mutex mutex_;
    std::condition_variable settled_;
    bool bound_ = false, failed_ = false;
    net::Socket listener_ = net::kInvalid;
    struct Served {
        net::Socket socket;
        std::thread thread;
        bool done = false;  // guarded by mutex_
    };
    std::vector<std::unique_ptr<Served>> served_;  // guarded by mutex_
};

}  // namespace simboard
