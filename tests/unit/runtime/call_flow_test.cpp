// The call flow against a scripted voice library: every row of its state machine,
// and what a caller meets in each case.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "call_flow.h"
#include "call_script.h"
#include "status_pictures.h"

using fakevl::Step;
using zel::CallClock;
using zel::CallEnd;
using zel::ConfigRecord;
using zel::Field;
using namespace zel::test;

namespace {

const std::string kFirst = "C:\\vox\\first.vox";
const std::string kLast = "C:\\vox\\last.vox";

const char* const kPlayFailed = "PLAY FAILED.";
const char* const kDigitFailed = "GET DIGIT FAILED.";
const char* const kRetryFailed = "PLAY FAILED, please make sure all vox files\n are in the correct directories";
const char* const kAnnounceFailed = "PLAY FAILED,\n please make sure all vox files are\n in the correct directories.";
const char* const kGoodbyeFailed = "PLAY FAILED.\n Please make sure that all vox files \n are in the correct directories";

// Friday 3 July 2009, 10:00: the office is open.
constexpr CallClock kFridayMorning{2009, 7, 3, 5, 10, 0};

// Route 0: 1000 to port 200. Route 3: 1234 to port 201, or to 9-555-1234 from 17:00 to
// 08:00. Route 15: 7777 to port 299. Default port 100; two pauses after the flash.
ConfigRecord call_record()
{
    ConfigRecord rec = route_record();
    put(rec, Field::route_ext, 0, "1000");
    put(rec, Field::route_vox, 0, kFirst);
    put(rec, Field::route_port, 0, "200");
    put(rec, Field::route_ext, 15, "7777");
    put(rec, Field::route_vox, 15, kLast);
    put(rec, Field::route_port, 15, "299");
    return rec;
}

class RecordingHost : public zel::CallHost {
public:
    void show_picture(const char* name) override
    {
        pictures.push_back(name);
        picture_at.push_back(fakevl::fake().used());
    }
    void report_fault(const char* text) override { faults.push_back(text); }
    void on_transition(zel::CallState from, zel::CallEvent event, zel::CallState to) override
    {
        if (path.empty()) path = zel::call_state_name(from);
        path += std::string(">") + zel::call_state_name(to);
        taken.push_back({from, event, to});
    }

