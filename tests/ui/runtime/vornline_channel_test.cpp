// Vornline's channels under Wine with the stand-in board: the channel windows, the ring
// count, a channel that fails to open, an Open at which none opens, the channel thread's failures, fifty calls on
// one line, and closing the program during calls.
#include "test_records.h"
#include "vornline_driver.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#ifndef VORN_PORT_BASE
#error "VORN_PORT_BASE is the first of this program's board ports"
#endif

namespace {

using namespace std::chrono_literals;
using Session = vt::Vornline;

const char kOpenFailed[] = "dx_open failed, \n Please make sure your drivers are properly installed";

// Channel index of a channel window, by where it sits in the main window; -1 elsewhere.
int channel_at(HWND main, HWND window)
{
    RECT r = wd::window_rect(window);
    POINT at{r.left, r.top};
    ScreenToClient(main, &at);
    if (at.y != 0 || at.x % 80 != 0) return -1;
    int index = at.x / 80 - 1;
    return index >= 0 && index < 4 ? index : -1;
}

// A report text with its errno value, a decimal number after "errno = ", replaced by '#'.
std::string errno_free(std::string text)
{
    const std::string mark = "errno = ";
    std::size_t at = text.find(mark);
    if (at == std::string::npos) return text;
    at += mark.size();
    std::size_t end = at;
    if (end < text.size() && text[end] == '-') ++end;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    if (end == at) return text;
    return text.replace(at, end - at, "#");
}

// Rings `line` once and waits for its answer.
void answer(Session& s, int line)
{
    const std::string n = std::to_string(line);
    s.board.send("ring " + n + " 1");
    ASSERT_TRUE(s.board.expect("answer " + n, 10s));
}

// Ends the call on `line` from the caller's side and waits for the line to wait again.
void hang_up(Session& s, int line, int rings = 1)
{
    const std::string n = std::to_string(line);
    s.board.send("hangup " + n);
    ASSERT_TRUE(s.board.expect("hook " + n + " on", 10s));
    ASSERT_TRUE(s.board.expect("wait " + n + " " + std::to_string(rings), 10s));
}

// Whether any event so far matched: for events of several lines, which come in any
// order, where the cursor of expect() would pass over some of them.
bool saw(const Session& s, const std::string& pattern)
{
    for (const zeltest::BoardEvent& e : s.board.events()) {
        if (zeltest::event_matches(pattern, e.text)) return true;
    }
    return false;
}

// Waits until the devices of `lines` have been closed; their events reach us in any
// order, and may still be on their way when the program has ended.
wd::Status wait_closed(const Session& s, std::vector<int> lines)
{
    wd::Status closed = wd::wait_until(
        [&] {
            for (int line : lines) {
                if (!saw(s, "close dxxxB1C" + std::to_string(line))) return false;
            }
            return true;
        },
        15000, "the channel devices closed");
    if (!closed) closed.message += "\n" + s.board.report();
    return closed;
}

class Channels : public ::testing::Test {
protected:
    Session s{VORN_PORT_BASE};
};

TEST_F(Channels, FourWindowsSideBySideWithTheirLabelAndPhonePicture)
{
    zel::ConfigRecord rec = testrec::open_every_day();
    s.use_voices(rec);
    ASSERT_TRUE(s.start_and_open(rec));

    std::vector<HWND> windows = s.channel_windows();
    ASSERT_EQ(windows.size(), 4u) << wd::describe_screen();
    std::set<int> seen;
    for (HWND w : windows) {
        const int index = channel_at(s.main, w);
        SCOPED_TRACE("channel " + std::to_string(index));
        ASSERT_GE(index, 0) << "a channel window out of place";
        seen.insert(index);
        RECT r = wd::window_rect(w);
        EXPECT_EQ(r.right - r.left, 80);
        EXPECT_EQ(r.bottom - r.top, 80);
        EXPECT_EQ(wd::caption(w), "English");
        const LONG_PTR style = wd::window_style(w);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_TRUE(style & WS_CLIPSIBLINGS);
        EXPECT_EQ(style & WS_CAPTION, WS_DLGFRAME) << "a dialog frame without a caption";
        EXPECT_EQ(GetClassLongPtrA(w, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
        EXPECT_EQ(GetClassLongPtrA(w, GCL_CBWNDEXTRA), 4u);
        EXPECT_EQ(s.picture(index), "PHONE");
        EXPECT_EQ(s.pictures_held(index), 1);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(s.picture(4), "(closed)") << "there is no fifth channel";

    // What the operator sees is the picture: every window paints PHONE. Kept above
    // other programs' windows while its pixels are read.
    SetWindowPos(s.main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (HWND w : windows) EXPECT_TRUE(vt::wait_painted(w, s.program.path("Vornline.exe"), "PHONE"));
    SetWindowPos(s.main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // Closing without a call stops every channel and closes its device.
    ASSERT_TRUE(s.close_and_exit(true));
    EXPECT_TRUE(wait_closed(s, {1, 2, 3, 4}));
}

TEST(ChannelRings, TheLineAnswersOnTheConfiguredRing)
{
    struct Case {
        const char* answer_ring;
        int rings;  // the ring it answers on
    };
    // Below 1 (empty reads as 0) would ask the library for a wait it does not define;
    // it waits for one ring.
    const Case cases[] = {{"3", 3}, {"1", 1}, {"0", 1}, {"", 1}};
    const long cycle_ms = 6000 / vt::kSpeed;  // 2 s on, 4 s off
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("answer_ring \"") + c.answer_ring + "\"");
        Session s{VORN_PORT_BASE};
        zel::ConfigRecord rec = testrec::open_every_day();
        s.use_voices(rec);
        vt::put(rec, zel::Field::answer_ring, c.answer_ring);
        ASSERT_TRUE(s.start_and_open(rec));
        EXPECT_TRUE(saw(s, "wait 1 " + std::to_string(c.rings)));

        if (c.rings > 1) {
            // A call that stops ringing one ring short is never answered.
            s.board.send("ring 1 " + std::to_string(c.rings - 1));
            EXPECT_TRUE(s.board.expect_none("answer 1", std::chrono::milliseconds(cycle_ms * c.rings + 300)));
        }
        // The status answer stamps the moment the next call starts ringing.
        s.board.skip_received();
        s.board.send("status");
        s.board.send("ring 1 5");
        zeltest::BoardEvent rang, answered;
        ASSERT_TRUE(s.board.expect("status 1", 5s, &rang));
        ASSERT_TRUE(s.board.expect("answer 1", 10s, &answered));
        const long after = answered.ms - rang.ms;
        EXPECT_GE(after, cycle_ms * (c.rings - 1) - 50) << "answered before ring " << c.rings;
        EXPECT_LT(after, cycle_ms * c.rings - 50) << "answered after ring " << c.rings;
        ASSERT_TRUE(s.board.expect("play 1 8000 " + s.greeting, 10s));
        ASSERT_NO_FATAL_FAILURE(hang_up(s, 1, c.rings));
        ASSERT_TRUE(s.close_and_exit(true));
    }
}

TEST_F(Channels, AChannelThatFailsToOpenDoesNotStopTheOthers)
{
    zel::ConfigRecord rec = testrec::open_every_day();
    s.use_voices(rec);
    ASSERT_TRUE(s.start(rec, {.env = {{"SIMBOARD_FAIL", "dxxxB1C3"}}}));
    ASSERT_TRUE(wd::post_command(s.main, 40001));
    ASSERT_TRUE(s.expect_fault(kOpenFailed));
    ASSERT_TRUE(s.expect_channels_ready());  // the rest of Open went on
    EXPECT_TRUE(saw(s, "openfail dxxxB1C3"));

    std::vector<HWND> windows = s.channel_windows();
    std::set<int> at;
    for (HWND w : windows) at.insert(channel_at(s.main, w));
    EXPECT_EQ(at, (std::set<int>{0, 1, 3})) << wd::describe_screen();
    EXPECT_EQ(s.picture(2), "(closed)");

    for (int line : {1, 2, 4}) {
        SCOPED_TRACE("line " + std::to_string(line));
        ASSERT_TRUE(wd::wait_until([&] { return saw(s, "wait " + std::to_string(line) + " 1"); }, 10000,
                                   "line waiting\n" + s.board.report()));
        s.board.skip_received();
        ASSERT_NO_FATAL_FAILURE(answer(s, line));
        // Shown before the call begins, so by the greeting at the latest.
        ASSERT_TRUE(s.board.expect("play " + std::to_string(line) + " 8000 " + s.greeting, 10s));
        EXPECT_EQ(s.picture(line - 1), "ANSWERED");
        ASSERT_NO_FATAL_FAILURE(hang_up(s, line));
    }
    s.board.send("ring 3 2");
    EXPECT_TRUE(s.board.expect_none("answer 3", 1500ms));
    EXPECT_TRUE(wd::message_boxes(s.program.pid()).empty()) << wd::describe_screen();

    ASSERT_TRUE(s.close_and_exit(true));
    EXPECT_TRUE(wait_closed(s, {1, 2, 4}));
    EXPECT_FALSE(saw(s, "close dxxxB1C3"));
}

// With no line able to take a call, Open has failed: the program stays idle, so the next
// Open runs the whole of Open again instead of calling the channels ready.
TEST_F(Channels, AnOpenAtWhichNoChannelOpensLeavesTheProgramIdle)
{
    zel::ConfigRecord rec = testrec::open_every_day();
    s.use_voices(rec);
    ASSERT_TRUE(s.start(rec, {.env = {{"SIMBOARD_FAIL", "dxxxB1C1,dxxxB1C2,dxxxB1C3,dxxxB1C4"}}}));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE("Open number " + std::to_string(attempt));
        s.board.skip_received();
        ASSERT_TRUE(wd::post_command(s.main, vt::kOpen));
        // Each channel reports its own failure, one after the other; no other box comes.
        for (int line = 1; line <= 4; ++line) {
            SCOPED_TRACE("channel device " + std::to_string(line));
            ASSERT_TRUE(s.expect_fault(kOpenFailed));
        }
        EXPECT_TRUE(wd::expect_no_message_box_after(s.main));
        EXPECT_TRUE(s.board.expect("open dxxxB1", 5s)) << "the board is probed again";
        EXPECT_TRUE(s.board.expect("close dxxxB1", 5s));
        for (int line = 1; line <= 4; ++line) EXPECT_TRUE(saw(s, "openfail dxxxB1C" + std::to_string(line)));
        EXPECT_TRUE(s.channel_windows().empty()) << wd::describe_screen();
        // Idle, as after any failed Open: the command file is let go.
        EXPECT_TRUE(s.program.remove_file("zel_system.cmd"));
        ASSERT_TRUE(s.put_record(rec));
    }
    // Nothing is loaded, so closing says nothing.
    ASSERT_TRUE(s.close_and_exit(false));
}

TEST_F(Channels, AThreadEndsAfterAFailureAndTheOtherLinesGoOn)
{
    zel::ConfigRecord rec = testrec::open_every_day();
    s.use_voices(rec);
    ASSERT_TRUE(s.start(rec));
    // Before Open: line 2 cannot go on-hook, line 3's ring wait fails.
    s.board.send("fail sethook 2");
    s.board.send("fail wtring 3");
    ASSERT_TRUE(wd::post_command(s.main, 40001));

    // The two channel threads report on their own; each box holds only its thread.
    std::map<std::string, int> texts;
    ASSERT_TRUE(wd::wait_until(
        [&] {
            for (const wd::MessageBoxInfo& b : wd::message_boxes(s.program.pid())) {
                if (b.caption != "Program Message") continue;
                ++texts[errno_free(b.text)];
                wd::dismiss(b);
            }
            return texts.size() >= 2;
        },
        15000, "both reports"));
    EXPECT_EQ(texts, (std::map<std::string, int>{
                         {"dx_sethook failed", 1},
                         {"ERROR: dx_wtring failed. errno = #\n,Please make sure your drivers are properly installed", 1}}));
    ASSERT_TRUE(s.expect_channels_ready());

    ASSERT_TRUE(wd::wait_until([&] { return saw(s, "wait 1 1") && saw(s, "wait 4 1"); }, 10000, "lines 1 and 4"));
    EXPECT_FALSE(saw(s, "wait 2 1")) << "line 2 never waits";
    s.board.skip_received();
    ASSERT_NO_FATAL_FAILURE(answer(s, 4));
    ASSERT_NO_FATAL_FAILURE(hang_up(s, 4));
    s.board.send("ring 2 2");
    s.board.send("ring 3 2");
    EXPECT_TRUE(s.board.expect_none("answer *", 1500ms));
    // A dead channel keeps its last picture.
    EXPECT_EQ(s.picture(1), "PHONE");
    EXPECT_EQ(s.picture(2), "PHONE");

    // Line 1 cannot be put on-hook after its call: reported, and the channel is dead.
    s.board.skip_received();
    ASSERT_NO_FATAL_FAILURE(answer(s, 1));
    ASSERT_TRUE(s.board.expect("play 1 8000 " + s.greeting, 10s));
    s.board.send("fail sethook 1");
    s.board.send("hangup 1");
    ASSERT_TRUE(s.expect_fault("SET ONHOOK FAILED."));
    EXPECT_TRUE(s.board.expect_none("wait 1", 1000ms));
    EXPECT_EQ(s.picture(0), "ANSWERED");

    ASSERT_TRUE(s.close_and_exit(true));
}

TEST_F(Channels, AfterEachOfFiftyCallsTheLineShowsPhoneWithOnePictureHeld)
{
    zel::ConfigRecord rec = testrec::open_every_day();
    s.use_voices(rec);
    vt::put(rec, zel::Field::route_ext, 0, "1000");
    vt::put(rec, zel::Field::route_port, 0, "200");
    ASSERT_TRUE(s.start_and_open(rec));

    for (int call = 1; call <= 50; ++call) {
        SCOPED_TRACE("call " + std::to_string(call));
        ASSERT_NO_FATAL_FAILURE(answer(s, 1));
        ASSERT_TRUE(s.board.expect("play 1 8000 " + s.greeting, 10s));
        EXPECT_EQ(s.picture(0), "ANSWERED");
        if (call % 10 == 0) {
            // Every tenth caller is transferred, so transfer pictures come and go too.
            s.board.send("dtmf 1 1000");
            ASSERT_TRUE(s.board.expect("dial 1 &,,200", 10s));
            EXPECT_EQ(s.picture(0), "ONE");
            ASSERT_TRUE(s.board.expect("play 1 8000 " + s.goodbye, 10s));
        }
        ASSERT_NO_FATAL_FAILURE(hang_up(s, 1));
        EXPECT_EQ(s.picture(0), "PHONE");
        ASSERT_EQ(s.pictures_held(0), 1);
    }
    for (int index = 1; index < 4; ++index) EXPECT_EQ(s.pictures_held(index), 1);
    ASSERT_TRUE(s.close_and_exit(true));
}

TEST_F(Channels, ClosingDuringCallsStopsEveryChannelAndTheProgramExits)
{
    zel::ConfigRecord rec = testrec::open_every_day();
    s.use_voices(rec);
    // A greeting of ten minutes (a minute at the board's speed): the calls are still
    // in it when the window closes.
    const std::string endless = s.voice("endless.vox", 600);
    vt::put(rec, zel::Field::open_greeting_vox, endless);
    ASSERT_TRUE(s.start_and_open(rec));
    for (int line : {1, 2}) {
        s.board.send("ring " + std::to_string(line) + " 1");
    }
    ASSERT_TRUE(wd::wait_until([&] { return saw(s, "play 1 8000 " + endless) && saw(s, "play 2 8000 " + endless); },
                               10000, "both greetings\n" + s.board.report()));
    const std::size_t before_close = s.board.events().size();
    const ULONGLONG closing = GetTickCount64();

    ASSERT_TRUE(s.close_and_exit(true));
    EXPECT_LT(GetTickCount64() - closing, 20000u) << "the program did not wait for the calls";
    EXPECT_TRUE(wait_closed(s, {1, 2, 3, 4}));
    // The calls were cut off where they stood: not put on-hook, no play ended.
    for (int line : {1, 2}) {
        for (const std::string& e : s.line_events(line, before_close)) {
            EXPECT_FALSE(zeltest::event_matches("hook * on", e)) << e;
            EXPECT_FALSE(zeltest::event_matches("playend *", e)) << e;
        }
    }
}

}  // namespace
