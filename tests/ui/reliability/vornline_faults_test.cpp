// Every failure point of the channel thread and the call flow, injected through the
// stand-in board's `fail` command into a real Vornline.exe under Wine: the fault box that
// must appear (or none), how the call goes on (the dial string and the goodbye, or its
// end), and which lines still answer afterwards. Each row prints a line of the results
// table kept in docs/reliability.md.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "record_file.h"
#include "reliability_office.h"

namespace {

using namespace std::chrono_literals;

constexpr double kSpeed = 10;

// When the failure is armed, relative to the call on line 1.
enum class Arm {
    before_open,      // before Open: hits the channel's very first operation of that kind
    before_ring,      // line idle and waiting: hits the call's first operation of that kind
    after_greeting,   // the greeting has ended: hits the first such operation after it
    after_announce,   // the transfer voice has started: hits the goodbye or the on-hook
};

struct FaultCase {
    const char* point;     // the failure point, as the table names it
    const char* op;        // the board's operation name
    int line;              // the line it is armed on
    Arm arm;
    const char* first_keys;   // keys after the first collection starts ("" for silence)
    const char* second_keys;  // keys after a second collection starts, if one is expected
    std::string fault;        // the fault box's text; "" for none; "*" prefix match on the rest
    std::string dial;         // the dial string the call reaches, "" for none
    bool goodbye;             // the goodbye is played
    bool hangs_up;            // the line goes on-hook after the call
    bool line_lives;          // the line answers the next call
    bool call_on_line;        // a call is placed on `line` at all
};

const std::string kWtringFault =
    "*ERROR: dx_wtring failed. errno = ";

const FaultCase kCases[] = {
    {"ring wait", "wtring", 2, Arm::before_open, "", "", kWtringFault, "", false, false, false, false},
    {"on-hook before the ring wait", "sethook", 3, Arm::before_open, "", "", "dx_sethook failed", "", false, false,
     false, false},
    {"off-hook at the answer", "sethook", 1, Arm::before_ring, "1002", "", "SET OFFHOOK failed", "&,,202", true, true,
     true, true},
    {"on-hook after the call", "sethook", 1, Arm::after_greeting, "1003", "", "SET ONHOOK FAILED.", "&,,203", true,
     false, false, true},
    {"play of the greeting", "play", 1, Arm::before_ring, "1004", "", "PLAY FAILED.", "&,,204", true, true, true, true},
    {"play of the retry prompt", "play", 1, Arm::after_greeting, "9999", "1005",
     "PLAY FAILED, please make sure all vox files\n are in the correct directories", "&,,205", true, true, true, true},
    {"play of the transfer voice", "play", 1, Arm::after_greeting, "1006", "",
     "PLAY FAILED,\n please make sure all vox files are\n in the correct directories.", "&,,206", true, true, true, true},
    {"play of the goodbye", "play", 1, Arm::after_announce, "1007", "",
     "PLAY FAILED.\n Please make sure that all vox files \n are in the correct directories", "&,,207", false, true, true,
     true},
    {"collect", "collect", 1, Arm::before_ring, "1008", "", "GET DIGIT FAILED.", "&,,208", true, true, true, true},
    {"dial", "dial", 1, Arm::before_ring, "1009", "", "", "", true, true, true, true},
};

void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << c.point;
}

bool matches_fault(const std::string& want, const std::string& got)
{
    if (!want.empty() && want[0] == '*') return got.rfind(want.substr(1), 0) == 0;
    return got == want;
}

std::string one_line(std::string text)
{
    for (char& c : text) {
        if (c == '\n') c = '|';
    }
    return text;
}

class Call {
public:
    explicit Call(rel::VornlineRun& run) : run_(run) {}

    // Waits for an event of the board, dismissing fault boxes on the way (and keeping them).
    testing::AssertionResult expect(const std::string& pattern, std::chrono::milliseconds timeout = 30s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            run_.dismiss_boxes(&faults);
            if (run_.board.expect(pattern, 100ms)) return testing::AssertionSuccess();
            if (std::chrono::steady_clock::now() > deadline) {
                return testing::AssertionFailure() << "no '" << pattern << "'; board said:\n" << run_.board.report();
            }
        }
    }

    std::vector<std::string> faults;

private:
    rel::VornlineRun& run_;
};

// Rings every line at once and returns the ones that answer. A dead line never does: it
// is known to be dead once the board says it is not ringing (idle again, or off-hook
// where the program could not hang it up) without an answer.
std::vector<int> lines_that_answer(rel::VornlineRun& run, std::vector<std::string>* faults)
{
    run.board.skip_received();
    const std::size_t from = run.board.events().size();
    for (int line = 1; line <= 4; ++line) run.board.send("ring " + std::to_string(line) + " 3");
    std::vector<int> answered;
    EXPECT_TRUE(wd::wait_until(
        [&] {
            run.dismiss_boxes(faults);
            const std::size_t asked = run.board.events().size();
            run.board.send("status");
            answered.clear();
            int settled = 0;
            const std::vector<zeltest::BoardEvent> events = run.board.events();
            for (int line = 1; line <= 4; ++line) {
                const std::string n = std::to_string(line);
                bool answer = false, quiet = false;
                for (std::size_t i = from; i < events.size(); ++i) {
                    if (events[i].text == "answer " + n) answer = true;
                    // The status of an earlier look: the rings were queued before it.
                    if (i < asked && zeltest::event_matches("status " + n + " *", events[i].text) &&
                        events[i].text != "status " + n + " ringing")
                        quiet = true;
                }
                if (answer) answered.push_back(line);
                if (answer || quiet) ++settled;
            }
            return settled == 4;
        },
        30000, "every line to answer or stop ringing"))
        << run.board.report();
    return answered;
}