    std::vector<std::string> pictures;
    std::vector<std::size_t> picture_at;  // script steps used when each picture was shown
    std::vector<std::string> faults;
    std::string path;
    std::vector<zel::CallTransition> taken;
};

Step late_hangup_greeting()
{
    Step s = fakevl::play(kOpen, kEof);
    s.later_reason = kHangup;
    return s;
}

struct Scenario {
    const char* name;
    std::vector<Step> script;
    std::vector<std::string> faults;
    std::vector<std::string> pictures;
    std::string path;
    CallEnd end;
    std::string dial = {};               // dialled string; empty when nothing was dialled
    void (*setup)(ConfigRecord&) = nullptr;
    CallClock clock = kFridayMorning;
};

const Step kOffHook = fakevl::hook(1);
const Step kGreeting = fakevl::play(kOpen, kEof);
const Step kClear = fakevl::clear();
const Step kRetry = fakevl::play(kWrong, kEof);
Step keys(const char* k) { return fakevl::collect(kKey, k); }
Step silence(const char* k = "") { return fakevl::collect(kTimeUp, k); }
Step failed_collect() { return fakevl::collect(0, "", -1); }

const std::string kToRoute = "greeting>collect>lookup>route_transfer>announce>dial>closing>end";
const std::string kToDefault = "greeting>collect>default_transfer>announce>dial>closing>end";

std::vector<Scenario> scenarios()
{
    const std::vector<Step> to_sales = transfer(kSales, "&,,201");
    const std::vector<Step> to_default = transfer(kNoInput, "&,,100");
    return {
        {"a full entry reaches its route",
         std::vector<Step>{kOffHook, kGreeting, keys("1234")} + to_sales, {}, {"FOUR"}, kToRoute,
         CallEnd::transferred, "&,,201"},
        {"keys pressed during the greeting count",
         std::vector<Step>{kOffHook, fakevl::play(kOpen, kKey, "1"), fakevl::collect(kKey, "234")} + to_sales,
         {}, {"FOUR"}, kToRoute, CallEnd::transferred, "&,,201"},
        {"silence means the default transfer without a retry prompt",
         std::vector<Step>{kOffHook, kGreeting, silence()} + to_default, {}, {"ZERO"}, kToDefault,
         CallEnd::transferred, "&,,100"},
        {"a wrong entry is prompted once and a second wrong entry goes to the default",
         std::vector<Step>{kOffHook, kGreeting, keys("9999"), kClear, kRetry, keys("8888"), kClear} + to_default,
         {}, {"ZERO"},
         "greeting>collect>lookup>invalid>reprompt>collect>lookup>invalid>reprompt>default_transfer>announce>dial>"
         "closing>end",
         CallEnd::transferred, "&,,100"},
        {"a wrong entry and then the right one",
         std::vector<Step>{kOffHook, kGreeting, keys("9999"), kClear, kRetry, keys("1234")} + to_sales, {},
         {"FOUR"}, "greeting>collect>lookup>invalid>reprompt>collect>lookup>route_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,201"},
        {"a wrong entry followed by silence hears the prompt twice, then the default",
         std::vector<Step>{kOffHook, kGreeting, keys("9999"), kClear, kRetry, silence(), kClear, kRetry} +
             to_default,
         {}, {"ZERO"},
         "greeting>collect>lookup>invalid>reprompt>collect>reprompt>default_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,100"},
        {"three digits followed by silence count as a wrong entry",
         std::vector<Step>{kOffHook, kGreeting, silence("123"), kClear, kRetry, keys("1234")} + to_sales, {},
         {"FOUR"}, "greeting>collect>invalid>reprompt>collect>lookup>route_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,201"},
        {"a short entry twice goes to the default",
         std::vector<Step>{kOffHook, kGreeting, silence("1"), kClear, kRetry, silence("12"), kClear} + to_default,
         {}, {"ZERO"},
         "greeting>collect>invalid>reprompt>collect>invalid>reprompt>default_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,100"},
        {"keys pressed during the retry prompt count",
         std::vector<Step>{kOffHook, kGreeting, keys("9999"), kClear, fakevl::play(kWrong, kKey, "12"),
                           fakevl::collect(kKey, "34")} +
             to_sales,
         {}, {"FOUR"},
         "greeting>collect>lookup>invalid>reprompt>collect>lookup>route_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,201"},
        {"an entry of 0000 finds no unused route and counts as wrong",
         std::vector<Step>{kOffHook, kGreeting, keys("0000"), kClear, kRetry, keys("1000")} +
             transfer(kFirst, "&,,200"),
         {}, {"ONE"},
         "greeting>collect>lookup>invalid>reprompt>collect>lookup>route_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,200"},
        {"route index 15 shows 16A",
         std::vector<Step>{kOffHook, kGreeting, keys("7777")} + transfer(kLast, "&,,299"), {}, {"16A"}, kToRoute,
         CallEnd::transferred, "&,,299"},

        // The caller hangs up.
        {"hang-up during the greeting", {kOffHook, fakevl::play(kOpen, kHangup)}, {}, {}, "greeting>end",
         CallEnd::caller_gone},
        {"reason 4 during the greeting", {kOffHook, fakevl::play(kOpen, kHangupAlt)}, {}, {}, "greeting>end",
         CallEnd::caller_gone},
        {"hang-up as the greeting runs out", {kOffHook, late_hangup_greeting()}, {}, {}, "greeting>end",
         CallEnd::caller_gone},
        {"hang-up during the collection", {kOffHook, kGreeting, fakevl::collect(kHangup, "12")}, {}, {},
         "greeting>collect>end", CallEnd::caller_gone},
        {"hang-up during the retry prompt",
         {kOffHook, kGreeting, keys("9999"), kClear, fakevl::play(kWrong, kHangup)}, {}, {},
         "greeting>collect>lookup>invalid>reprompt>end", CallEnd::caller_gone},
        {"reason 4 during the retry prompt",
         {kOffHook, kGreeting, keys("9999"), kClear, fakevl::play(kWrong, kHangupAlt)}, {}, {},
         "greeting>collect>lookup>invalid>reprompt>end", CallEnd::caller_gone},
        {"hang-up during the transfer voice",
         {kOffHook, kGreeting, keys("1234"), fakevl::play(kSales, kHangup)}, {}, {"FOUR"},
         "greeting>collect>lookup>route_transfer>announce>end", CallEnd::caller_gone},
        {"hang-up during the dial",
         {kOffHook, kGreeting, keys("1234"), fakevl::play(kSales, kEof), fakevl::dial("&,,201", kHangup)}, {},
         {"FOUR"}, "greeting>collect>lookup>route_transfer>announce>dial>end", CallEnd::caller_gone, "&,,201"},
        {"hang-up during the goodbye",
         {kOffHook, kGreeting, keys("1234"), fakevl::play(kSales, kEof), fakevl::dial("&,,201"),
          fakevl::play(kGoodbye, kHangup)},
         {}, {"FOUR"}, kToRoute, CallEnd::transferred, "&,,201"},

        // The library fails.
        {"a failing dial still plays the goodbye",
         {kOffHook, kGreeting, keys("1234"), fakevl::play(kSales, kEof), fakevl::dial("&,,201", 0, -1),
          fakevl::play(kGoodbye, kEof)},
         {}, {"FOUR"}, kToRoute, CallEnd::transferred, "&,,201"},
        {"collections that keep failing end the call",
         {kOffHook, kGreeting, failed_collect(), failed_collect(), failed_collect()},
         {kDigitFailed, kDigitFailed, kDigitFailed}, {}, "greeting>collect>collect>collect>end",
         CallEnd::collect_failed},
        {"collections ending for an unknown reason end the call without a message",
         {kOffHook, kGreeting, fakevl::collect(2), fakevl::collect(16), fakevl::collect(0)}, {}, {},
         "greeting>collect>collect>collect>end", CallEnd::collect_failed},
        {"any other outcome starts the count of failed collections again",
         std::vector<Step>{kOffHook, kGreeting, failed_collect(), failed_collect(), silence("5"), kClear, kRetry,
                           failed_collect(), failed_collect(), keys("1234")} +
             to_sales,
         {kDigitFailed, kDigitFailed, kDigitFailed, kDigitFailed}, {"FOUR"},
         "greeting>collect>collect>collect>invalid>reprompt>collect>collect>collect>lookup>route_transfer>announce>"
         "dial>closing>end",
         CallEnd::transferred, "&,,201"},
        {"a failed collection goes on with its reason and keeps no keys of an earlier one",
         std::vector<Step>{kOffHook, kGreeting, keys("9999"), kClear, kRetry, fakevl::collect(kTimeUp, "", -1),
                           kClear, kRetry} +
             to_default,
         {kDigitFailed}, {"ZERO"},
         "greeting>collect>lookup>invalid>reprompt>collect>reprompt>default_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,100"},
        {"a failed greeting is reported and the call goes on",
         std::vector<Step>{kOffHook, fakevl::play(kOpen, 0, "", -1), keys("1234")} + to_sales, {kPlayFailed},
         {"FOUR"}, kToRoute, CallEnd::transferred, "&,,201"},
        {"a failed retry prompt is reported and the call goes on",
         std::vector<Step>{kOffHook, kGreeting, keys("9999"), kClear, fakevl::play(kWrong, 0, "", -1),
                           keys("1234")} +
             to_sales,
         {kRetryFailed}, {"FOUR"},
         "greeting>collect>lookup>invalid>reprompt>collect>lookup>route_transfer>announce>dial>closing>end",
         CallEnd::transferred, "&,,201"},
        {"a failed transfer voice is reported and the dial goes on",
         {kOffHook, kGreeting, silence(), fakevl::play(kNoInput, 0, "", -1), fakevl::dial("&,,100"),
          fakevl::play(kGoodbye, kEof)},
         {kAnnounceFailed}, {"ZERO"}, kToDefault, CallEnd::transferred, "&,,100"},
        {"a failed goodbye is reported",
         {kOffHook, kGreeting, silence(), fakevl::play(kNoInput, kEof), fakevl::dial("&,,100"),
          fakevl::play(kGoodbye, 0, "", -1)},
         {kGoodbyeFailed}, {"ZERO"}, kToDefault, CallEnd::transferred, "&,,100"},
        {"a failed off-hook is reported and the call goes on",
         std::vector<Step>{fakevl::hook(1, -1), kGreeting, keys("1234")} + to_sales, {"SET OFFHOOK failed"},
         {"FOUR"}, kToRoute, CallEnd::transferred, "&,,201"},

        // The schedule chooses the greeting and where routes go.
        {"a day closed all day plays the closed greeting and dials the alternate",
         std::vector<Step>{kOffHook, fakevl::play(kClosed, kEof), keys("1234")} +
             transfer(kSales, "&,,9,,,5551234"),
         {}, {"FOUR"}, kToRoute, CallEnd::transferred, "&,,9,,,5551234",
         [](ConfigRecord& r) { put(r, Field::day_closed, 4, "01"); }},
        {"inside the route's window the outside number is dialled with its pauses",
         std::vector<Step>{kOffHook, fakevl::play(kClosed, kEof), keys("1234")} +
             transfer(kSales, "&,,9,,,5551234"),
         {}, {"FOUR"}, kToRoute, CallEnd::transferred, "&,,9,,,5551234", nullptr, {2009, 7, 3, 5, 20, 0}},
        {"an open special day dials the port inside the window",
         std::vector<Step>{kOffHook, fakevl::play(kSpOpen, kEof), keys("1234")} + to_sales, {}, {"FOUR"}, kToRoute,
         CallEnd::transferred, "&,,201",
         [](ConfigRecord& r) {
             put(r, Field::special_date, 12, "07/03/2009");
             put(r, Field::special_open_time, 0, "06:00:00 AM");
             put(r, Field::special_close_time, 0, "11:00:00 PM");
         },
         {2009, 7, 3, 5, 20, 0}},
    };
}

std::string row_text(const zel::CallTransition& t)
{
    return std::string(zel::call_state_name(t.from)) + " --" + zel::call_event_name(t.event) + "--> " +
           zel::call_state_name(t.to);
}

}  // namespace

