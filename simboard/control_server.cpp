// The control connection (see control_server.h).
#include "control_server.h"

#include "control_line.h"

#include <string>

namespace simboard {

ControlServer::ControlServer(Board& board, EventHub& events) : board_(board), events_(events) {}

ControlServer::~ControlServer() { stop(); }

void ControlServer::start(int port) {
    if (thread_.joinable()) return;
    stopping_ = false;
    thread_ = std::thread([this, port] { run(port); });
}

bool ControlServer::wait_listening(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> g(mutex_);
    settled_.wait_for(g, timeout, [this] { return bound_ || failed_; });
    return bound_;
}

void ControlServer::stop() {
    stopping_ = true;
    {
        std::lock_guard<std::mutex> g(mutex_);
        // Winsock wakes a blocked accept only when the listener is closed, POSIX only when
        // it is shut down; close() does both.
        net::close(listener_);
        listener_ = net::kInvalid;
        net::shutdown_both(client_);
    }
    if (thread_.joinable()) thread_.join();
    events_.stop();
}

void ControlServer::handle(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;  // a bare Enter from a person at a terminal
    ParsedControl parsed = parse_control_line(line);
    std::string error = parsed.ok ? board_.apply(parsed.command) : parsed.error;
    if (error.empty()) return;
    std::string shown(line.substr(0, 200));
    events_.emit("error " + error + ": " + shown);
}

void ControlServer::run(int port) {
    net::Socket listener = net::listen_local(port);
    {
        std::lock_guard<std::mutex> g(mutex_);
        listener_ = listener;
        bound_ = listener != net::kInvalid;
        failed_ = !bound_;
        if (bound_) port_ = net::local_port(listener);
        settled_.notify_all();
        if (stopping_) {
            net::close(listener_);
            listener_ = net::kInvalid;
            return;
        }
    }
    if (listener == net::kInvalid) return;
    while (!stopping_) {
        net::Socket client = net::accept_one(listener);
        if (client == net::kInvalid) {
            if (stopping_) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        {
            std::lock_guard<std::mutex> g(mutex_);
            client_ = client;
        }
        if (stopping_) net::shutdown_both(client);
        events_.attach(client);
        serve(client);
        events_.detach();
        {
            std::lock_guard<std::mutex> g(mutex_);
            client_ = net::kInvalid;
        }
        net::close(client);
    }
    std::lock_guard<std::mutex> g(mutex_);
    net::close(listener_);  // unless stop() already did
    listener_ = net::kInvalid;
}

void ControlServer::serve(net::Socket client) {
    std::string pending;
    bool discarding = false;  // inside a line that is already too long
    char buffer[2048];
    for (;;) {
        long got = net::receive_some(client, buffer, sizeof buffer);
        if (got <= 0) return;
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t start = 0, nl;
        while ((nl = pending.find('\n', start)) != std::string::npos) {
            if (!discarding) handle(std::string_view(pending).substr(start, nl - start));
            discarding = false;
            start = nl + 1;
        }
        pending.erase(0, start);
        if (!discarding && pending.size() > kMaxControlLine + 1) {
            events_.emit("error line too long: " + pending.substr(0, 200));
            discarding = true;
        }
        if (discarding) pending.clear();
    }
}

}  // namespace simboard
