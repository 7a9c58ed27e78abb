// The callers' scripts, played against board events given by hand.
#include "callers.h"

#include <gtest/gtest.h>

#include <set>

namespace demo {
namespace {

std::vector<std::string> controls(const std::vector<CallerAction>& actions)
{
    std::vector<std::string> out;
    for (const CallerAction& a : actions) out.push_back(a.control);
    return out;
}

using Lines = std::vector<std::string>;

TEST(CallerRun, AWrongTwiceCallerWaitsForEachPromptBeforeKeying)
{
    std::vector<CallerScript> all = demo_callers(3);
    ASSERT_EQ(all.size(), 4u);
    CallerRun caller(all[2], 1.0);
    ASSERT_EQ(caller.script().line, 3);
    std::vector<std::string> events = {"hook 3 on", "wait 3 2", "answer 3", "collect 3"};

    // Events from before the call belong to no step of it: the ring comes first.
    EXPECT_EQ(controls(caller.advance(events, 0.0)), Lines{"ring 3 3"});
    EXPECT_TRUE(controls(caller.advance(events, 0.5)).empty());

    events.push_back("answer 3");
    events.push_back("play 3 8000 Z:\\v\\open.vox");
    EXPECT_TRUE(controls(caller.advance(events, 1.0)).empty());
    events.push_back("playend 3 512");
    events.push_back("collect 3");
    // Heard the greeting; thinks for a second before keying.
    EXPECT_TRUE(controls(caller.advance(events, 2.0)).empty());
    EXPECT_TRUE(controls(caller.advance(events, 2.9)).empty());
    EXPECT_EQ(controls(caller.advance(events, 3.0)), Lines{"dtmf 3 1234"});

    // The next collection, not the one already seen, lets it key again.
    EXPECT_TRUE(controls(caller.advance(events, 9.0)).empty());
    for (const char* e : {"collectend 3 1 1234", "clear 3", "play 3 8000 Z:\\v\\retry.vox", "playend 3 512",
                          "collect 3"}) {
        events.push_back(e);
    }
    EXPECT_TRUE(controls(caller.advance(events, 10.0)).empty());
    EXPECT_EQ(controls(caller.advance(events, 11.0)), Lines{"dtmf 3 4321"});
    EXPECT_FALSE(caller.done());
    EXPECT_EQ(caller.waiting_for(), "the event \"hook 3 on\"");

    events.push_back("hook 3 onward");  // a pattern ends at a space or the end of the text
    EXPECT_TRUE(caller.advance(events, 12.0).empty());
    EXPECT_FALSE(caller.done());
    events.push_back("hook 3 on");
    EXPECT_TRUE(caller.advance(events, 12.1).empty());
    EXPECT_TRUE(caller.done());
}

TEST(CallerRun, PausesShrinkWithTheBoardSpeed)
{
    const std::vector<CallerScript> all = demo_callers(4);
    CallerRun caller(all[0], 10.0);  // line 1 thinks 2 s before keying
    std::vector<std::string> events;
    EXPECT_EQ(controls(caller.advance(events, 0.0)), Lines{"ring 1 4"});
    events = {"answer 1", "collect 1"};
    EXPECT_TRUE(caller.advance(events, 1.0).empty());
    EXPECT_TRUE(caller.advance(events, 1.19).empty());
    const std::vector<CallerAction> keyed = caller.advance(events, 1.2);
    ASSERT_EQ(keyed.size(), 1u);
    EXPECT_EQ(keyed[0].control, "dtmf 1 1001");
    EXPECT_EQ(keyed[0].kind, EventKind::keys);
    EXPECT_EQ(keyed[0].argument, "1001");
}

TEST(CallerRun, TheSilentCallerOnlyRingsAndWaits)
{
    const std::vector<CallerScript> all = demo_callers(4);
    CallerRun caller(all[1], 1.0);
    std::vector<std::string> events;
    EXPECT_EQ(controls(caller.advance(events, 0)), Lines{"ring 2 4"});
    events = {"answer 2", "play 2 8000 g.vox", "playend 2 512", "collect 2", "collectend 2 32",
              "play 2 8000 n.vox", "playend 2 512", "dial 2 &,,200", "dialend 2"};
    EXPECT_TRUE(caller.advance(events, 60).empty());
    EXPECT_FALSE(caller.done());
    events.push_back("hook 2 on");
    EXPECT_TRUE(caller.advance(events, 61).empty());
    EXPECT_TRUE(caller.done());
}

TEST(DemoCallers, OneCallerALineEachExpectingAnotherOutcome)
{
    const std::vector<CallerScript> all = demo_callers(2);
    std::set<int> lines;
    std::set<Outcome> outcomes;
    for (const CallerScript& c : all) {
        lines.insert(c.line);
        outcomes.insert(c.expected);
        ASSERT_FALSE(c.steps.empty());
        EXPECT_EQ(c.steps.front().kind, StepKind::ring);
        EXPECT_EQ(c.steps.front().count, 2);
        // Every caller stays on until Vornline hangs up, so each recording is whole.
        EXPECT_EQ(c.steps.back().kind, StepKind::await);
        EXPECT_EQ(c.steps.back().text, "hook " + std::to_string(c.line) + " on");
    }
    EXPECT_EQ(lines, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(outcomes, (std::set<Outcome>{Outcome::route_port, Outcome::default_after_silence,
                                           Outcome::default_after_wrong, Outcome::outside_number}));
}

}  // namespace
}  // namespace demo
