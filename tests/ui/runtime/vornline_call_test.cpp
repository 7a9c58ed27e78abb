// Calls through Vornline.exe under Wine with the stand-in board: each caller's outcome
// (greeting, prompts, dial string, hook) read from the board's events, the transfer
// pictures read from the program and from the screen, four callers at once, the
// alternate outside number, and the library failures that a call rides out.
#include "test_records.h"
#include "vornline_driver.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#ifndef VORN_PORT_BASE
#error "VORN_PORT_BASE is the first of this program's board ports"
#endif

namespace {

using namespace std::chrono_literals;
using Session = vt::Vornline;
using zel::Field;

constexpr auto kEvent = 10s;

// Route r (0-15) answers extension 1000 + r at port 200 + r.
void add_routes(zel::ConfigRecord& rec)
{
    for (int r = 0; r < 16; ++r) {
        vt::put(rec, Field::route_ext, r, std::to_string(1000 + r));
        vt::put(rec, Field::route_port, r, std::to_string(200 + r));
    }
}

std::string time_text(int minutes_of_day)
{
    minutes_of_day = ((minutes_of_day % 1440) + 1440) % 1440;
    const int h = minutes_of_day / 60, m = minutes_of_day % 60;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:00 %s", h % 12 == 0 ? 12 : h % 12, m, h < 12 ? "AM" : "PM");
    return text;
}

int minutes_now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t.wHour * 60 + t.wMinute;
}

bool saw(const Session& s, const std::string& pattern, std::size_t from = 0)
{
    const std::vector<zeltest::BoardEvent> all = s.board.events();
    for (std::size_t i = from; i < all.size(); ++i) {
        if (zeltest::event_matches(pattern, all[i].text)) return true;
    }
    return false;
}

// Checks that `events` hold `patterns` in this order (others may come between).
testing::AssertionResult in_order(const std::vector<std::string>& events, const std::vector<std::string>& patterns)
{
    std::size_t at = 0;
    for (const std::string& p : patterns) {
        while (at < events.size() && !zeltest::event_matches(p, events[at])) ++at;
        if (at == events.size()) {
            std::string all;
            for (const std::string& e : events) all += "  " + e + "\n";
            return testing::AssertionFailure() << "no \"" << p << "\" in its place among\n" << all;
        }
        ++at;
    }
    return testing::AssertionSuccess();
}

// What one call must have left in the call log: the columns named, with these values.
using Logged = std::map<std::string, std::string>;

// Waits for `count` lines in the call log (a line is written once its call is back
// on-hook) and checks each against `want`, in the log's order; the columns of every line
// that no row names must read as a call that failed nothing and lost no line before it.
testing::AssertionResult log_holds(const Session& s, const std::vector<Logged>& want)
{
    std::string error;
    std::vector<vt::Vornline::LogLine> log;
    wd::Status s_ = wd::wait_until([&] { return (log = s.call_log(&error)).size() >= want.size(); }, 15000,
                                   std::to_string(want.size()) + " lines in the call log");
    if (!s_) return testing::AssertionFailure() << s_.message;
    if (!error.empty()) return testing::AssertionFailure() << error;
    if (log.size() != want.size()) return testing::AssertionFailure() << log.size() << " lines in the call log";
    for (std::size_t i = 0; i < want.size(); ++i) {
        Logged expected = {{"failed", ""}, {"lost_before", "0"}, {"greeting_field", "open_greeting_vox"},
                           {"outcome_at", ""}};
        for (const auto& [column, value] : want[i]) expected[column] = value;
        for (const auto& [column, value] : expected) {
            const auto got = log[i].find(column);
            if (got == log[i].end()) return testing::AssertionFailure() << "no column " << column;
            if (got->second != value)
                return testing::AssertionFailure() << "log line " << i + 1 << ": " << column << " is \"" << got->second
                                                   << "\", expected \"" << value << "\"";
        }
        if (log[i].at("reason").rfind("weekly: ", 0) != 0)
            return testing::AssertionFailure() << "log line " << i + 1 << ": reason " << log[i].at("reason");
        if (std::atof(log[i].at("length_seconds").c_str()) <= 0)
            return testing::AssertionFailure() << "log line " << i + 1 << ": no length";
    }
    return testing::AssertionSuccess();
}