TEST(CallFlow, ScenariosWalkEveryRowOfTheStateMachine)
{
    std::set<std::tuple<int, int, int>> walked;
    for (const Scenario& s : scenarios()) {
        SCOPED_TRACE(s.name);
        ConfigRecord rec = call_record();
        if (s.setup != nullptr) s.setup(rec);
        fakevl::fake().load(kDevice, kFormat, s.script);
        RecordingHost host;
        const zel::CallSummary summary = zel::run_call(kDevice, rec, kFormat, s.clock, host);

        EXPECT_TRUE(fakevl::fake().errors().empty())
            << ::testing::PrintToString(fakevl::fake().errors()) << "\ncalls:\n" << fakevl::fake().log_text();
        EXPECT_TRUE(fakevl::fake().finished()) << "calls:\n" << fakevl::fake().log_text();
        EXPECT_EQ(s.faults, host.faults);
        EXPECT_EQ(s.pictures, host.pictures);
        EXPECT_EQ(s.path, host.path);
        EXPECT_EQ(s.end, summary.end);
        EXPECT_EQ(s.dial, summary.dial);
        // The picture comes first, then the transfer voice.
        for (std::size_t at : host.picture_at) {
            ASSERT_LT(at, s.script.size());
            EXPECT_EQ(fakevl::Op::play, s.script[at].op) << "picture shown before step " << at;
        }
        for (const zel::CallTransition& t : host.taken) {
            walked.insert({static_cast<int>(t.from), static_cast<int>(t.event), static_cast<int>(t.to)});
        }
    }
    for (const zel::CallTransition& row : zel::call_transitions()) {
        EXPECT_TRUE(walked.count({static_cast<int>(row.from), static_cast<int>(row.event), static_cast<int>(row.to)}))
            << "no scenario walks " << row_text(row);
    }
}

