// The stand-in board as Vornline meets it: libdxxmt.dll and libsrlmt.dll bound by ordinal,
// called through their exported entry points, with a line controller on the board's
// socket playing the callers. Runs under Wine at SIMBOARD_SPEED=10.
#include "line_controller.h"
#include "voicelib.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const VlTermEntry kPlayTable[2] = {{VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11}, {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 1, 9}};
const VlTermEntry kCollectTable[3] = {{VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11},
                                      {VL_ENTRY_CHAIN, VL_COND_MAX_TIME, 50, 0},
                                      {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 4, 9}};
const VlPlayFormat k8k = {VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, VL_BITS_PER_SAMPLE};

double speed() {
    const char* s = std::getenv("SIMBOARD_SPEED");
    return s ? std::atof(s) : 1.0;
}

double since_ms(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

std::string channel(int line) {
    char name[16];
    std::snprintf(name, sizeof name, VL_CHANNEL_NAME_FORMAT, '0' + line);
    return name;
}

class BoardDll : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_DOUBLE_EQ(speed(), 10.0) << "these timings assume SIMBOARD_SPEED=10";
        ASSERT_TRUE(lc_.connect(zeltest::board_port_from_env(), 20s));
        dir_ = std::filesystem::temp_directory_path() / ("simboard-dll-" + std::to_string(serial_++));
        std::filesystem::create_directories(dir_);
    }

    void TearDown() override {
        for (int h : open_) dx_close(h);
        lc_.close();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    int open(int line) {
        int h = dx_open(channel(line).c_str(), 0);
        EXPECT_GT(h, 0) << channel(line);
        if (h > 0) open_.push_back(h);
        EXPECT_TRUE(lc_.expect("open " + channel(line), 5s));
        return h;
    }

    // Puts the line on-hook, lets one call ring in and answers it on the first ring.
    void answer(int h, int line) {
        ASSERT_EQ(dx_sethook(h, VL_ONHOOK, VL_SYNC), 0);
        auto waiting = std::async(std::launch::async, [h] { return dx_wtring(h, 1, VL_OFFHOOK, VL_WAIT_FOREVER); });
        ASSERT_TRUE(lc_.expect("wait " + std::to_string(line) + " 1", 5s));
        lc_.send("ring " + std::to_string(line) + " 2");
        ASSERT_TRUE(lc_.expect("answer " + std::to_string(line), 5s));
        ASSERT_EQ(waiting.get(), 0);
    }

    std::string vox(const std::string& name, std::size_t bytes) {
        std::string p = (dir_ / name).string();
        std::FILE* f = std::fopen(p.c_str(), "wb");
        for (std::size_t i = 0; i < bytes; ++i) std::fputc(static_cast<int>((i * 29 + 3) & 0xFF), f);
        std::fclose(f);
        return p;
    }

    zeltest::LineController lc_;
    std::filesystem::path dir_;
    std::vector<int> open_;
    static inline int serial_ = 0;
};

TEST_F(BoardDll, ThreeRingsAnswerAWaitForThreeButNotAWaitForFour) {
    const double cycle = 6000.0 / speed();
    int h1 = open(1);
    auto three = std::async(std::launch::async, [h1] { return dx_wtring(h1, 3, VL_OFFHOOK, VL_WAIT_FOREVER); });
    ASSERT_TRUE(lc_.expect("wait 1 3", 5s));
    lc_.send("ring 1 3");
    auto rang = Clock::now();
    zeltest::BoardEvent answered;
    ASSERT_TRUE(lc_.expect("hook 1 off", 5s));
    ASSERT_TRUE(lc_.expect("answer 1", 1s, &answered));
    EXPECT_NEAR(since_ms(rang), 2 * cycle, 100.0);  // the third ring starts two cycles in
    ASSERT_EQ(three.get(), 0);

    int h2 = open(2);
    auto four = std::async(std::launch::async, [h2] { return dx_wtring(h2, 4, VL_OFFHOOK, VL_WAIT_FOREVER); });
    ASSERT_TRUE(lc_.expect("wait 2 4", 5s));
    lc_.send("ring 2 3");
    // Three rings and the silence after the last: no answer, the call is gone.
    EXPECT_TRUE(lc_.expect_none("answer 2", std::chrono::milliseconds(static_cast<int>(3 * cycle + 300))));
    EXPECT_EQ(four.wait_for(0ms), std::future_status::timeout);
    lc_.send("status");
    EXPECT_TRUE(lc_.expect("status 2 idle", 2s));
    // The wait goes on: a call that rings a fourth time is answered.
    lc_.send("ring 2 4");
    EXPECT_TRUE(lc_.expect("answer 2", std::chrono::milliseconds(static_cast<int>(4 * cycle + 1000))));
    EXPECT_EQ(four.get(), 0);
}

