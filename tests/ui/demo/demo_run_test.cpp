// What the demo script left behind, read after it ran at board speed 5: the four callers'
// outcomes, each told by the board's own events, and each recording as long as the
// prompts that were played into it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board_log.h"
#include "call_report.h"
#include "host_path.h"
#include "wav_info.h"

namespace {

using demo::EventKind;
using demo::LineEvent;

std::string folder(const char* variable)
{
    const char* v = std::getenv(variable);
    return v ? demo::board_path(v) : std::string();
}

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

double board_speed()
{
    const char* v = std::getenv("ZEL_DEMO_SPEED");
    const double s = v ? std::atof(v) : 1.0;
    return s > 0 ? s : 1.0;
}

class DemoRun : public testing::Test {
protected:
    void SetUp() override
    {
        out_ = folder("ZEL_DEMO_OUT");
        work_ = folder("ZEL_DEMO_WORK");
        ASSERT_FALSE(out_.empty()) << "ZEL_DEMO_OUT is not set";
        ASSERT_FALSE(work_.empty()) << "ZEL_DEMO_WORK is not set";
        ASSERT_TRUE(demo::read_log(demo::join_path(work_, "board-events.log"), &log_))
            << "no board-events.log in " << work_;
    }

    // The line's board events from the caller's ring on (the demo's own caller actions
    // left out), as the board wrote them.
    std::vector<LineEvent> call_events(int line) const
    {
        std::vector<LineEvent> out;
        bool rung = false;
        for (const LineEvent& e : log_.events) {
            if (e.line != line) continue;
            if (e.kind == EventKind::ring) rung = true;
            else if (rung && e.kind != EventKind::keys && e.kind != EventKind::hangup) out.push_back(e);
        }
        return out;
    }

    std::string dump(int line) const
    {
        std::string text;
        for (const LineEvent& e : call_events(line)) {
            text += "\n  " + std::to_string(e.ms) + " kind " + std::to_string(static_cast<int>(e.kind)) + " " +
                    std::to_string(e.number) + " " + e.text;
        }
        return text;
    }

    std::string out_;
    std::string work_;
    demo::RunLog log_;
};

struct Expected {
    int line;
    const char* outcome;
    std::vector<std::string> prompts;   // voice file names, in the order played
    std::vector<std::string> entries;   // each collection's end: reason, then the keys
    int clears;                         // retries: the digit buffer cleared before each
    const char* dial;
};

const Expected kCalls[] = {
    {1, "the route's port", {"open_greeting", "to_sales", "goodbye"}, {"1 1001"}, 0, "&,,201"},
    {2, "the default port after silence", {"open_greeting", "no_input", "goodbye"}, {"32 "}, 0, "&,,200"},
    {3, "the default port after two wrong entries", {"open_greeting", "retry_request", "no_input", "goodbye"},
     {"1 1234", "1 4321"}, 2, "&,,200"},
    {4, "the outside number with its pauses", {"open_greeting", "to_support", "goodbye"}, {"1 1003"}, 0,
     "&,,9,,5550123"},
};

TEST_F(DemoRun, EachLineEndsAsItsCallerMeant)
{
    for (const Expected& x : kCalls) {
        SCOPED_TRACE(testing::Message() << "line " << x.line << ", " << x.outcome);
        const std::vector<LineEvent> events = call_events(x.line);
        std::vector<std::string> prompts, entries, dials;
        int clears = 0;
        int answers = 0;
        for (const LineEvent& e : events) {
            switch (e.kind) {
            case EventKind::answer: ++answers; break;
            case EventKind::play: prompts.push_back(demo::stem_of(e.text)); break;
            case EventKind::playend: EXPECT_EQ(e.number, 512) << "every prompt plays whole"; break;
            case EventKind::playfail: ADD_FAILURE() << "a prompt failed: " << e.text; break;
            case EventKind::collectend: entries.push_back(std::to_string(e.number) + " " + e.text); break;
            case EventKind::clear: ++clears; break;
            case EventKind::dial: dials.push_back(e.text); break;
            default: break;
            }
        }
        EXPECT_EQ(answers, 1) << dump(x.line);
        EXPECT_EQ(prompts, x.prompts) << dump(x.line);
        EXPECT_EQ(entries, x.entries) << dump(x.line);
        EXPECT_EQ(clears, x.clears) << dump(x.line);
        ASSERT_EQ(dials.size(), 1u) << dump(x.line);
        EXPECT_EQ(dials[0], x.dial);
        // Vornline hung up after the goodbye.
        ASSERT_FALSE(events.empty());
        std::size_t last_playend = 0, first_onhook = 0;
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (events[i].kind == EventKind::playend) last_playend = i;
            if (events[i].kind == EventKind::hook && events[i].number == 0 && first_onhook == 0) first_onhook = i;
        }
        EXPECT_GT(first_onhook, last_playend) << dump(x.line);
    }
}