TEST(CallFlow, EveryStateHasAWayOnForEachEventItsActionGives)
{
    // Each (state, event) pair has exactly one row, and every state but the end has a
    // row, so no action can leave the flow without a next state.
    std::set<std::pair<int, int>> seen;
    std::set<int> states_with_rows;
    for (const zel::CallTransition& row : zel::call_transitions()) {
        EXPECT_TRUE(seen.insert({static_cast<int>(row.from), static_cast<int>(row.event)}).second)
            << "two rows for " << row_text(row);
        EXPECT_NE(zel::CallState::end, row.from) << row_text(row);
        states_with_rows.insert(static_cast<int>(row.from));
    }
    EXPECT_EQ(static_cast<std::size_t>(zel::CallState::count_) - 1, states_with_rows.size());
}

TEST(CallFlow, NothingOfACallSurvivesIntoTheNext)
{
    // A caller who used up the attempts must not make the next caller's silence look
    // like a second failure.
    const ConfigRecord rec = call_record();
    const std::vector<Step> first{kOffHook, kGreeting, keys("9999"), kClear, kRetry, keys("8888"), kClear,
                                  fakevl::play(kNoInput, kHangup)};
    fakevl::fake().load(kDevice, kFormat, first);
    RecordingHost host1;
    EXPECT_EQ(3, zel::run_call(kDevice, rec, kFormat, kFridayMorning, host1).attempts);
    EXPECT_TRUE(fakevl::fake().finished());

    fakevl::fake().load(kDevice, kFormat, std::vector<Step>{kOffHook, kGreeting, silence()} +
                                              transfer(kNoInput, "&,,100"));
    RecordingHost host2;
    const zel::CallSummary second = zel::run_call(kDevice, rec, kFormat, kFridayMorning, host2);
    EXPECT_EQ(kToDefault, host2.path);
    EXPECT_EQ(0, second.attempts);
    EXPECT_TRUE(fakevl::fake().errors().empty()) << fakevl::fake().log_text();
}