class Calls : public ::testing::Test {
protected:
    void SetUp() override
    {
        rec = testrec::open_every_day();
        s.use_voices(rec);
        add_routes(rec);
    }

    // Rings line 1 once, waits for the greeting (or its failure) to begin.
    void ring_and_answer(int line = 1)
    {
        const std::string n = std::to_string(line);
        s.board.send("ring " + n + " 1");
        ASSERT_TRUE(s.board.expect("answer " + n, kEvent));
    }

    std::string play(int line, const std::string& path) { return "play " + std::to_string(line) + " 8000 " + path; }

    Session s{VORN_PORT_BASE};
    zel::ConfigRecord rec;
};

// ---- outcomes -----------------------------------------------------------------------------

TEST_F(Calls, FourCallersAtOnceEachReachTheirOwnRoute)
{
    // The goodbye lasts long enough for all four transfer pictures to be seen together.
    s.goodbye = s.voice("long_goodbye.vox", 600);
    vt::put(rec, Field::system_error_vox, s.goodbye);
    ASSERT_TRUE(s.start_and_open(rec));

    for (int line = 1; line <= 4; ++line) s.board.send("ring " + std::to_string(line) + " 1");
    ASSERT_TRUE(wd::wait_until(
        [&] {
            for (int line = 1; line <= 4; ++line) {
                if (!saw(s, play(line, s.greeting))) return false;
            }
            return true;
        },
        15000, "four greetings\n" + s.board.report()));
    // Line n keys extension 1000 + n: route n, port 200 + n, picture n + 1.
    for (int line = 1; line <= 4; ++line) s.board.send("dtmf " + std::to_string(line) + " " + std::to_string(1000 + line));
    ASSERT_TRUE(wd::wait_until(
        [&] {
            for (int line = 1; line <= 4; ++line) {
                if (!saw(s, play(line, s.goodbye))) return false;
            }
            return true;
        },
        15000, "four goodbyes\n" + s.board.report()));

    const char* pictures[] = {"TWO", "THREE", "FOUR", "FIVE"};
    for (int line = 1; line <= 4; ++line) {
        SCOPED_TRACE("line " + std::to_string(line));
        EXPECT_EQ(s.picture(line - 1), pictures[line - 1]);
        const std::string n = std::to_string(line);
        const std::string ext = std::to_string(1000 + line);
        EXPECT_TRUE(in_order(s.line_events(line), {"answer " + n, "hook " + n + " off", play(line, s.greeting),
                                                   "playend " + n + " 1", "collect " + n,
                                                   "collectend " + n + " 1 " + ext, play(line, s.route_voice[line]),
                                                   "playend " + n + " 512", "dial " + n + " &,,20" + n,
                                                   "dialend " + n, play(line, s.goodbye)}));
        // Nothing of another call: one collection, one dial.
        int collects = 0, dials = 0;
        for (const std::string& e : s.line_events(line)) {
            if (zeltest::event_matches("collectend *", e)) ++collects;
            if (zeltest::event_matches("dial *", e)) ++dials;
        }
        EXPECT_EQ(collects, 1);
        EXPECT_EQ(dials, 1);
    }
    // The calls overlapped: every line was in its goodbye at the same time.
    for (int line = 1; line <= 4; ++line) s.board.send("hangup " + std::to_string(line));
    ASSERT_TRUE(wd::wait_until(
        [&] {
            for (int line = 1; line <= 4; ++line) {
                const std::vector<std::string> events = s.line_events(line);
                if (events.empty() || events.back().rfind("wait", 0) != 0) return false;
            }
            return true;
        },
        15000, "four lines waiting again\n" + s.board.report()));
    for (int index = 0; index < 4; ++index) EXPECT_EQ(s.picture(index), "PHONE");

    // One log line per call, whichever line hung up first.
    std::vector<vt::Vornline::LogLine> log;
    ASSERT_TRUE(wd::wait_until([&] { return (log = s.call_log()).size() >= 4; }, 15000, "four lines in the call log"));
    std::sort(log.begin(), log.end(), [](const auto& a, const auto& b) { return a.at("line") < b.at("line"); });
    std::vector<Logged> want;
    for (int line = 1; line <= 4; ++line) {
        const std::string n = std::to_string(line), ext = std::to_string(1000 + line);
        want.push_back({{"line", n}, {"entries", ext}, {"route", n}, {"extension", ext}, {"outcome", "port"},
                        {"dial", "&,,20" + n}, {"greeting", s.greeting}});
    }
    ASSERT_EQ(4u, log.size());
    for (int i = 0; i < 4; ++i) {
        for (const auto& [column, value] : want[i]) EXPECT_EQ(value, log[i][column]) << column << " of line " << i + 1;
    }
    ASSERT_TRUE(s.close_and_exit(true));
}

