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
        for (auto& c : served_)
            if (c->socket != net::kInvalid) net::shutdown_both(c->socket);
    }
    if (thread_.joinable()) thread_.join();
    reap(true);
    events_.stop();
}

void ControlServer::handle(std::string_view line, net::Socket from) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;  // a bare Enter from a person at a terminal
    if (line == "audio on" || line == "audio off") {
        // Audio is paced in real time; at another speed it would not be what a caller hears.
        if (line == "audio on" && board_.speed() != 1.0) {
            events_.emit("error audio needs board speed 1: audio on");
            return;
        }
        events_.set_audio(from, line == "audio on");
        return;
    }
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
        reap(false);
        std::lock_guard<std::mutex> g(mutex_);
        if (stopping_ || static_cast<int>(served_.size()) >= kMaxControllers) {
            static const char kFull[] = "0 error too many controllers\n";
            net::send_all(client, kFull, sizeof kFull - 1);
            net::close(client);
            continue;
        }
        auto s = std::make_unique<Served>();
        s->socket = client;
        Served* raw = s.get();
        // Attached before its first line is read, so the controller sees the answer to it.
        events_.attach(client);
        raw->thread = std::thread([this, raw] {
            serve(raw->socket);
            events_.detach(raw->socket);
            // Closed here, not when the thread is reaped at the next connection: a Winsock
            // controller waiting for the end of the stream would wait until then.
            std::lock_guard<std::mutex> g2(mutex_);
            net::close(raw->socket);
            raw->socket = net::kInvalid;
            raw->done = true;
        });
        served_.push_back(std::move(s));
    }
    std::lock_guard<std::mutex> g(mutex_);
    net::close(listener_);  // unless stop() already did
    listener_ = net::kInvalid;
}

void ControlServer::reap(bool all) {
    std::vector<std::unique_ptr<Served>> finished;
    {
        std::lock_guard<std::mutex> g(mutex_);
        for (auto it = served_.begin(); it != served_.end();) {
            if (all || (*it)->done) {
                finished.push_back(std::move(*it));
                it = served_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& s : finished)
        if (s->thread.joinable()) s->thread.join();
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
            if (!discarding) handle(std::string_view(pending).substr(start, nl - start), client);
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
