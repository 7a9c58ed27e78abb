// Line controller: a test's hand on the stand-in voice board. It plays the callers through
// the board's control connection (127.0.0.1, SIMBOARD_PORT) and collects the board's
// event lines, so a test can send "ring 1 3" and then wait for "answer 1".
//
//   zeltest::LineController lc;
//   ASSERT_TRUE(lc.connect(7311));
//   lc.send("ring 1 3");
//   ASSERT_TRUE(lc.expect("answer 1", 30s));
//   lc.send("dtmf 1 1234");
//   zeltest::BoardEvent end;
//   ASSERT_TRUE(lc.expect("collectend 1 1", 10s, &end));   // end.text == "collectend 1 1 1234"
//
// Patterns: matched against an event's text (the line without its millisecond stamp) from
// the start; '*' stands for any run of characters; the match must end at the end of the
// text or before a space, so "wait 1 3" matches "wait 1 3" but not "wait 1 30", and
// "collectend 1 32" matches "collectend 1 32 12".
// Order: expect() looks only at events after the last one it matched (the cursor), so a
// row of expect() calls checks that events came in that order. A failure names the
// pattern and lists every event that arrived.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zeltest {

struct BoardEvent {
    long ms = -1;      // the board's stamp: milliseconds since the board loaded (-1: none)
    std::string text;  // the rest of the line, e.g. "playend 2 512"
};

// True when pattern matches text by the rules above.
bool event_matches(std::string_view pattern, std::string_view text);

// SIMBOARD_PORT from the environment, or fallback when unset or not a port number.
int board_port_from_env(int fallback = 7311);

class LineController {
public:
    LineController() = default;
    ~LineController();
    LineController(const LineController&) = delete;
    LineController& operator=(const LineController&) = delete;

    // Connects to the board on 127.0.0.1:port, retrying until timeout, then proves the
    // board serves this connection with a status round trip (its four status events stay
    // in events(); the cursor moves past them).
    testing::AssertionResult connect(int port,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(30));

    // Sends one control line; the newline is added. False when not connected.
    bool send(std::string_view line);

    // Waits for the next event after the cursor that matches pattern; on success moves the
    // cursor past it and copies it to *found.
    testing::AssertionResult expect(std::string_view pattern, std::chrono::milliseconds timeout,
                                    BoardEvent* found = nullptr);

    // Succeeds when no event after the cursor matches pattern within window; the cursor stays.
    testing::AssertionResult expect_none(std::string_view pattern,
                                         std::chrono::milliseconds window);

    // Moves the cursor past every event received so far.
    void skip_received();

    // Every event received on this connection, oldest first.
    std::vector<BoardEvent> events() const;

    // The events as text, one per line, for failure messages.
    std::string report() const;

    bool connected() const;

    // Closes the connection; the board keeps running and accepts the next controller.
    void close();

private:
    void read_loop();

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<BoardEvent> events_;
    std::size_t cursor_ = 0;
    bool open_ = false;
    std::intptr_t socket_ = -1;
    std::thread reader_;
};

// A port in [base, base + span) that no board listens on and that can be listened on now,
// for a board of the test's own; each family of tests keeps to a range of its own. The
// search starts at a place of this process's own and goes on after the last port given,
// so two boards of one process get different ports. 0 when none is free.
int free_board_port(int base, int span);

}  // namespace zeltest
