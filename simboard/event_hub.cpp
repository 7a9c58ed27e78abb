// The board's outgoing events (see event_hub.h).
#include "event_hub.h"

#include <chrono>

#include <algorithm>
#include <cstdio>

namespace simboard {

EventHub::EventHub(const BoardClock& clock) : clock_(clock) {}

EventHub::~EventHub() { stop(); }

void EventHub::emit(const std::string& text) { push(text, false); }

void EventHub::emit_audio(const std::string& text) { push(text, true); }

bool EventHub::audio_wanted() const {
    std::lock_guard<std::mutex> g(mutex_);
    for (const auto& c : clients_)
        if (c->audio && !c->gone) return true;
    return false;
}

void EventHub::push(const std::string& text, bool audio) {
    // Stamped under the lock, so stamps never run backwards in any stream.
    std::lock_guard<std::mutex> g(mutex_);
    if (clients_.empty()) return;
    char stamp[24];
    std::snprintf(stamp, sizeof stamp, "%ld ", clock_.stamp());
    std::string line = stamp + text;
    // One event, one line: a path or dial string from the program must not split it.
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    line += '\n';
    for (auto& c : clients_) {
        if (c->gone || (audio && !c->audio)) continue;
        if (c->queue.size() >= kMaxQueued) c->queue.pop_front();
        c->queue.push_back(line);
        c->wake.notify_one();
    }
}

void EventHub::attach(net::Socket client) {
    std::lock_guard<std::mutex> g(mutex_);
    if (stopping_) return;
    auto c = std::make_unique<Client>();
    c->socket = client;
    Client* raw = c.get();
    clients_.push_back(std::move(c));
    raw->thread = std::thread([this, raw] { deliver(raw); });
}

void EventHub::detach(net::Socket client) {
    std::unique_ptr<Client> gone;
    {
        std::lock_guard<std::mutex> g(mutex_);
        auto it = std::find_if(clients_.begin(), clients_.end(),
                               [client](const auto& c) { return c->socket == client; });
        if (it == clients_.end()) return;
        gone = std::move(*it);
        clients_.erase(it);
        gone->gone = true;
        gone->queue.clear();
        gone->wake.notify_all();
    }
    if (gone->thread.joinable()) gone->thread.join();
}

void EventHub::set_audio(net::Socket client, bool on) {
    std::lock_guard<std::mutex> g(mutex_);
    for (auto& c : clients_)
        if (c->socket == client) c->audio = on;
}

void EventHub::stop() {
    std::vector<std::unique_ptr<Client>> all;
    {
        std::lock_guard<std::mutex> g(mutex_);
        stopping_ = true;
        all.swap(clients_);
        for (auto& c : all) {
            c->gone = true;
            c->wake.notify_all();
        }
    }
    for (auto& c : all)
        if (c->thread.joinable()) c->thread.join();
}

void EventHub::flush_at_exit() {
    // A thread killed by the process's end may have died holding a lock; then the lines
    // stay where they are rather than the process hanging on its way out.
    std::unique_lock<std::mutex> g(mutex_, std::try_to_lock);
    if (!g.owns_lock()) return;
    for (auto& c : clients_) {
        if (c->gone || c->queue.empty()) continue;
        std::unique_lock<std::mutex> s(c->sending, std::try_to_lock);
        if (!s.owns_lock()) continue;
        std::string batch;
        for (const std::string& line : c->queue) batch += line;
        c->queue.clear();
        net::send_all(c->socket, batch.data(), batch.size());
    }
}

void EventHub::drain(int timeout_ms) {
    std::unique_lock<std::mutex> g(mutex_);
    drained_.wait_for(g, std::chrono::milliseconds(timeout_ms), [this] {
        for (const auto& c : clients_) {
            if (!c->gone && (c->busy || !c->queue.empty())) return false;
        }
        return true;
    });
}

void EventHub::deliver(Client* c) {
    std::unique_lock<std::mutex> g(mutex_);
    for (;;) {
        c->wake.wait(g, [c] { return c->gone || !c->queue.empty(); });
        if (c->gone) return;
        std::string batch;
        while (!c->queue.empty()) {
            batch += c->queue.front();
            c->queue.pop_front();
        }
        std::lock_guard<std::mutex> s(c->sending);
        c->busy = true;
        g.unlock();
        bool sent = net::send_all(c->socket, batch.data(), batch.size());
        g.lock();
        c->busy = false;
        // A controller that stopped reading is as good as gone; its reader will notice.
        if (!sent) c->gone = true;
        drained_.notify_all();
    }
}

}  // namespace simboard
