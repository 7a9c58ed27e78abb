// Calls told from the board's events. The first four sequences are the board's events of
// one line each, as a `make run` logged them; the others are the ways a call can go wrong.
#include "call_story.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace demo {
namespace {

const char* const kRoutePort =
    "8321 caller ring 1 4\n"
    "14323 hook 1 off\n"
    "14323 answer 1\n"
    "14331 hook 1 off\n"
    "14331 play 1 8000 Z:\\demo\\voices\\open_greeting.vox\n"
    "18763 playend 1 512\n"
    "18763 collect 1\n"
    "20773 caller keys 1 1001\n"
    "20775 collectend 1 1 1001\n"
    "20776 play 1 8000 Z:\\demo\\voices\\to_sales.vox\n"
    "22455 playend 1 512\n"
    "22455 dial 1 &,,201\n"
    "25255 dialend 1\n"
    "25256 play 1 8000 Z:\\demo\\voices\\goodbye.vox\n"
    "28188 playend 1 512\n"
    "28188 hook 1 on\n"
    "28190 hook 1 on\n"
    "28190 wait 1 2\n";

const char* const kSilence =
    "8321 caller ring 2 4\n"
    "14322 hook 2 off\n"
    "14322 answer 2\n"
    "14330 hook 2 off\n"
    "14331 play 2 8000 Z:\\demo\\voices\\open_greeting.vox\n"
    "18762 playend 2 512\n"
    "18762 collect 2\n"
    "23763 collectend 2 32\n"
    "23766 play 2 8000 Z:\\demo\\voices\\no_input.vox\n"
    "27056 playend 2 512\n"
    "27056 dial 2 &,,200\n"
    "29858 dialend 2\n"
    "29858 play 2 8000 Z:\\demo\\voices\\goodbye.vox\n"
    "32790 playend 2 512\n"
    "32790 hook 2 on\n"
    "32791 hook 2 on\n"
    "32791 wait 2 2\n";

const char* const kWrongTwice =
    "8321 caller ring 3 4\n"
    "14323 hook 3 off\n"
    "14323 answer 3\n"
    "14332 hook 3 off\n"
    "14332 play 3 8000 Z:\\demo\\voices\\open_greeting.vox\n"
    "18763 playend 3 512\n"
    "18763 collect 3\n"
    "19782 caller keys 3 1234\n"
    "19785 collectend 3 1 1234\n"
    "19785 clear 3\n"
    "19785 play 3 8000 Z:\\demo\\voices\\retry_request.vox\n"
    "24510 playend 3 512\n"
    "24510 collect 3\n"
    "25518 caller keys 3 4321\n"
    "25530 collectend 3 1 4321\n"
    "25530 clear 3\n"
    "25530 play 3 8000 Z:\\demo\\voices\\no_input.vox\n"
    "28820 playend 3 512\n"
    "28822 dial 3 &,,200\n"
    "31623 dialend 3\n"
    "31623 play 3 8000 Z:\\demo\\voices\\goodbye.vox\n"
    "34555 playend 3 512\n"
    "34556 hook 3 on\n"
    "34556 hook 3 on\n"
    "34556 wait 3 2\n";

const char* const kOutside =
    "8321 caller ring 4 4\n"
    "14322 hook 4 off\n"
    "14323 answer 4\n"
    "14331 hook 4 off\n"
    "14331 play 4 8000 Z:\\demo\\voices\\open_greeting.vox\n"
    "18762 playend 4 512\n"
    "18763 collect 4\n"
    "19782 caller keys 4 1003\n"
    "19785 collectend 4 1 1003\n"
    "19786 play 4 8000 Z:\\demo\\voices\\to_support.vox\n"
    "24160 playend 4 512\n"
    "24160 dial 4 &,,9,,5550123\n"
    "29460 dialend 4\n"
    "29460 play 4 8000 Z:\\demo\\voices\\goodbye.vox\n"
    "32392 playend 4 512\n"
    "32392 hook 4 on\n"
    "32393 hook 4 on\n"
    "32393 wait 4 2\n";

std::vector<CallStory> calls(const std::string& log, int line)
{
    return calls_of_line(parse_log(log).events, line);
}

std::vector<std::string> names(const CallStory& c)
{
    std::vector<std::string> out;
    for (const Prompt& p : c.prompts) out.push_back(p.name + ":" + role_name(p.role));
    return out;
}

struct Scenario {
    const char* label;
    const char* log;
    int line;
    Outcome outcome;
    std::vector<std::string> heard;
    int wrong;
    const char* dial;
    const char* description;
};

TEST(CallStory, TheFourDemoCallsEachEndTheirOwnWay)
{
    const Scenario scenarios[] = {
        {"route port", kRoutePort, 1, Outcome::route_port,
         {"open_greeting:greeting", "to_sales:transfer voice", "goodbye:goodbye"}, 0, "&,,201",
         "extension 1001: transferred to its port 201"},
        {"silence", kSilence, 2, Outcome::default_after_silence,
         {"open_greeting:greeting", "no_input:transfer voice", "goodbye:goodbye"}, 0, "&,,200",
         "no key pressed: transferred to the default port 200"},
        {"wrong twice", kWrongTwice, 3, Outcome::default_after_wrong,
         {"open_greeting:greeting", "retry_request:retry request", "no_input:transfer voice", "goodbye:goodbye"}, 2,
         "&,,200", "2 wrong entries (1234, 4321): transferred to the default port 200"},
        {"outside number", kOutside, 4, Outcome::outside_number,
         {"open_greeting:greeting", "to_support:transfer voice", "goodbye:goodbye"}, 0, "&,,9,,5550123",
         "extension 1003: transferred to its outside number 5550123 through outside line 9"},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.label);
        const std::vector<CallStory> found = calls(s.log, s.line);
        ASSERT_EQ(found.size(), 1u);
        const CallStory& c = found[0];
        EXPECT_EQ(outcome_of(c), s.outcome);
        EXPECT_EQ(names(c), s.heard);
        EXPECT_EQ(wrong_entries(c), s.wrong);
        EXPECT_EQ(c.dial, s.dial);
        EXPECT_EQ(describe_outcome(c), s.description);
        EXPECT_EQ(c.ring_ms, 8321);
        EXPECT_GT(c.onhook_ms, c.dialend_ms);
        for (const Prompt& p : c.prompts) EXPECT_EQ(p.reason, 512) << p.name;
    }
}