TEST_F(BoardDll, KeyDuringPlayStopsItAndStaysForTheNextCollection) {
    int h = open(1);
    answer(h, 1);
    std::string greeting = vox("greeting.vox", 80000);  // 10 s at 8 kHz
    auto playing = std::async(std::launch::async, [&] { return dx_play_file(h, greeting.c_str(), kPlayTable, &k8k, VL_SYNC); });
    ASSERT_TRUE(lc_.expect("play 1 8000 " + greeting, 5s));
    lc_.send("dtmf 1 5");
    ASSERT_TRUE(lc_.expect("playend 1 1", 2s));
    ASSERT_EQ(playing.get(), 0);
    EXPECT_EQ(dx_term_reason(h), VL_REASON_DIGIT_COUNT);
    lc_.send("dtmf 1 678");
    char digits[VL_DIGIT_BUFFER_SIZE] = {};
    // The three keys may still be on their way; the collection waits for them.
    ASSERT_EQ(dx_collect_digits(h, kCollectTable, digits, VL_SYNC), 0);
    EXPECT_STREQ(digits, "5678");
    EXPECT_EQ(dx_term_reason(h), VL_REASON_DIGIT_COUNT);
    EXPECT_TRUE(lc_.expect("collectend 1 1 5678", 2s));
}

TEST_F(BoardDll, CollectionOfFourReturnsTheKeys) {
    int h = open(2);
    answer(h, 2);
    lc_.send("dtmf 2 1234");
    char digits[VL_DIGIT_BUFFER_SIZE] = {};
    ASSERT_EQ(dx_collect_digits(h, kCollectTable, digits, VL_SYNC), 0);
    EXPECT_STREQ(digits, "1234");
    EXPECT_EQ(dx_term_reason(h), VL_REASON_DIGIT_COUNT);
    EXPECT_TRUE(lc_.expect("collect 2", 2s));
    EXPECT_TRUE(lc_.expect("collectend 2 1 1234", 2s));
    ASSERT_EQ(dx_clear_digits(h), 0);
    EXPECT_TRUE(lc_.expect("clear 2", 2s));
}

TEST_F(BoardDll, TwoKeysThenSilenceEndAtTheTimeLimitScaledBySpeed) {
    int h = open(3);
    answer(h, 3);
    char digits[VL_DIGIT_BUFFER_SIZE] = {};
    auto start = Clock::now();
    auto collecting = std::async(std::launch::async, [&] { return dx_collect_digits(h, kCollectTable, digits, VL_SYNC); });
    zeltest::BoardEvent began, ended;
    ASSERT_TRUE(lc_.expect("collect 3", 2s, &began));
    lc_.send("dtmf 3 12");
    ASSERT_TRUE(lc_.expect("collectend 3 32 12", 3s, &ended));
    ASSERT_EQ(collecting.get(), 0);
    double took = since_ms(start);
    EXPECT_STREQ(digits, "12");
    EXPECT_EQ(dx_term_reason(h), VL_REASON_MAX_TIME);
    // 5 s at speed 10: 0.5 s, within 10 % (50 ms); by the caller's clock and the board's stamps.
    EXPECT_NEAR(took, 500.0, 50.0);
    EXPECT_NEAR(static_cast<double>(ended.ms - began.ms), 500.0, 50.0);
}

