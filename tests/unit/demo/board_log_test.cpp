// Board event lines and the run log.
#include "board_log.h"

#include <gtest/gtest.h>

namespace demo {
namespace {

struct ParseCase {
    const char* text;
    EventKind kind;
    int line;
    long number;
    const char* rest;
};

TEST(BoardEvents, EachKindKeepsItsLineNumberAndText)
{
    const ParseCase cases[] = {
        {"open dxxxB1C3", EventKind::open, 0, 0, "dxxxB1C3"},
        {"hook 2 off", EventKind::hook, 2, 1, ""},
        {"hook 4 on", EventKind::hook, 4, 0, ""},
        {"wait 1 2", EventKind::wait, 1, 2, ""},
        {"answer 3", EventKind::answer, 3, 0, ""},
        // A path keeps its spaces: it is always last.
        {"play 1 8000 C:\\My Voices\\open greeting.vox", EventKind::play, 1, 8000, "C:\\My Voices\\open greeting.vox"},
        {"playend 4 512", EventKind::playend, 4, 512, ""},
        {"playfail 2 Z:\\missing.vox", EventKind::playfail, 2, 0, "Z:\\missing.vox"},
        {"collect 1", EventKind::collect, 1, 0, ""},
        {"collectend 1 1 1234", EventKind::collectend, 1, 1, "1234"},
        // No digits: the line ends after the reason.
        {"collectend 2 32", EventKind::collectend, 2, 32, ""},
        {"collectend 3 32 12", EventKind::collectend, 3, 32, "12"},
        {"clear 3", EventKind::clear, 3, 0, ""},
        {"dial 4 &,,9,,5550123", EventKind::dial, 4, 0, "&,,9,,5550123"},
        {"dialend 4", EventKind::dialend, 4, 0, ""},
        {"status 2 offhook", EventKind::status, 2, 0, "offhook"},
        {"error line must be 1 to 4: ring 7 1", EventKind::error, 0, 0, "line must be 1 to 4: ring 7 1"},
        {"caller ring 1 4", EventKind::ring, 1, 4, ""},
        {"caller keys 3 12*#", EventKind::keys, 3, 0, "12*#"},
        {"caller hangup 2", EventKind::hangup, 2, 0, ""},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        const LineEvent e = parse_event(77, c.text);
        EXPECT_EQ(e.ms, 77);
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.line, c.line);
        EXPECT_EQ(e.number, c.number);
        EXPECT_EQ(e.text, c.rest);
    }
}

TEST(BoardEvents, MisshapenLinesAreOtherAndKeepTheirText)
{
    const char* cases[] = {
        "play 5 8000 a.vox",     // no line 5
        "play 0 8000 a.vox",
        "play 1 8000",           // no path
        "play 1 fast a.vox",     // rate not a number
        "playend 1",             // no reason
        "hook 1 sideways",
        "answer 1 now",          // more than the kind has
        "collectend 1",
        "ring 1 4",              // the board never says ring; only the demo's caller does
        "caller dtmf 1 12",
        "hello",
        "",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const LineEvent e = parse_event(5, text);
        EXPECT_EQ(e.kind, EventKind::other);
        EXPECT_EQ(e.line, 0);
        EXPECT_EQ(e.text, text);
    }
}

TEST(BoardEvents, CallerActionsReadBackAsWritten)
{
    const struct {
        EventKind kind;
        const char* argument;
        const char* text;
    } cases[] = {
        {EventKind::ring, "4", "caller ring 2 4"},
        {EventKind::keys, "1001", "caller keys 2 1001"},
        {EventKind::hangup, "", "caller hangup 2"},
    };
    for (const auto& c : cases) {
        const std::string text = caller_text(c.kind, 2, c.argument);
        EXPECT_EQ(text, c.text);
        const LineEvent e = parse_event(0, text);
        EXPECT_EQ(e.kind, c.kind) << text;
        EXPECT_EQ(e.line, 2) << text;
    }
}

TEST(RunLog, ReadsTheClockAndEntriesAndSkipsTheRest)
{
    const RunLog log = parse_log(
        "# clock 8300 1765000000123\r\n"
        "8321 caller ring 1 4\n"
        "not a log line\n"
        "\n"
        "14322 answer 1\r\n"
        "14330 play 1 8000 Z:\\voices\\open greeting.vox\n"
        "-5 answer 2\n"
        "18762 playend 1 512");
    EXPECT_TRUE(log.clock.known);
    EXPECT_EQ(log.clock.board_ms, 8300);
    EXPECT_EQ(log.clock.wall_ms, 1765000000123LL);
    ASSERT_EQ(log.events.size(), 4u);
    EXPECT_EQ(log.events[0].kind, EventKind::ring);
    EXPECT_EQ(log.events[1].ms, 14322);
    EXPECT_EQ(log.events[2].text, "Z:\\voices\\open greeting.vox");
    EXPECT_EQ(log.events[3].number, 512);
}

TEST(RunLog, WrittenLinesReadBack)
{
    const ClockPair clock{1234, 1765000000999LL, true};
    const std::string text = clock_line(clock) + "\n" + log_line(1500, "collectend 3 32 12") + "\n";
    const RunLog log = parse_log(text);
    EXPECT_EQ(log.clock.board_ms, 1234);
    EXPECT_EQ(log.clock.wall_ms, 1765000000999LL);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].ms, 1500);
    EXPECT_EQ(log.events[0].text, "12");
}

TEST(RunLog, EventsOfOneLineKeepTheirOrder)
{
    const RunLog log = parse_log("1 answer 1\n2 answer 2\n3 play 1 8000 a.vox\n4 open dxxxB1\n5 playend 1 512\n");
    const std::vector<LineEvent> one = events_of_line(log.events, 1);
    ASSERT_EQ(one.size(), 3u);
    EXPECT_EQ(one[0].ms, 1);
    EXPECT_EQ(one[1].ms, 3);
    EXPECT_EQ(one[2].ms, 5);
}

}  // namespace
}  // namespace demo