TEST(CallFlow, TheScheduleIsEvaluatedFromTheCallsClock)
{
    const ConfigRecord rec = call_record();
    const struct {
        CallClock clock;
        std::string greeting;
        bool closed;
    } cases[] = {
        {{2009, 7, 3, 5, 8, 59}, "C:\\vox\\closed.vox", false},
        {{2009, 7, 3, 5, 9, 0}, kOpen, false},
        {{2009, 7, 3, 5, 17, 0}, kOpen, false},
        {{2009, 7, 3, 9, 12, 0}, "C:\\vox\\closed.vox", true},  // no such weekday
    };
    for (const auto& c : cases) {
        fakevl::fake().load(kDevice, kFormat, {kOffHook, fakevl::play(c.greeting, kHangup)});
        RecordingHost host;
        const zel::CallSummary summary = zel::run_call(kDevice, rec, kFormat, c.clock, host);
        EXPECT_EQ(c.greeting, summary.schedule.greeting);
        EXPECT_EQ(c.closed, summary.schedule.closed);
        EXPECT_TRUE(fakevl::fake().errors().empty()) << fakevl::fake().log_text();
    }
}

TEST(AnswerRings, NeverWaitsForFewerThanOneRing)
{
    const struct {
        const char* text;
        int rings;
    } cases[] = {{"", 1}, {"0", 1}, {"1", 1}, {"3", 3}, {"9", 9}, {"x", 1}, {"-", 1}};
    for (const auto& c : cases) {
        ConfigRecord rec = zel::default_record();
        put(rec, Field::answer_ring, c.text);
        EXPECT_EQ(c.rings, zel::answer_rings(rec)) << "'" << c.text << "'";
    }
}
