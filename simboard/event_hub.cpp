// The board's outgoing events (see event_hub.h).
#include "event_hub.h"

#include <cstdio>

namespace simboard {

EventHub::EventHub(const BoardClock& clock) : clock_(clock) {}

EventHub::~EventHub() { stop(); }

void EventHub::emit(const std::string& text) {
    // Stamped under the lock, so stamps never run backwards in the stream.
    std::lock_guard<std::mutex> g(mutex_);
    if (client_ == net::kInvalid) return;
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%ld ", clock_.stamp());
    std::string line = stamp + text;
    // One event, one line: a path or dial string from the program must not split it.
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    line += '\n';
    if (queue_.size() >= kMaxQueued) queue_.pop_front();
    queue_.push_back(std::move(line));
    wake_.notify_one();
}

void EventHub::attach(net::Socket client) {
    std::lock_guard<std::mutex> g(mutex_);
    queue_.clear();
    client_ = client;
    stopping_ = false;
    if (!thread_.joinable()) thread_ = std::thread([this] { deliver(); });
}

void EventHub::detach() {
    {
        std::lock_guard<std::mutex> g(mutex_);
        client_ = net::kInvalid;
        queue_.clear();
    }
    // Wait out a batch that may still be going to the old client.
    std::lock_guard<std::mutex> s(sending_);
}

void EventHub::stop() {
    {
        std::lock_guard<std::mutex> g(mutex_);
        stopping_ = true;
        client_ = net::kInvalid;
        wake_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
}

void EventHub::flush_at_exit() {
    // A thread killed by the process's end may have died holding either lock; then the
    // lines stay where they are rather than the process hanging on its way out.
    std::unique_lock<std::mutex> g(mutex_, std::try_to_lock);
    if (!g.owns_lock() || client_ == net::kInvalid || queue_.empty()) return;
    std::unique_lock<std::mutex> s(sending_, std::try_to_lock);
    if (!s.owns_lock()) return;
    std::string batch;
    for (const std::string& line : queue_) batch += line;
    queue_.clear();
    net::send_all(client_, batch.data(), batch.size());
}

void EventHub::deliver() {
    std::unique_lock<std::mutex> g(mutex_);
    for (;;) {
        wake_.wait(g, [this] { return stopping_ || (!queue_.empty() && client_ != net::kInvalid); });
        if (stopping_) return;
        std::string batch;
        while (!queue_.empty()) {
            batch += queue_.front();
            queue_.pop_front();
        }
        net::Socket client = client_;
        std::lock_guard<std::mutex> s(sending_);
        g.unlock();
        bool sent = net::send_all(client, batch.data(), batch.size());
        g.lock();
        // A controller that stopped reading is as good as gone; its reader will notice.
        if (!sent && client_ == client) client_ = net::kInvalid;
    }
}

}  // namespace simboard
