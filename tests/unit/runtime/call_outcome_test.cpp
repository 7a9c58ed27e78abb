// What the call flow says it did, as the call log records it: the keys of each entry,
// the route and whether its port or alternate was dialled, why the default transfer was
// made, where a caller hung up, and which operations failed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "call_flow.h"
#include "call_log.h"
#include "call_script.h"

using fakevl::Step;
using zel::CallClock;
using zel::ConfigRecord;
using zel::Field;
using namespace zel::test;

namespace {

constexpr CallClock kFridayMorning{2009, 7, 3, 5, 10, 0, 12};
constexpr CallClock kFridayNight{2009, 7, 3, 5, 18, 30, 0};


class QuietHost : public zel::CallHost {
public:
    void show_picture(const char*) override {}
    void report_fault(const char*) override {}
};

}  // namespace

TEST(CallOutcome, EachWayACallEndsIsLoggedWithItsKeysRouteAndDial)
{
    const Step off = fakevl::hook(1);
    const Step greet = fakevl::play(kOpen, kEof);
    const Step clear = fakevl::clear();
    const Step retry = fakevl::play(kWrong, kEof);
    const std::vector<Step> to_port = transfer(kSales, "&,,201");
    const std::vector<Step> to_default = transfer(kNoInput, "&,,100");
    const struct {
        const char* name;
        CallClock clock;
        std::vector<Step> script;
        std::string outcome, at;
        std::vector<std::string> entries;
        int route;
        std::string dial;
        std::string reason;
        std::vector<std::string> failed = {};
    } cases[] = {
        {"port", kFridayMorning, std::vector<Step>{off, greet, fakevl::collect(kKey, "1234")} + to_port, "port", "",
         {"1234"}, 3, "&,,201", "weekly: FRI"},
        {"alternate in the window", kFridayNight,
         std::vector<Step>{off, fakevl::play(kClosed, kEof), fakevl::collect(kKey, "1234")} +
             transfer(kSales, "&,,9,,,5551234"),
         "alternate", "", {"1234"}, 3, "&,,9,,,5551234", "weekly: FRI (after hours)"},
        {"silence", kFridayMorning, std::vector<Step>{off, greet, fakevl::collect(kTimeUp)} + to_default,
         "default-silence", "", {}, -1, "&,,100", "weekly: FRI"},
        {"two wrong entries", kFridayMorning,
         std::vector<Step>{off, greet, fakevl::collect(kKey, "9999"), clear, retry, fakevl::collect(kTimeUp, "12"),
                           clear} +
             to_default,
         "default-wrong", "", {"9999", "12"}, -1, "&,,100", "weekly: FRI"},
        {"a wrong entry then silence", kFridayMorning,
         std::vector<Step>{off, greet, fakevl::collect(kKey, "9999"), clear, retry, fakevl::collect(kTimeUp), clear,
                           retry} +
             to_default,
         "default-wrong", "", {"9999"}, -1, "&,,100", "weekly: FRI"},
        {"hang-up in the greeting", kFridayMorning, {off, fakevl::play(kOpen, kHangup)}, "hung-up", "greeting", {},
         -1, "", "weekly: FRI"},
        {"hang-up after keys, in the retry prompt", kFridayMorning,
         {off, greet, fakevl::collect(kKey, "9999"), clear, fakevl::play(kWrong, kHangup)}, "hung-up", "reprompt",
         {"9999"}, -1, "", "weekly: FRI"},
        {"hang-up in the transfer voice", kFridayMorning,
         {off, greet, fakevl::collect(kKey, "1234"), fakevl::play(kSales, kHangup)}, "hung-up", "announce",
         {"1234"}, 3, "", "weekly: FRI"},
        {"a failed greeting and dial are noted, the call goes on", kFridayMorning,
         {off, fakevl::play(kOpen, 0, "", -1), fakevl::collect(kKey, "1234"), fakevl::play(kSales, kEof),
          fakevl::dial("&,,201", 0, -1), fakevl::play(kGoodbye, kEof)},
         "port", "", {"1234"}, 3, "&,,201", "weekly: FRI", {"play greeting", "dial"}},
        {"collections that keep failing", kFridayMorning,
         {off, greet, fakevl::collect(0, "", -1), fakevl::collect(0, "", -1), fakevl::collect(0, "", -1)}, "error",
         "collect", {}, -1, "", "weekly: FRI", {"collect", "collect", "collect"}},
    };
    const ConfigRecord rec = route_record();
    for (const auto& c : cases) {
        fakevl::fake().load(kDevice, kFormat, c.script);
        QuietHost host;
        const zel::CallSummary summary = zel::run_call(kDevice, rec, kFormat, c.clock, host);
        EXPECT_TRUE(fakevl::fake().errors().empty()) << c.name << "\n" << fakevl::fake().log_text();
        EXPECT_TRUE(fakevl::fake().finished()) << c.name;
        const zel::CallLogEntry e = zel::call_log_entry(summary, rec, c.clock);
        EXPECT_EQ(c.outcome, e.outcome) << c.name;
        EXPECT_EQ(c.at, e.outcome_at) << c.name;
        EXPECT_EQ(c.entries, e.entries) << c.name;
        EXPECT_EQ(c.route, e.route) << c.name;
        EXPECT_EQ(c.route >= 0 ? "1234" : "", e.extension) << c.name;
        EXPECT_EQ(c.dial, e.dial) << c.name;
        EXPECT_EQ(c.reason, e.reason) << c.name;
        EXPECT_EQ(c.failed, e.failed) << c.name;
    }
}

TEST(CallOutcome, TheGreetingIsLoggedByItsFieldAndPath)
{
    const ConfigRecord rec = route_record();
    fakevl::fake().load(kDevice, kFormat, {fakevl::hook(1), fakevl::play(kClosed, kHangup)});
    QuietHost host;
    const zel::CallSummary s = zel::run_call(kDevice, rec, kFormat, kFridayNight, host);
    const zel::CallLogEntry e = zel::call_log_entry(s, rec, kFridayNight);
    EXPECT_EQ("closed_greeting_vox", e.greeting_field);
    EXPECT_EQ(kClosed, e.greeting);
}