TEST_F(Calls, TheTransferShowsTheRoutesPicture)
{
    s.goodbye = s.voice("long_goodbye.vox", 600);
    vt::put(rec, Field::system_error_vox, s.goodbye);
    ASSERT_TRUE(s.start_and_open(rec));
    // Kept above other programs' windows while its pixels are read.
    SetWindowPos(s.main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    std::vector<HWND> windows = s.channel_windows();
    HWND line1 = nullptr;
    for (HWND w : windows) {
        RECT r = wd::window_rect(w);
        POINT at{r.left, r.top};
        ScreenToClient(s.main, &at);
        if (at.x == 80 && at.y == 0) line1 = w;
    }
    ASSERT_NE(line1, nullptr) << wd::describe_screen();

    struct Case {
        const char* name;
        const char* keys;  // "" for silence
        const char* picture;
        std::string voice;
        const char* dial;
    };
    const Case cases[] = {
        {"silence: the default transfer", "", "ZERO", s.no_input, "&,,100"},
        {"route index 0", "1000", "ONE", s.route_voice[0], "&,,200"},
        {"route index 15", "1015", "16A", s.route_voice[15], "&,,215"},
        {"route index 9", "1009", "TEN", s.route_voice[9], "&,,209"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(ring_and_answer());
        ASSERT_TRUE(s.board.expect(play(1, s.greeting), kEvent));
        if (*c.keys) s.board.send(std::string("dtmf 1 ") + c.keys);
        // The picture is shown before the transfer voice plays.
        ASSERT_TRUE(s.board.expect(play(1, c.voice), kEvent));
        EXPECT_EQ(s.picture(0), c.picture);
        ASSERT_TRUE(s.board.expect(std::string("dial 1 ") + c.dial, kEvent));
        ASSERT_TRUE(s.board.expect(play(1, s.goodbye), kEvent));
        EXPECT_EQ(s.picture(0), c.picture);
        EXPECT_EQ(s.pictures_held(0), 1);
        // And it is what the window paints.
        EXPECT_TRUE(vt::wait_painted(line1, s.program.path("Vornline.exe"), c.picture));
        s.board.send("hangup 1");
        ASSERT_TRUE(s.board.expect("playend 1 8", kEvent));
        ASSERT_TRUE(s.board.expect("hook 1 on", kEvent));
        ASSERT_TRUE(s.board.expect("wait 1 1", kEvent));
        EXPECT_EQ(s.picture(0), "PHONE");
    }
    SetWindowPos(s.main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(log_holds(s, {{{"line", "1"}, {"entries", ""}, {"route", ""}, {"outcome", "default-silence"}, {"dial", "&,,100"}},
                              {{"entries", "1000"}, {"route", "0"}, {"extension", "1000"}, {"outcome", "port"}, {"dial", "&,,200"}},
                              {{"entries", "1015"}, {"route", "15"}, {"extension", "1015"}, {"outcome", "port"}, {"dial", "&,,215"}},
                              {{"entries", "1009"}, {"route", "9"}, {"extension", "1009"}, {"outcome", "port"}, {"dial", "&,,209"}}}));
    ASSERT_TRUE(s.close_and_exit(true));
}

TEST_F(Calls, AnActiveWindowDialsTheOutsideNumberWithItsPauses)
{
    // Route 5's window runs from an hour ago to an hour ahead (across midnight when
    // that is where now is): its alternate, an outside number, is dialled. Route 6 has
    // equal times, which always dial the port.
    const int now = minutes_now();
    vt::put(rec, Field::route_alt_number, 5, "95551234");
    vt::put(rec, Field::route_from_time, 5, time_text(now - 60));
    vt::put(rec, Field::route_to_time, 5, time_text(now + 60));
    vt::put(rec, Field::route_alt_number, 6, "95559999");
    vt::put(rec, Field::route_from_time, 6, "09:00:00 AM");
    vt::put(rec, Field::route_to_time, 6, "09:00:00 AM");
    ASSERT_TRUE(s.start_and_open(rec));

    struct Case {
        const char* keys;
        const char* dial;
        long dial_board_ms;  // '&' 500, ',' 1000, any other character 100
    };
    const Case cases[] = {
        {"1005", "&,,9,,,5551234", 500 + 5 * 1000 + 8 * 100},
        {"1006", "&,,206", 500 + 2 * 1000 + 3 * 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        ASSERT_NO_FATAL_FAILURE(ring_and_answer());
        ASSERT_TRUE(s.board.expect(play(1, s.greeting), kEvent));
        s.board.send(std::string("dtmf 1 ") + c.keys);
        zeltest::BoardEvent dial, dialled;
        ASSERT_TRUE(s.board.expect(std::string("dial 1 ") + c.dial, kEvent, &dial));
        EXPECT_EQ(dial.text, std::string("dial 1 ") + c.dial);
        ASSERT_TRUE(s.board.expect("dialend 1", kEvent, &dialled));
        // The pauses were dialled as pauses, at the board's speed.
        const long real = c.dial_board_ms / vt::kSpeed;
        EXPECT_GE(dialled.ms - dial.ms, real - 20);
        EXPECT_LT(dialled.ms - dial.ms, real + 400);
        ASSERT_TRUE(s.board.expect(play(1, s.goodbye), kEvent));
        ASSERT_TRUE(s.board.expect("hook 1 on", kEvent));
        ASSERT_TRUE(s.board.expect("wait 1 1", kEvent));
    }
    ASSERT_TRUE(s.close_and_exit(true));
}

TEST_F(Calls, WrongEntriesGetOneRetryPromptThenTheDefault)
{
    ASSERT_TRUE(s.start_and_open(rec));
    struct Case {
        const char* name;
        std::vector<const char*> entries;  // keys at the greeting, then at each collection
        std::vector<std::string> path;     // the call's events from the first collection on
        int prompts;                       // retry prompts played
        Logged logged;                     // its line in the call log
    };
    const std::string wrong = play(1, s.wrong), no_input = play(1, s.no_input);
    const Case cases[] = {
        {"wrong twice: the default without a second prompt", {"9999", "8888"},
         {"collectend 1 1 9999", "clear 1", wrong, "collectend 1 1 8888", "clear 1", no_input, "dial 1 &,,100"},
         1, {{"entries", "9999 8888"}, {"route", ""}, {"outcome", "default-wrong"}, {"dial", "&,,100"}}},
        {"wrong, then right", {"9999", "1003"},
         {"collectend 1 1 9999", "clear 1", wrong, "collectend 1 1 1003", play(1, s.route_voice[3]), "dial 1 &,,203"},
         1, {{"entries", "9999 1003"}, {"route", "3"}, {"extension", "1003"}, {"outcome", "port"}, {"dial", "&,,203"}}},
        {"three keys and silence, then silence: the prompt again, then the default", {"123"},
         {"collectend 1 32 123", "clear 1", wrong, "collectend 1 32", "clear 1", wrong, no_input, "dial 1 &,,100"},
         2, {{"entries", "123"}, {"route", ""}, {"outcome", "default-wrong"}, {"dial", "&,,100"}}},
    };
    std::vector<Logged> logged;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t from = s.board.events().size();
        ASSERT_NO_FATAL_FAILURE(ring_and_answer());
        ASSERT_TRUE(s.board.expect(play(1, s.greeting), kEvent));
        s.board.send(std::string("dtmf 1 ") + c.entries[0]);
        for (std::size_t i = 1; i < c.entries.size(); ++i) {
            // Keys pressed during the retry prompt count.
            ASSERT_TRUE(s.board.expect(wrong, kEvent));
            s.board.send(std::string("dtmf 1 ") + c.entries[i]);
        }
        ASSERT_TRUE(s.board.expect("hook 1 on", kEvent));
        ASSERT_TRUE(s.board.expect("wait 1 1", kEvent));
        const std::vector<std::string> events = s.line_events(1, from);
        EXPECT_TRUE(in_order(events, c.path));
        EXPECT_EQ(std::count(events.begin(), events.end(), wrong), c.prompts);
        logged.push_back(c.logged);
    }
    EXPECT_TRUE(log_holds(s, logged));
    ASSERT_TRUE(s.close_and_exit(true));
}

TEST_F(Calls, ALogThatCannotBeWrittenChangesNoCallAndTheNextLineCountsTheLoss)
{
    ASSERT_TRUE(s.start_and_open(rec));
    auto silent_call = [&] {
        const std::size_t from = s.board.events().size();
        ASSERT_NO_FATAL_FAILURE(ring_and_answer());
        ASSERT_TRUE(s.board.expect("dial 1 &,,100", kEvent));
        ASSERT_TRUE(s.board.expect("hook 1 on", kEvent));
        ASSERT_TRUE(s.board.expect("wait 1 1", kEvent));
        // A box would have held the channel before it waited again.
        EXPECT_TRUE(wd::message_boxes(s.program.pid()).empty()) << wd::describe_screen();
        EXPECT_TRUE(in_order(s.line_events(1, from), {play(1, s.greeting), "collectend 1 32", play(1, s.no_input),
                                                      "dial 1 &,,100", play(1, s.goodbye), "hook 1 on"}));
    };
    ASSERT_NO_FATAL_FAILURE(silent_call());
    ASSERT_TRUE(log_holds(s, {{{"outcome", "default-silence"}}}));
    {
        // Another program holds the day's file: this call's line cannot be written.
        wd::FileLock lock(s.program.path(s.call_log_name()));
        ASSERT_TRUE(lock.held());
        ASSERT_NO_FATAL_FAILURE(silent_call());
    }
    ASSERT_NO_FATAL_FAILURE(silent_call());
    EXPECT_TRUE(log_holds(s, {{{"outcome", "default-silence"}}, {{"outcome", "default-silence"}, {"lost_before", "1"}}}));
    ASSERT_TRUE(s.close_and_exit(true));
}

// ---- failures ------------------------------------------------------------------------------

// One call on line 1 with library failures injected along the way.
struct FaultCase {
    const char* name;
    struct Step {
        std::string after;  // the event to wait for, "" for at once
        std::vector<std::string> send;
    };
    std::vector<Step> steps;             // before and during the call, in order
    std::vector<std::string> reports;    // "Program Message" texts, in order
    std::vector<std::string> then;       // the call's events after the last report, in order
    std::vector<std::string> never;      // events the call must not have
};

TEST_F(Calls, FailuresAreReportedAndTheCallGoesOnAsItShould)
{
    ASSERT_TRUE(s.start_and_open(rec));
    const std::string greeting = play(1, s.greeting), wrong = play(1, s.wrong), no_input = play(1, s.no_input),
                      goodbye = play(1, s.goodbye), route1 = play(1, s.route_voice[1]);
    const std::string digit_failed = "GET DIGIT FAILED.";
    const FaultCase cases[] = {
        {"the greeting fails: the caller is taken as silent",
         {{"", {"fail play 1", "ring 1 1"}}},
         {"PLAY FAILED."},
         {"collect 1", "collectend 1 32", no_input, "dial 1 &,,100", goodbye, "hook 1 on"},
         {"play 1 8000 " + s.greeting}},
        {"the retry prompt fails: the next collection still comes",
         {{"", {"ring 1 1"}}, {greeting, {"fail play 1", "dtmf 1 9999"}}},
         {"PLAY FAILED, please make sure all vox files\n are in the correct directories"},
         {"collect 1", "collectend 1 32", "clear 1", wrong, "playend 1 512", no_input, "dial 1 &,,100", goodbye,
          "hook 1 on"},
         {}},
        {"the transfer voice fails: the dial still comes",
         {{"", {"ring 1 1"}}, {greeting, {"fail play 1", "dtmf 1 1001"}}},
         {"PLAY FAILED,\n please make sure all vox files are\n in the correct directories."},
         {"dial 1 &,,201", "dialend 1", goodbye, "hook 1 on"},
         {route1}},
        {"the goodbye fails: the call ends",
         {{"", {"ring 1 1"}}, {greeting, {"dtmf 1 1001"}}, {"dial 1", {"fail play 1"}}},
         {"PLAY FAILED.\n Please make sure that all vox files \n are in the correct directories"},
         {"hook 1 on", "wait 1 1"},
         {goodbye}},
        {"a collection fails: the keys are collected again",
         {{"", {"ring 1 1"}}, {greeting, {"fail collect 1", "dtmf 1 1001"}}},
         {digit_failed},
         {"collect 1", "collectend 1 1 1001", route1, "dial 1 &,,201", goodbye, "hook 1 on"},
         {}},
        {"two collections fail: the third is used",
         {{"", {"ring 1 1"}}, {greeting, {"fail collect 1", "fail collect 1", "dtmf 1 1001"}}},
         {digit_failed, digit_failed},
         {"collect 1", "collectend 1 1 1001", route1, "dial 1 &,,201", goodbye, "hook 1 on"},
         {}},
        {"three collections fail: the call is given up",
         {{"", {"ring 1 1"}}, {greeting, {"fail collect 1", "fail collect 1", "fail collect 1", "dtmf 1 1001"}}},
         {digit_failed, digit_failed, digit_failed},
         {"hook 1 on", "wait 1 1"},
         {"collect 1", "dial *", no_input, route1}},
        {"the dial fails: the goodbye still plays, unreported",
         {{"", {"ring 1 1"}}, {greeting, {"fail dial 1", "dtmf 1 1001"}}},
         {},
         {route1, "playend 1 512", goodbye, "hook 1 on"},
         {"dial *"}},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        s.board.skip_received();
        const std::size_t from = s.board.events().size();
        for (const FaultCase::Step& step : c.steps) {
            if (!step.after.empty()) {
                ASSERT_TRUE(s.board.expect(step.after, kEvent));
            }
            for (const std::string& line : step.send) s.board.send(line);
        }
        for (std::size_t i = 0; i < c.reports.size(); ++i) {
            wd::MessageBoxInfo box;
            ASSERT_TRUE(s.program.wait_message_box(15000, &box)) << s.board.report();
            EXPECT_EQ(box.caption, "Program Message");
            EXPECT_EQ(box.text, c.reports[i]);
            if (i + 1 == c.reports.size()) {
                // The box holds the call's thread until it is acknowledged. A status round
                // trip brings in whatever the call did before the box, so that only what
                // comes after it is looked at.
                s.board.send("status");
                ASSERT_TRUE(s.board.expect("status 4", kEvent));
                EXPECT_TRUE(s.board.expect_none(c.then.front(), 300ms));
            }
            ASSERT_TRUE(wd::dismiss(box));
        }
        for (const std::string& e : c.then) ASSERT_TRUE(s.board.expect(e, kEvent));
        // Back to waiting, and nothing more said.
        ASSERT_TRUE(wd::wait_until([&] { return saw(s, "wait 1 1", from + 1); }, 10000, "line 1 waiting"));
        // A box of the call would hold its thread before it waits again.
        EXPECT_TRUE(wd::message_boxes(s.program.pid()).empty()) << wd::describe_screen();
        for (const std::string& e : s.line_events(1, from)) {
            for (const std::string& n : c.never) EXPECT_FALSE(zeltest::event_matches(n, e)) << e;
        }
        EXPECT_EQ(s.picture(0), "PHONE");
    }
    // And the line takes the next call as usual.
    s.board.skip_received();
    ASSERT_NO_FATAL_FAILURE(ring_and_answer());
    ASSERT_TRUE(s.board.expect(greeting, kEvent));
    s.board.send("dtmf 1 1002");
    ASSERT_TRUE(s.board.expect("dial 1 &,,202", kEvent));
    ASSERT_TRUE(s.board.expect("hook 1 on", kEvent));
    ASSERT_TRUE(s.close_and_exit(true));
}

}  // namespace