TEST_F(BoardDll, HangUpDuringPlayGivesEightAndEndsEveryLaterOperationAtOnce) {
    int h = open(4);
    answer(h, 4);
    std::string greeting = vox("greeting.vox", 80000);
    auto playing = std::async(std::launch::async, [&] { return dx_play_file(h, greeting.c_str(), kPlayTable, &k8k, VL_SYNC); });
    ASSERT_TRUE(lc_.expect("play 4", 5s));
    lc_.send("hangup 4");
    ASSERT_TRUE(lc_.expect("playend 4 8", 2s));
    ASSERT_EQ(playing.get(), 0);
    EXPECT_EQ(dx_term_reason(h), VL_REASON_HANGUP);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        auto start = Clock::now();
        ASSERT_EQ(dx_play_file(h, greeting.c_str(), kPlayTable, &k8k, VL_SYNC), 0);
        EXPECT_EQ(dx_term_reason(h), VL_REASON_HANGUP);
        EXPECT_TRUE(lc_.expect("playend 4 8", 2s));
        char digits[VL_DIGIT_BUFFER_SIZE] = "x";
        ASSERT_EQ(dx_collect_digits(h, kCollectTable, digits, VL_SYNC), 0);
        EXPECT_STREQ(digits, "");
        EXPECT_EQ(dx_term_reason(h), VL_REASON_HANGUP);
        EXPECT_TRUE(lc_.expect("collectend 4 8", 2s));
        EXPECT_LT(since_ms(start), 100.0);
    }
    lc_.send("status");
    EXPECT_TRUE(lc_.expect("status 4 dead", 2s));
    ASSERT_EQ(dx_sethook(h, VL_ONHOOK, VL_SYNC), 0);
    EXPECT_TRUE(lc_.expect("hook 4 on", 2s));
}

TEST_F(BoardDll, DialStringTakesFlashPausesAndDigitsInTime) {
    int h = open(1);
    answer(h, 1);
    struct Case {
        const char* dial;
        double board_ms;
    };
    const Case cases[] = {{"&,,201", 500 + 2000 + 300}, {"&", 500}, {",,,", 3000}, {"2010", 400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dial);
        zeltest::BoardEvent began, ended;
        auto start = Clock::now();
        EXPECT_EQ(dx_dial(h, c.dial, nullptr, VL_SYNC), 0);
        double took = since_ms(start);
        ASSERT_TRUE(lc_.expect(std::string("dial 1 ") + c.dial, 2s, &began));
        ASSERT_TRUE(lc_.expect("dialend 1", 2s, &ended));
        EXPECT_NEAR(took, c.board_ms / speed(), 50.0);
        EXPECT_NEAR(static_cast<double>(ended.ms - began.ms), c.board_ms / speed(), 50.0);
    }
}

TEST_F(BoardDll, MissingVoiceFileFailsWithPlayfail) {
    int h = open(2);
    answer(h, 2);
    std::string missing = (dir_ / "no such greeting.vox").string();
    EXPECT_EQ(dx_play_file(h, missing.c_str(), kPlayTable, &k8k, VL_SYNC), -1);
    EXPECT_TRUE(lc_.expect("playfail 2 " + missing, 2s));
    EXPECT_EQ(dx_term_reason(h), 0);
    EXPECT_TRUE(lc_.expect_none("play 2", 100ms));
}

TEST_F(BoardDll, InjectedFailuresFromTheController) {
    int h = open(3);
    lc_.send("fail sethook 3");
    lc_.send("fail dial 3");
    lc_.send("status");
    ASSERT_TRUE(lc_.expect("status 4", 2s));  // the board has read both lines
    EXPECT_EQ(dx_sethook(h, VL_ONHOOK, VL_SYNC), -1);
    EXPECT_EQ(dx_sethook(h, VL_ONHOOK, VL_SYNC), 0);
    EXPECT_EQ(dx_dial(h, "1", nullptr, VL_SYNC), -1);
    EXPECT_EQ(dx_dial(h, "1", nullptr, VL_SYNC), 0);
}

TEST_F(BoardDll, RecordingIsWhatSoxDecodes) {
    int h = open(2);
    std::string wav = (dir_ / "call on line 2.wav").string();
    lc_.send("record 2 " + wav);
    answer(h, 2);
    std::string speech = std::string(SIMBOARD_VOX_FIXTURES) + "/speech_8000.vox";
    ASSERT_EQ(dx_play_file(h, speech.c_str(), kPlayTable, &k8k, VL_SYNC), 0);
    EXPECT_EQ(dx_term_reason(h), VL_REASON_END_OF_FILE);
    ASSERT_EQ(dx_sethook(h, VL_ONHOOK, VL_SYNC), 0);

    auto read = [](const std::string& path) {
        std::vector<unsigned char> b;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (f) {
            int c;
            while ((c = std::fgetc(f)) != EOF) b.push_back(static_cast<unsigned char>(c));
            std::fclose(f);
        }
        return b;
    };
    std::vector<unsigned char> got = read(wav);
    std::vector<unsigned char> sox = read(std::string(SIMBOARD_VOX_FIXTURES) + "/speech_8000.s16");
    ASSERT_FALSE(sox.empty());
    ASSERT_EQ(got.size(), 44 + sox.size());
    EXPECT_EQ(got[24] | (got[25] << 8), 8000);
    EXPECT_TRUE(std::equal(sox.begin(), sox.end(), got.begin() + 44)) << "recorded samples differ from sox's";
}