TEST(CallStory, OtherLinesEventsDoNotLeakIn)
{
    const std::string all = std::string(kRoutePort) + kSilence + kWrongTwice + kOutside;
    for (int line = 1; line <= 4; ++line) {
        const std::vector<CallStory> found = calls(all, line);
        ASSERT_EQ(found.size(), 1u) << line;
        for (const LineEvent& e : found[0].events) EXPECT_EQ(e.line, line);
    }
    // Interleaved the way a run logs them, the outcomes stay each line's own.
    EXPECT_EQ(outcome_of(calls(all, 2)[0]), Outcome::default_after_silence);
    EXPECT_EQ(outcome_of(calls(all, 4)[0]), Outcome::outside_number);
}

TEST(CallStory, TheWayCallsGoWrong)
{
    const Scenario scenarios[] = {
        {"hung up in the greeting",
         "1 caller ring 1 2\n2 answer 1\n3 play 1 8000 Z:\\v\\hello.vox\n4 caller hangup 1\n"
         "5 playend 1 8\n6 hook 1 on\n",
         1, Outcome::caller_left, {"hello:greeting"}, 0, "", "the caller hung up before a transfer"},
        {"keys in the greeting, short entry, then gone",
         "1 caller ring 1 2\n2 answer 1\n3 play 1 8000 Z:\\v\\hello.vox\n4 caller keys 1 12\n5 playend 1 1\n"
         "6 collect 1\n11 collectend 1 32 12\n12 clear 1\n12 play 1 8000 Z:\\v\\again.vox\n13 caller hangup 1\n"
         "14 playend 1 8\n15 hook 1 on\n",
         1, Outcome::caller_left, {"hello:greeting", "again:retry request"}, 1, "",
         "the caller hung up before a transfer"},
        {"still ringing", "1 caller ring 2 9\n", 2, Outcome::unfinished, {}, 0, "", "the call did not finish"},
        {"a voice that failed",
         "1 caller ring 1 2\n2 answer 1\n3 playfail 1 Z:\\v\\gone.vox\n4 collect 1\n9 collectend 1 32\n"
         "10 play 1 8000 Z:\\v\\op.vox\n11 playend 1 512\n12 dial 1 &100\n13 dialend 1\n14 hook 1 on\n",
         1, Outcome::default_after_silence, {"gone:greeting", "op:transfer voice"}, 0, "&100",
         "no key pressed: transferred to the default port 100"},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.label);
        const std::vector<CallStory> found = calls(s.log, s.line);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(outcome_of(found[0]), s.outcome);
        EXPECT_EQ(names(found[0]), s.heard);
        EXPECT_EQ(wrong_entries(found[0]), s.wrong);
        EXPECT_EQ(found[0].dial, s.dial);
        EXPECT_EQ(describe_outcome(found[0]), s.description);
    }
}

