// Pairing board events into the runtime's gaps: the figures of the call overhead
// benchmark are only as good as this pairing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "call_gaps.h"

namespace {

using zelbench::Gap;
using zelbench::GapTracker;
using zelbench::PlayKind;

using Events = std::vector<std::pair<long, std::string>>;

PlayKind classify(std::string_view path)
{
    if (path == "C:\\v\\open.vox") return PlayKind::greeting;
    if (path == "C:\\v\\my route.vox") return PlayKind::transfer;
    if (path == "C:\\v\\bye.vox") return PlayKind::goodbye;
    return PlayKind::other;
}

// One call on `line` as Vornline makes it, starting at `t`, with the six gaps given.
Events regular_call(int line, long t, const std::array<long, 6>& gap)
{
    const std::string n = std::to_string(line);
    Events e;
    e.push_back({t, "hook " + n + " off"});
    e.push_back({t, "answer " + n});
    e.push_back({t + 1, "hook " + n + " off"});
    t += gap[0];
    e.push_back({t, "play " + n + " 8000 C:\\v\\open.vox"});
    t += 250;
    e.push_back({t, "playend " + n + " 512"});
    t += gap[1];
    e.push_back({t, "collect " + n});
    t += 40;
    e.push_back({t, "collectend " + n + " 1 2015"});
    t += gap[2];
    e.push_back({t, "play " + n + " 8000 C:\\v\\my route.vox"});
    t += 250;
    e.push_back({t, "playend " + n + " 512"});
    t += gap[3];
    e.push_back({t, "dial " + n + " &315"});
    t += 800;
    e.push_back({t, "dialend " + n});
    t += gap[4];
    e.push_back({t, "play " + n + " 8000 C:\\v\\bye.vox"});
    t += 250;
    e.push_back({t, "playend " + n + " 512"});
    t += gap[5];
    e.push_back({t, "hook " + n + " on"});
    e.push_back({t + 1, "hook " + n + " on"});
    e.push_back({t + 2, "wait " + n + " 1"});
    return e;
}

void feed(GapTracker& g, const Events& events)
{
    for (const auto& [ms, text] : events) g.feed(ms, text);
}

std::vector<double> column(const GapTracker& g, Gap gap) { return g.samples(gap); }

TEST(CallGaps, ARegularCallGivesItsSixGaps)
{
    GapTracker g(classify);
    feed(g, regular_call(1, 1000, {1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(g.regular_calls(), 1);
    EXPECT_EQ(g.irregular_calls(), 0);
    const Gap gaps[] = {Gap::answer_to_greeting, Gap::greeting_to_collect, Gap::collect_to_transfer,
                        Gap::transfer_to_dial,   Gap::dial_to_goodbye,     Gap::goodbye_to_onhook};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(column(g, gaps[k]), std::vector<double>{k + 1.0}) << zelbench::gap_name(gaps[k]);
    EXPECT_EQ(g.answer_to_offhook(), std::vector<double>{1}) << "the call flow's off-hook, not the board's";
    EXPECT_EQ(g.calls_in_progress(), 0);
}

TEST(CallGaps, InterleavedLinesKeepTheirOwnGaps)
{
    Events a = regular_call(1, 1000, {0, 1, 0, 1, 0, 1});
    Events b = regular_call(3, 1003, {9, 8, 7, 6, 5, 4});
    Events all;
    // Merge by stamp, as the board would send them.
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(all),
               [](const auto& x, const auto& y) { return x.first < y.first; });
    GapTracker g(classify);
    feed(g, all);
    ASSERT_EQ(g.regular_calls(), 2);
    std::vector<double> first = column(g, Gap::answer_to_greeting);
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<double>{0, 9}));
    std::vector<double> last = column(g, Gap::goodbye_to_onhook);
    std::sort(last.begin(), last.end());
    EXPECT_EQ(last, (std::vector<double>{1, 4}));
}

TEST(CallGaps, CallsOffTheExpectedWayGiveNoGaps)
{
    struct Case {
        const char* what;
        Events events;
    };
    const Case cases[] = {
        {"retry prompt",
         {{0, "answer 2"}, {1, "play 2 8000 C:\\v\\open.vox"}, {300, "playend 2 512"}, {301, "collect 2"},
          {350, "collectend 2 1 9999"}, {351, "clear 2"}, {352, "play 2 8000 C:\\v\\wrong.vox"},
          {600, "playend 2 512"}, {601, "collect 2"}, {5601, "collectend 2 32"}, {5602, "hook 2 on"}}},
        {"greeting cut by a key",
         {{0, "answer 2"}, {1, "play 2 8000 C:\\v\\open.vox"}, {100, "playend 2 1"}, {101, "collect 2"},
          {102, "collectend 2 1 2015"}, {103, "play 2 8000 C:\\v\\my route.vox"}, {353, "playend 2 512"},
          {354, "dial 2 &315"}, {1154, "dialend 2"}, {1155, "play 2 8000 C:\\v\\bye.vox"}, {1405, "playend 2 512"},
          {1406, "hook 2 on"}}},
        {"caller hung up", {{0, "answer 2"}, {1, "play 2 8000 C:\\v\\open.vox"}, {90, "playend 2 8"}, {91, "hook 2 on"}}},
        {"failed play", {{0, "answer 2"}, {1, "playfail 2 C:\\v\\open.vox"}, {2, "collect 2"}, {5002, "hook 2 on"}}},
        {"silence", {{0, "answer 2"}, {1, "play 2 8000 C:\\v\\open.vox"}, {300, "playend 2 512"}, {301, "collect 2"},
                     {5301, "collectend 2 32"}, {5302, "play 2 8000 C:\\v\\noinput.vox"}, {5600, "hook 2 on"}}},
    };
    for (const Case& c : cases) {
        GapTracker g(classify);
        feed(g, c.events);
        EXPECT_EQ(g.regular_calls(), 0) << c.what;
        EXPECT_EQ(g.irregular_calls(), 1) << c.what;
        EXPECT_TRUE(g.samples(Gap::answer_to_greeting).empty()) << c.what;
        EXPECT_EQ(g.calls_in_progress(), 0) << c.what;
    }
}

TEST(CallGaps, AnAnswerInsideACallEndsThatCallAsIrregular)
{
    GapTracker g(classify);
    feed(g, {{0, "answer 4"}, {2, "play 4 8000 C:\\v\\open.vox"}});
    EXPECT_EQ(g.calls_in_progress(), 1);
    feed(g, regular_call(4, 500, {1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(g.irregular_calls(), 1);
    EXPECT_EQ(g.regular_calls(), 1);
}

TEST(CallGaps, EventsOutsideCallsAndOtherLinesAreIgnored)
{
    GapTracker g(classify);
    feed(g, {{0, "open dxxxB1C1"}, {1, "hook 1 on"}, {2, "wait 1 1"}, {3, "status 1 idle"}, {4, "error bad line: x"},
             {5, "answer 5"}, {6, "play 7 8000 C:\\v\\open.vox"}, {7, "answer"}, {8, "hook 1 on"}});
    EXPECT_EQ(g.regular_calls(), 0);
    EXPECT_EQ(g.irregular_calls(), 0);
    EXPECT_EQ(g.calls_in_progress(), 0);
}

}  // namespace