TEST_F(BoardDll, ControllerCanLeaveAndANewOneIsServed) {
    lc_.close();
    int h = dx_open("dxxxB1", 0);  // nobody listens: the event is dropped, the board works
    ASSERT_GT(h, 0);
    EXPECT_EQ(sr_board_query(h), 0);
    zeltest::LineController next;
    ASSERT_TRUE(next.connect(zeltest::board_port_from_env(), 10s));
    next.send("bogus line");
    EXPECT_TRUE(next.expect("error", 2s));
    EXPECT_EQ(dx_close(h), 0);
    EXPECT_TRUE(next.expect("close dxxxB1", 2s));
    EXPECT_TRUE(next.expect_none("open dxxxB1", 50ms));
}

TEST_F(BoardDll, FourLinesFromFourThreads) {
    std::string greeting = vox("short.vox", 8000);  // 1 s
    std::vector<std::future<std::string>> calls;
    for (int line = 1; line <= 4; ++line) {
        calls.push_back(std::async(std::launch::async, [&, line]() -> std::string {
            int h = dx_open(channel(line).c_str(), 0);
            if (h <= 0) return "open failed";
            std::string out;
            if (dx_sethook(h, VL_ONHOOK, VL_SYNC) == 0 && dx_wtring(h, 2, VL_OFFHOOK, VL_WAIT_FOREVER) == 0 &&
                dx_play_file(h, greeting.c_str(), kPlayTable, &k8k, VL_SYNC) == 0) {
                char digits[VL_DIGIT_BUFFER_SIZE] = {};
                if (dx_collect_digits(h, kCollectTable, digits, VL_SYNC) == 0)
                    out = std::string(digits) + "/" + std::to_string(dx_term_reason(h));
            }
            dx_sethook(h, VL_ONHOOK, VL_SYNC);
            dx_close(h);
            return out;
        }));
    }
    for (int line = 1; line <= 4; ++line) {
        // Lines start in any order: wait for this line's wait without passing the others by.
        for (auto deadline = Clock::now() + 5s;;) {
            bool seen = false;
            for (const auto& e : lc_.events()) seen = seen || zeltest::event_matches("wait " + std::to_string(line) + " 2", e.text);
            if (seen) break;
            ASSERT_LT(Clock::now(), deadline) << lc_.report();
            std::this_thread::sleep_for(10ms);
        }
        lc_.send("ring " + std::to_string(line) + " 3");
    }
    for (int line = 1; line <= 4; ++line) {
        for (auto deadline = Clock::now() + 5s;;) {
            bool seen = false;
            for (const auto& e : lc_.events()) seen = seen || zeltest::event_matches("play " + std::to_string(line), e.text);
            if (seen) break;
            ASSERT_LT(Clock::now(), deadline) << lc_.report();
            std::this_thread::sleep_for(10ms);
        }
        lc_.send("dtmf " + std::to_string(line) + " " + std::string(4, static_cast<char>('0' + line)));
    }
    for (int line = 1; line <= 4; ++line)
        EXPECT_EQ(calls[line - 1].get(), std::string(4, static_cast<char>('0' + line)) + "/1") << lc_.report();
}

// Runs only with SIMBOARD_FAIL=dxxxB1C3 (its own CTest entry).
TEST_F(BoardDll, RefusedChannelFailsAloneToOpen) {
    const char* fail = std::getenv("SIMBOARD_FAIL");
    if (!fail || std::string(fail) != "dxxxB1C3") GTEST_SKIP() << "needs SIMBOARD_FAIL=dxxxB1C3";
    int board = dx_open(VL_BOARD_NAME, 0);
    EXPECT_GT(board, 0);
    EXPECT_TRUE(lc_.expect("open dxxxB1", 2s));
    for (int line = 1; line <= 4; ++line) {
        SCOPED_TRACE(line);
        int h = dx_open(channel(line).c_str(), 0);
        if (line == 3) {
            EXPECT_EQ(h, -1);
            EXPECT_TRUE(lc_.expect("openfail dxxxB1C3", 2s));
        } else {
            EXPECT_GT(h, 0);
            EXPECT_TRUE(lc_.expect("open " + channel(line), 2s));
            open_.push_back(h);
        }
    }
    EXPECT_EQ(dx_close(board), 0);
}

}  // namespace