TEST_F(DemoRun, TheDialTakesTheTimeOfItsFlashAndPauses)
{
    const double speed = board_speed();
    for (const Expected& x : kCalls) {
        SCOPED_TRACE(testing::Message() << "line " << x.line);
        long began = -1, ended = -1;
        for (const LineEvent& e : call_events(x.line)) {
            if (e.kind == EventKind::dial) began = e.ms;
            if (e.kind == EventKind::dialend) ended = e.ms;
        }
        ASSERT_GE(began, 0);
        ASSERT_GE(ended, began);
        // The board's dial: the flash 500 ms, each pause 1000 ms, each digit 100 ms.
        double board_ms = 0;
        for (const char* c = x.dial; *c; ++c) board_ms += *c == '&' ? 500 : *c == ',' ? 1000 : 100;
        const double real_ms = board_ms / speed;
        EXPECT_GE(ended - began, static_cast<long>(real_ms * 0.9)) << "expected about " << real_ms << " ms";
        EXPECT_LE(ended - began, static_cast<long>(real_ms * 1.5 + 300)) << "expected about " << real_ms << " ms";
    }
}

TEST_F(DemoRun, EachRecordingLastsAsLongAsThePromptsPlayed)
{
    for (const Expected& x : kCalls) {
        SCOPED_TRACE(testing::Message() << "line " << x.line);
        // Every prompt played whole (checked above), so the recording holds each voice file
        // decoded: two samples a byte, two bytes a sample.
        std::uint64_t expected_bytes = 0;
        for (const LineEvent& e : call_events(x.line)) {
            if (e.kind != EventKind::play) continue;
            EXPECT_EQ(e.number, 8000);
            const long long vox = demo::file_size(demo::own_path(e.text));
            ASSERT_GT(vox, 0) << e.text;
            expected_bytes += 4u * static_cast<std::uint64_t>(vox);
        }
        const std::string path = demo::join_path(out_, "line" + std::to_string(x.line) + "-call1.wav");
        const demo::WavInfo wav = demo::read_wav(path);
        ASSERT_TRUE(wav.ok) << path << ": " << wav.problem;
        EXPECT_EQ(wav.format, 1);
        EXPECT_EQ(wav.channels, 1);
        EXPECT_EQ(wav.bits, 16);
        EXPECT_EQ(wav.rate, 8000);
        EXPECT_EQ(wav.data_bytes, expected_bytes) << "recording " << wav.seconds() << " s, prompts "
                                                  << static_cast<double>(expected_bytes) / 16000.0 << " s";
        // Whole seconds of speech, not a sliver: the demo's shortest call has three prompts.
        EXPECT_GT(wav.seconds(), 5.0);
    }
}

TEST_F(DemoRun, TheTranscriptAndThePictureAreThere)
{
    const std::string transcript = read_all(demo::join_path(out_, "transcript.txt"));
    for (int line = 1; line <= 4; ++line) {
        EXPECT_NE(transcript.find("Line " + std::to_string(line) + ": the caller "), std::string::npos) << line;
    }
    std::size_t as_expected = 0;
    for (std::size_t at = transcript.find(", as expected]"); at != std::string::npos;
         at = transcript.find(", as expected]", at + 1)) {
        ++as_expected;
    }
    EXPECT_EQ(as_expected, 4u) << transcript;
    EXPECT_EQ(transcript.find("NOT AS EXPECTED"), std::string::npos) << transcript;
    for (const char* row : {"dials &,,201 (hook flash, 2 pauses, port 201)",
                            "dials &,,9,,5550123 (hook flash, 2 pauses, outside line 9, 2 pauses, 5550123)",
                            "no key within the time limit", "takes the entry 4321: no such extension",
                            "Vornline hangs up"}) {
        EXPECT_NE(transcript.find(row), std::string::npos) << row << "\n" << transcript;
    }

    // A PNG of the main window: its signature, and an image header the size of a window.
    const std::string png = read_all(demo::join_path(out_, "vornline.png"));
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    auto be32 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24 |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
    };
    EXPECT_GE(be32(16), 400u) << "width";
    EXPECT_GE(be32(20), 600u) << "height";
}

// Vornline's call log of the run, summed as `zelcfg calls` sums it: the four calls, one of
// each outcome, and the page the demo made of it.
TEST_F(DemoRun, TheCallLogHoldsTheFourCallsAndItsSummarySaysSo)
{
    zelcfg::CallTotals totals;
    int logs = 0;
    for (const std::filesystem::directory_entry& e : std::filesystem::directory_iterator(work_)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("calls-", 0) != 0 || e.path().extension() != ".csv") continue;
        std::string problem;
        EXPECT_TRUE(zelcfg::add_call_log(read_all(e.path().string()), totals, problem)) << problem;
        ++logs;
    }
    ASSERT_EQ(logs, 1) << "one day's log in " << work_;
    EXPECT_EQ(totals.calls, 4);
    EXPECT_EQ(totals.unreadable_lines, 0);
    EXPECT_EQ(totals.lost_lines, 0u);
    const std::map<std::string, int> outcomes = {
        {"port", 1}, {"alternate", 1}, {"default-silence", 1}, {"default-wrong", 1}};
    EXPECT_EQ(totals.outcomes, outcomes);
    const std::map<std::string, int> extensions = {{"1001", 1}, {"1003", 1}};
    EXPECT_EQ(totals.extensions, extensions);
    int per_hour = 0;
    for (int n : totals.per_hour) per_hour += n;
    EXPECT_EQ(per_hour, 4);

    const std::string page = read_all(demo::join_path(out_, "calls.html"));
    EXPECT_NE(page.find("<svg"), std::string::npos) << "no chart in calls.html";
}

}  // namespace
