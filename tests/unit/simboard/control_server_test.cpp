// The control connection end to end over TCP: a whole board with its listener, driven by
// the line controller as a test or a person would.
#include "board_fixture.h"
#include "board_host.h"
#include "line_controller.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using namespace boardtest;

class ControlServerTest : public ::testing::Test {
protected:
    ControlServerTest() : host_(config()) {
        host_.start();
        EXPECT_TRUE(host_.server().wait_listening(5s));
        port_ = host_.server().port();
    }

    static simboard::BoardConfig config() {
        simboard::BoardConfig c;
        c.port = 0;  // any free port: these tests run beside others
        c.speed = 20;
        return c;
    }

    simboard::BoardHost host_;
    int port_ = 0;
};

TEST_F(ControlServerTest, MalformedLinesGetAnErrorAndChangeNothing) {
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(port_, 5s));
    const char* const bad[] = {"ring 5 3", "ring 1", "dtmf 1 12x", "fail clear 1", "bogus", "ring  1 3",
                               "status now", "hangup 1 1"};
    for (const char* line : bad) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(lc.send(line));
        zeltest::BoardEvent e;
        ASSERT_TRUE(lc.expect("error", 2s, &e));
        EXPECT_NE(e.text.find(line), std::string::npos) << e.text;  // the refused line is named
    }
    // Understood but impossible (no call to hang up) is refused the same way.
    ASSERT_TRUE(lc.send("hangup 2"));
    ASSERT_TRUE(lc.expect("error", 2s));
    ASSERT_TRUE(lc.send("status"));
    for (int line = 1; line <= 4; ++line) EXPECT_TRUE(lc.expect("status " + std::to_string(line) + " idle", 2s));
}

TEST_F(ControlServerTest, OverlongLineIsRefusedAndTheNextLineWorks) {
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(port_, 5s));
    ASSERT_TRUE(lc.send("ring 1 " + std::string(3000, '3')));
    ASSERT_TRUE(lc.expect("error", 2s));
    ASSERT_TRUE(lc.send("ring 1 3"));
    ASSERT_TRUE(lc.send("status"));
    EXPECT_TRUE(lc.expect("status 1 ringing", 2s));
    EXPECT_EQ(host_.board().state(1), simboard::LineState::Ringing);
}

TEST_F(ControlServerTest, CommandsReachTheLinesAndEventsComeBackStampedInOrder) {
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(port_, 5s));
    simboard::Board& board = host_.board();
    int h = board.open("dxxxB1C2", 0);
    ASSERT_GT(h, 0);
    auto answered = std::async(std::launch::async, [&] { return board.wtring(h, 2, VL_OFFHOOK, -1); });
    ASSERT_TRUE(lc.expect("open dxxxB1C2", 2s));
    ASSERT_TRUE(lc.expect("wait 2 2", 2s));
    ASSERT_TRUE(lc.send("ring 2 3"));
    ASSERT_TRUE(lc.expect("hook 2 off", 3s));
    ASSERT_TRUE(lc.expect("answer 2", 1s));
    ASSERT_EQ(answered.get(), 0);
    ASSERT_TRUE(lc.send("dtmf 2 42"));
    char digits[VL_DIGIT_BUFFER_SIZE];
    const VlTermEntry two[1] = {{VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 2, 0}};
    ASSERT_EQ(board.collect_digits(h, two, digits, 0), 0);
    EXPECT_STREQ(digits, "42");
    ASSERT_TRUE(lc.expect("collectend 2 1 42", 2s));
    ASSERT_TRUE(lc.send("hangup 2"));
    ASSERT_TRUE(lc.send("status"));
    ASSERT_TRUE(lc.expect("status 2 dead", 2s));
    long last = -1;
    for (const auto& e : lc.events()) {
        ASSERT_GE(e.ms, last) << e.text;
        last = e.ms;
    }
}

TEST_F(ControlServerTest, ControlCharactersFromTheProgramCannotSplitAnEvent) {
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(port_, 5s));
    int h = host_.board().open("dxxxB1C4", 0);
    ASSERT_GT(h, 0);
    VlPlayFormat f = play_format(VL_RATE_8K);
    EXPECT_EQ(host_.board().play_file(h, "x\n123 fake\r.vox", kPlayTable, &f, 0), -1);
    EXPECT_EQ(host_.board().dial(h, "1\n2", 0), 0);
    ASSERT_TRUE(lc.expect("playfail 4 x?123 fake?.vox", 2s));
    ASSERT_TRUE(lc.expect("dial 4 1?2", 2s));
    ASSERT_TRUE(lc.expect("dialend 4", 2s));
    for (const auto& e : lc.events()) EXPECT_GE(e.ms, 0) << "a line without a stamp: " << e.text;
    EXPECT_EQ(host_.board().close(h), 0);
}

TEST_F(ControlServerTest, ControllerThatLeavesLeavesTheBoardRunning) {
    {
        zeltest::LineController first;
        ASSERT_TRUE(first.connect(port_, 5s));
        ASSERT_TRUE(first.send("ring 3 50"));
        ASSERT_TRUE(first.send("status"));
        ASSERT_TRUE(first.expect("status 3 ringing", 2s));
    }
    // Events while nobody listens are dropped; the board goes on.
    int h = host_.board().open("dxxxB1C3", 0);
    ASSERT_GT(h, 0);
    zeltest::LineController second;
    ASSERT_TRUE(second.connect(port_, 5s));
    EXPECT_TRUE(second.expect_none("open", 100ms));
    ASSERT_TRUE(second.send("status"));
    EXPECT_TRUE(second.expect("status 3 ringing", 2s));
    EXPECT_EQ(host_.board().close(h), 0);
    EXPECT_TRUE(second.expect("close dxxxB1C3", 2s));
    second.close();
    zeltest::LineController third;
    ASSERT_TRUE(third.connect(port_, 5s));
}

TEST(LineController, MissingEventFailsWithTheEventsThatArrived) {
    simboard::BoardConfig c;
    c.port = 0;
    simboard::BoardHost host(c);
    host.start();
    ASSERT_TRUE(host.server().wait_listening(5s));
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(host.server().port(), 5s));
    auto missing = lc.expect("answer 1", 150ms);
    EXPECT_FALSE(missing);
    std::string why = missing.message();
    EXPECT_NE(why.find("answer 1"), std::string::npos) << why;
    EXPECT_NE(why.find("status 3 idle"), std::string::npos) << why;  // from the connect round trip
    // Order: after matching status 4, an earlier status 1 is not found again.
    EXPECT_FALSE(lc.expect("status 1", 50ms));
}

TEST(LineController, PatternRules) {
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    };
    const Case cases[] = {
        {"wait 1 3", "wait 1 3", true},        {"wait 1 3", "wait 1 30", false},
        {"collectend 1 32", "collectend 1 32 12", true},
        {"collectend 1 3", "collectend 1 32 12", false},
        {"play 1 * C:\\a b.vox", "play 1 8000 C:\\a b.vox", true},
        {"play 1 *", "play 1 8000 x", true},   {"play", "playend 1 1", false},
        {"", "anything", false},               {"status * idle", "status 2 idle", true},
        {"status * idle", "status 2 dead", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zeltest::event_matches(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
}

TEST(LineController, NoBoardMeansAConnectFailureWithinTheDeadline) {
    // A port that was just free (listened on and released).
    auto s = simboard::net::listen_local(0);
    int port = simboard::net::local_port(s);
    simboard::net::close(s);
    zeltest::LineController lc;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(lc.connect(port, 300ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_FALSE(lc.send("status"));
}

}  // namespace
