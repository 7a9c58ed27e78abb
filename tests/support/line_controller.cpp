// Line controller: the test-side client of the stand-in board's control connection.
#include "line_controller.h"

#include "net_socket.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <sstream>

namespace zeltest {

namespace net = simboard::net;
using Clock = std::chrono::steady_clock;

namespace {

bool glob_at(std::string_view p, std::string_view t) {
    // Anchored at the start; the end of the pattern must meet the end of the text or a space.
    if (p.empty()) return t.empty() || t.front() == ' ';
    if (p.front() == '*') {
        for (std::size_t skip = 0; skip <= t.size(); ++skip)
            if (glob_at(p.substr(1), t.substr(skip))) return true;
        return false;
    }
    return !t.empty() && p.front() == t.front() && glob_at(p.substr(1), t.substr(1));
}

BoardEvent parse_event(std::string_view line) {
    BoardEvent e;
    std::size_t i = 0;
    long ms = 0;
    while (i < line.size() && i < 12 && line[i] >= '0' && line[i] <= '9') ms = ms * 10 + (line[i++] - '0');
    if (i > 0 && i < line.size() && line[i] == ' ') {
        e.ms = ms;
        e.text = std::string(line.substr(i + 1));
    } else {
        e.text = std::string(line);
    }
    return e;
}

std::string describe(const std::vector<BoardEvent>& events) {
    std::ostringstream out;
    out << "events that arrived (" << events.size() << "):";
    if (events.empty()) out << " none";
    for (const BoardEvent& e : events) out << "\n  " << e.ms << " " << e.text;
    return out.str();
}

}  // namespace

bool event_matches(std::string_view pattern, std::string_view text) { return glob_at(pattern, text); }

int board_port_from_env(int fallback) {
    const char* v = std::getenv("SIMBOARD_PORT");
    if (!v || !*v) return fallback;
    char* end = nullptr;
    long port = std::strtol(v, &end, 10);
    return (*end == '\0' && port > 0 && port <= 65535) ? static_cast<int>(port) : fallback;
}

LineController::~LineController() { close(); }

testing::AssertionResult LineController::connect(int port, std::chrono::milliseconds timeout) {
    close();
    auto deadline = Clock::now() + timeout;
    net::Socket s = net::kInvalid;
    while ((s = net::connect_local(port)) == net::kInvalid) {
        if (Clock::now() >= deadline)
            return testing::AssertionFailure()
                   << "no board listening on 127.0.0.1:" << port << " within " << timeout.count() << " ms";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.clear();
        cursor_ = 0;
        socket_ = s;
        open_ = true;
    }
    reader_ = std::thread([this] { read_loop(); });
    // The board serves one controller at a time; until it answers, this one only waits in its queue.
    send("status");
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left < std::chrono::milliseconds(2000)) left = std::chrono::milliseconds(2000);
    auto served = expect("status 4", left);
    if (!served) return testing::AssertionFailure() << "connected to port " << port
                                                   << " but the board did not answer: " << served.message();
    return testing::AssertionSuccess();
}

bool LineController::send(std::string_view line) {
    std::string out(line);
    out += '\n';
    std::lock_guard<std::mutex> lock(mutex_);
    return open_ && net::send_all(socket_, out.data(), out.size());
}

testing::AssertionResult LineController::expect(std::string_view pattern,
                                                std::chrono::milliseconds timeout, BoardEvent* found) {
    auto deadline = Clock::now() + timeout;
    std::unique_lock<std::mutex> lock(mutex_);
    std::size_t looked = cursor_;
    for (;;) {
        for (; looked < events_.size(); ++looked) {
            if (event_matches(pattern, events_[looked].text)) {
                if (found) *found = events_[looked];
                cursor_ = looked + 1;
                return testing::AssertionSuccess();
            }
        }
        bool gone = !open_;
        if (gone || Clock::now() >= deadline) {
            return testing::AssertionFailure()
                   << "no event '" << pattern << "' after event #" << cursor_ << " within " << timeout.count()
                   << " ms" << (gone ? " (connection closed)" : "") << "; " << describe(events_);
        }
        arrived_.wait_until(lock, deadline);
    }
}

testing::AssertionResult LineController::expect_none(std::string_view pattern,
                                                     std::chrono::milliseconds window) {
    auto deadline = Clock::now() + window;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        for (std::size_t i = cursor_; i < events_.size(); ++i) {
            if (event_matches(pattern, events_[i].text))
                return testing::AssertionFailure() << "unexpected event '" << events_[i].text << "' matching '"
                                                   << pattern << "'; " << describe(events_);
        }
        if (Clock::now() >= deadline) return testing::AssertionSuccess();
        arrived_.wait_until(lock, deadline);
    }
}

void LineController::skip_received() {
    std::lock_guard<std::mutex> lock(mutex_);
    cursor_ = events_.size();
}

std::vector<BoardEvent> LineController::events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

std::string LineController::report() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return describe(events_);
}

bool LineController::connected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return open_;
}

void LineController::close() {
    net::Socket s;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s = socket_;
        open_ = false;
    }
    // Shut down first so the reader returns from its receive, then release the socket.
    net::shutdown_both(s);
    if (reader_.joinable()) reader_.join();
    net::close(s);
    std::lock_guard<std::mutex> lock(mutex_);
    socket_ = net::kInvalid;
}

void LineController::read_loop() {
    net::Socket s;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s = socket_;
    }
    std::string pending;
    char buffer[4096];
    for (;;) {
        // Under Wine a shutdown does not always end a receive blocked in another thread
        // (a test then hung in close() after its program had gone): look for data in short
        // turns and leave once close() has asked.
        if (!net::wait_readable(s, 200)) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!open_) break;
            continue;
        }
        long got = net::receive_some(s, buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t start = 0, nl;
        std::vector<BoardEvent> fresh;
        while ((nl = pending.find('\n', start)) != std::string::npos) {
            std::string_view line(pending.data() + start, nl - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!line.empty()) fresh.push_back(parse_event(line));
            start = nl + 1;
        }
        pending.erase(0, start);
        if (!fresh.empty()) {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto& e : fresh) events_.push_back(std::move(e));
            arrived_.notify_all();
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = false;
    arrived_.notify_all();
}

int free_board_port(int base, int span)
{
    if (span <= 0) return 0;
    net::startup();
#ifdef _WIN32
    static std::atomic<int> next{static_cast<int>(GetCurrentProcessId() % static_cast<DWORD>(span))};
#else
    static std::atomic<int> next{static_cast<int>(getpid() % span)};
#endif
    for (int i = 0; i < span; ++i) {
        const int port = base + next.fetch_add(1) % span;
        if (net::Socket c = net::connect_local(port); c != net::kInvalid) {
            net::close(c);
            continue;
        }
        const net::Socket l = net::listen_local(port);
        if (l == net::kInvalid) continue;
        net::close(l);
        return port;
    }
    return 0;
}

}  // namespace zeltest