TEST(CallStory, ALineThatTakesTwoCallsTellsThemApart)
{
    // The second call arrives without a logged ring (a person rang it some other way).
    const std::string log = std::string(kRoutePort) +
                            "40000 hook 1 off\n40000 answer 1\n40001 play 1 8000 Z:\\v\\g.vox\n"
                            "40500 caller hangup 1\n40501 playend 1 8\n40502 hook 1 on\n";
    const std::vector<CallStory> found = calls(log, 1);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(outcome_of(found[0]), Outcome::route_port);
    EXPECT_EQ(found[1].ring_ms, -1);
    EXPECT_EQ(found[1].answer_ms, 40000);
    EXPECT_EQ(outcome_of(found[1]), Outcome::caller_left);
    ASSERT_EQ(found[1].prompts.size(), 1u);
    EXPECT_EQ(found[1].prompts[0].reason, 8);
}

TEST(CallStory, TranscriptRowsNameWhatHappenedInOrder)
{
    const std::vector<CallStory> found = calls(kWrongTwice, 3);
    ASSERT_EQ(found.size(), 1u);
    const std::vector<std::string> rows = transcript_rows(found[0], ClockPair{});
    const std::vector<std::string> expected = {
        "      8.3  the phone rings (the caller waits up to 4 rings)",
        "     14.3  Vornline answers",
        "     14.3  hears \"open_greeting\" (greeting), 4.4 s, to the end",
        "     18.8  listens for an extension",
        "     19.8  the caller presses 1234",
        "     19.8  takes the entry 1234: no such extension",
        "     19.8  hears \"retry_request\" (retry request), 4.7 s, to the end",
        "     24.5  listens for an extension",
        "     25.5  the caller presses 4321",
        "     25.5  takes the entry 4321: no such extension",
        "     25.5  hears \"no_input\" (transfer voice), 3.3 s, to the end",
        "     28.8  dials &,,200 (hook flash, 2 pauses, port 200)",
        "     31.6  hears \"goodbye\" (goodbye), 2.9 s, to the end",
        "     34.6  Vornline hangs up",
    };
    EXPECT_EQ(rows, expected);
}

TEST(CallStory, WallTimeFollowsTheClockReading)
{
    // 1765000000000 ms is 2025-12-06 05:46:40 UTC.
    const ClockPair clock{1000, 1765000000000LL, true};
    const std::string t = wall_time(3500, clock);  // 2.5 s later
    ASSERT_EQ(t.size(), 10u);
    EXPECT_EQ(t.substr(5), ":42.5");  // minutes and seconds do not depend on the time zone
    EXPECT_EQ(wall_time(1000, clock).substr(5), ":40.0");
}

TEST(DialString, FlashPausesAndTarget)
{
    const struct {
        const char* dial;
        bool flash;
        int pauses;
        bool outside;
        const char* line_digit;
        int line_pauses;
        const char* number;
    } cases[] = {
        {"&,,201", true, 2, false, "", 0, "201"},
        {"&201", true, 0, false, "", 0, "201"},
        {"&,,,,,12345", true, 5, false, "", 0, "12345"},
        {"&,,123456", true, 2, true, "1", 0, "23456"},  // six characters: an outside number
        {"&,,9,,5550123", true, 2, true, "9", 2, "5550123"},
        {"&9,1", true, 0, true, "9", 1, "1"},  // a pause makes it outside, however short
        {"305", false, 0, false, "", 0, "305"},
        {"&", true, 0, false, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dial);
        const DialParts d = split_dial(c.dial);
        EXPECT_EQ(d.flash, c.flash);
        EXPECT_EQ(d.pauses, c.pauses);
        EXPECT_EQ(d.outside, c.outside);
        EXPECT_EQ(d.line_digit, c.line_digit);
        EXPECT_EQ(d.line_pauses, c.line_pauses);
        EXPECT_EQ(d.number, c.number);
    }
}

TEST(MidCall, ThePictureWaitsForEveryLineAndNoLonger)
{
    const std::vector<int> lines = {1, 2, 3, 4};
    const RunLog all = parse_log(std::string(kRoutePort) + kSilence + kWrongTwice + kOutside);
    std::vector<LineEvent> sorted = all.events;
    std::stable_sort(sorted.begin(), sorted.end(), [](const LineEvent& a, const LineEvent& b) { return a.ms < b.ms; });
    // Replays the run event by event and notes the first moment that qualifies.
    long first = -1;
    std::vector<LineEvent> so_far;
    for (const LineEvent& e : sorted) {
        so_far.push_back(e);
        if (first < 0 && transfers_under_way(so_far, lines)) first = e.ms;
    }
    // Line 1 ends its dial at 25255, before lines 2 and 3 have begun theirs.
    EXPECT_EQ(first, 25255);
    EXPECT_FALSE(transfers_under_way(calls_of_line(parse_log(kRoutePort).events, 1).front().events, {1, 2}));
    EXPECT_FALSE(transfers_under_way(sorted, {}));
}

}  // namespace
}  // namespace demo