class InjectedFault : public testing::TestWithParam<FaultCase> {};

TEST_P(InjectedFault, ShowsItsMessageAndTheCallGoesOnAsTheFlowSays)
{
    const FaultCase& c = GetParam();
    rel::VornlineRun run;
    ASSERT_TRUE(run.put_command(zel::to_disk(rel::open_office())));
    ASSERT_TRUE(run.start({.speed = kSpeed}));
    const std::string arm = std::string("fail ") + c.op + " " + std::to_string(c.line);
    const std::string n = std::to_string(c.line);
    Call call(run);

    if (c.arm == Arm::before_open) {

        ASSERT_TRUE(run.board.send(arm));

    }
    ASSERT_TRUE(run.choose_open());
    ASSERT_TRUE(call.expect("open dxxxB1C4"));

    if (c.call_on_line) {
        ASSERT_TRUE(call.expect("wait " + n + " 1"));
        if (c.arm == Arm::before_ring) {
            ASSERT_TRUE(run.board.send(arm));
        }
        ASSERT_TRUE(run.board.send("ring " + n + " 3"));
        ASSERT_TRUE(call.expect("answer " + n));
        // A failed play never starts: the board says playfail instead of play and playend.
        if (c.arm == Arm::before_ring && std::string(c.op) == "play") {
            ASSERT_TRUE(call.expect("playfail " + n + " *open.vox"));
        } else {
            ASSERT_TRUE(call.expect("play " + n + " * *open.vox"));
            ASSERT_TRUE(call.expect("playend " + n + " *"));
        }
        if (c.arm == Arm::after_greeting) {
            ASSERT_TRUE(run.board.send(arm));
        }
        ASSERT_TRUE(call.expect("collect " + n));
        if (*c.first_keys) {
            ASSERT_TRUE(run.board.send("dtmf " + n + " " + c.first_keys));
        }
        if (*c.second_keys) {
            ASSERT_TRUE(call.expect("collectend " + n + " *"));
            ASSERT_TRUE(call.expect("collect " + n));
            ASSERT_TRUE(run.board.send("dtmf " + n + " " + c.second_keys));
        }
        if (c.arm == Arm::after_announce) {
            ASSERT_TRUE(call.expect("play " + n + " * *s*.vox"));
            ASSERT_TRUE(run.board.send(arm));
        }
        if (!c.dial.empty()) {
            ASSERT_TRUE(call.expect("dialend " + n));
        }
        if (c.goodbye) {
            ASSERT_TRUE(call.expect("play " + n + " * *bye.vox"));
        }
        if (c.hangs_up) {
            ASSERT_TRUE(call.expect("hook " + n + " on"));
        }
        if (c.line_lives) {
            ASSERT_TRUE(call.expect("wait " + n + " 1"));
        }
    }
    // The fault box, where one is due, shows before the line waits again or dies.
    if (!c.fault.empty()) {
        ASSERT_TRUE(wd::wait_until(
            [&] {
                run.dismiss_boxes(&call.faults);
                return !call.faults.empty();
            },
            20000, "the fault box"));
    }

    // What the board saw of the call: its dial string, if any.
    std::string dialled;
    for (const zeltest::BoardEvent& e : run.board.events()) {
        if (e.text.rfind("dial " + n + " ", 0) == 0) dialled = e.text.substr(5 + n.size() + 1);
    }
    EXPECT_EQ(c.dial, dialled);

    const std::vector<int> answering = lines_that_answer(run, &call.faults);
    std::vector<int> want;
    for (int line = 1; line <= 4; ++line) {
        if (line != c.line || c.line_lives) want.push_back(line);
    }
    EXPECT_EQ(want, answering);

    ASSERT_EQ(c.fault.empty() ? 0u : 1u, call.faults.size()) << "faults shown: " << testing::PrintToString(call.faults);
    if (!c.fault.empty()) {
        const std::string prefix = std::string(vt::kFaultCaption) + ": ";
        const std::string got = call.faults[0].substr(prefix.size());
        EXPECT_TRUE(matches_fault(c.fault, got)) << "fault \"" << got << "\"";
    }

    std::string alive;
    for (int line : answering) alive += (alive.empty() ? "" : ", ") + std::to_string(line);
    std::printf("| %s | `fail %s %d` | %s | %s | %s |\n", c.point, c.op, c.line,
                call.faults.empty() ? "none" : ("\"" + one_line(call.faults[0].substr(17)) + "\"").c_str(),
                dialled.empty() ? "no dial" : ("dials " + dialled).c_str(), alive.c_str());
    std::fflush(stdout);
    ASSERT_TRUE(run.close_and_exit(true));
}

std::string case_name(const testing::TestParamInfo<FaultCase>& info)
{
    std::string name = info.param.point;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryPoint, InjectedFault, testing::ValuesIn(kCases), case_name);

}  // namespace
