// The board model driven directly: rings and answering, plays and keys, collections,
// hang-up, the termination reason, dialling, failures, devices, recording, speed and
// four lines at once.
#include "board.h"
#include "board_fixture.h"
#include "vox_decoder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace {

using namespace boardtest;
using Clock = std::chrono::steady_clock;

constexpr double kSpeed = 20.0;
// Scheduling slack allowed on every timing check (Wine's timers included).
constexpr double kSlackMs = 80.0;

double since_ms(Clock::time_point t) { return Ms(Clock::now() - t).count(); }

class BoardTest : public ::testing::Test {
protected:
    explicit BoardTest(double speed = kSpeed, std::vector<std::string> fail = {})
        : clock_(speed), board_(clock_, std::move(fail), log_) {}

    // Opens channel `line` (1-4) and checks it worked.
    int open_line(int line) {
        char name[16];
        std::snprintf(name, sizeof name, "dxxxB1C%d", line);
        int h = board_.open(name, 0);
        EXPECT_GT(h, 0) << name;
        return h;
    }

    // Rings `line` and answers on the first ring; the line is then off-hook with a caller.
    void answer(int h, int line) {
        auto waiting = std::async(std::launch::async, [&] { return board_.wtring(h, 1, VL_OFFHOOK, -1); });
        ASSERT_TRUE(log_.expect("wait " + std::to_string(line) + " 1", 2s));
        ASSERT_EQ(board_.ring(line, 5), "");
        ASSERT_EQ(waiting.get(), 0);
        ASSERT_EQ(board_.state(line), simboard::LineState::OffHook);
    }

    // Real milliseconds that a board duration takes.
    double real_ms(double board_ms) const { return board_ms / clock_.speed(); }

    EventLog log_;
    simboard::BoardClock clock_;
    simboard::Board board_;
    ScratchDir dir_;
};

// ---------------------------------------------------------------------------------------
// Rings

TEST_F(BoardTest, WaitForRingsAnswersAtThatRingOfTheCall) {
    struct Case {
        int rings_sent, wait_for;
        int answered_at;  // ring number, 0: never
    };
    const Case cases[] = {{3, 3, 3}, {3, 4, 0}, {5, 2, 2}, {2, 0, 1}, {1, 1, 1}};
    int line = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ring " << c.rings_sent << ", wait for " << c.wait_for);
        int h = open_line(line);
        auto waiting = std::async(std::launch::async, [&] { return board_.wtring(h, c.wait_for, VL_OFFHOOK, -1); });
        ASSERT_TRUE(log_.expect("wait " + std::to_string(line), 2s));
        auto rang = Clock::now();
        ASSERT_EQ(board_.ring(line, c.rings_sent), "");
        double cycle = real_ms(simboard::kRingOnMs + simboard::kRingOffMs);
        if (c.answered_at > 0) {
            ASSERT_EQ(waiting.wait_for(std::chrono::milliseconds(static_cast<int>(cycle * c.answered_at + 1000))),
                      std::future_status::ready);
            EXPECT_EQ(waiting.get(), 0);
            EXPECT_NEAR(since_ms(rang), cycle * (c.answered_at - 1), kSlackMs);
            EXPECT_EQ(board_.state(line), simboard::LineState::OffHook);
            EXPECT_TRUE(log_.expect("hook " + std::to_string(line) + " off", 1s));
            EXPECT_TRUE(log_.expect("answer " + std::to_string(line), 1s));
            EXPECT_EQ(board_.close(h), 0);
        } else {
            // The whole call rings out unanswered and the line is idle again, still waiting.
            EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(static_cast<int>(cycle * c.rings_sent + 200))),
                      std::future_status::timeout);
            EXPECT_EQ(board_.state(line), simboard::LineState::Idle);
            EXPECT_EQ(log_.texts().back(), "wait " + std::to_string(line) + " " + std::to_string(c.wait_for));
            // Closing the device releases the waiting thread.
            EXPECT_EQ(board_.close(h), 0);
            EXPECT_EQ(waiting.get(), -1);
        }
        line = line % 4 + 1;
    }
}

TEST_F(BoardTest, RingStillSoundingWhenTheWaitBeginsCounts) {
    int h = open_line(2);
    ASSERT_EQ(board_.ring(2, 4), "");
    double cycle = real_ms(simboard::kRingOnMs + simboard::kRingOffMs);
    // Into ring 2's sound: it is ring 2 of the call, so a wait for 2 answers now.
    std::this_thread::sleep_for(Ms(cycle * 1.1));
    auto start = Clock::now();
    EXPECT_EQ(board_.wtring(h, 2, VL_OFFHOOK, -1), 0);
    EXPECT_LT(since_ms(start), kSlackMs);
}

TEST_F(BoardTest, RingOnABusyLineAndKeysWithoutACallAreRefused) {
    int h = open_line(1);
    EXPECT_NE(board_.dtmf(1, "1"), "");
    EXPECT_NE(board_.hangup(1), "");
    ASSERT_EQ(board_.ring(1, 3), "");
    EXPECT_NE(board_.ring(1, 3), "");  // already ringing
    EXPECT_EQ(board_.state(1), simboard::LineState::Ringing);
    EXPECT_NE(board_.dtmf(1, "1"), "");  // ringing: nobody is listening yet
    ASSERT_EQ(board_.sethook(h, VL_OFFHOOK, 0), 0);  // lifting the receiver takes the call
    EXPECT_EQ(board_.state(1), simboard::LineState::OffHook);
    EXPECT_NE(board_.ring(1, 2), "");
    EXPECT_EQ(board_.dtmf(1, "7"), "");
    EXPECT_EQ(board_.pending_digits(1), "7");
    // A wait for rings on a line that is off-hook could never end.
    EXPECT_EQ(board_.wtring(h, 1, VL_OFFHOOK, -1), -1);
    ASSERT_EQ(board_.sethook(h, VL_ONHOOK, 0), 0);
    EXPECT_EQ(board_.pending_digits(1), "");  // keys go with the call
    EXPECT_EQ(board_.state(1), simboard::LineState::Idle);
}

TEST_F(BoardTest, CallerWhoHangsUpWhileRingingIsGone) {
    int h = open_line(3);
    ASSERT_EQ(board_.ring(3, 10), "");
    ASSERT_EQ(board_.hangup(3), "");
    EXPECT_EQ(board_.state(3), simboard::LineState::Idle);
    EXPECT_EQ(board_.wtring(h, 1, VL_OFFHOOK, 1), -1);  // 1 s board time-out: nothing rings
}

// ---------------------------------------------------------------------------------------
// Plays, keys and collections

TEST_F(BoardTest, PlayLastsFileBytesTimesTwoOverRate) {
    struct Case {
        std::uint32_t code;
        int hz;
        std::size_t bytes;
    };
    const Case cases[] = {{VL_RATE_6K, 6000, 6000}, {VL_RATE_8K, 8000, 8000}, {VL_RATE_11K, 11025, 11025}};
    int h = open_line(1);
    answer(h, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hz);
        std::string file = dir_.vox("p" + std::to_string(c.hz) + ".vox", c.bytes);
        VlPlayFormat f = play_format(c.code);
        auto start = Clock::now();
        ASSERT_EQ(board_.play_file(h, file.c_str(), kPlayTable, &f, 0), 0);
        EXPECT_NEAR(since_ms(start), real_ms(2000.0), kSlackMs);  // bytes*2/rate = 2 s
        EXPECT_EQ(board_.term_reason(h), VL_REASON_END_OF_FILE);
        EXPECT_TRUE(log_.expect("play 1 " + std::to_string(c.hz) + " " + file, 1s));
        EXPECT_TRUE(log_.expect("playend 1 512", 1s));
    }
}

TEST_F(BoardTest, KeyDuringPlayStopsItAndStaysForTheCollection) {
    int h = open_line(1);
    answer(h, 1);
    std::string file = dir_.vox("long.vox", 80000);  // 10 s
    VlPlayFormat f = play_format(VL_RATE_8K);
    auto playing = std::async(std::launch::async, [&] { return board_.play_file(h, file.c_str(), kPlayTable, &f, 0); });
    ASSERT_TRUE(log_.expect("play 1 8000", 2s));
    ASSERT_EQ(board_.dtmf(1, "1"), "");
    ASSERT_EQ(playing.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(playing.get(), 0);
    EXPECT_EQ(board_.term_reason(h), VL_REASON_DIGIT_COUNT);
    EXPECT_TRUE(log_.expect("playend 1 1", 1s));
    EXPECT_EQ(board_.pending_digits(1), "1");

    // A play that starts with the key still waiting stops at once.
    auto start = Clock::now();
    ASSERT_EQ(board_.play_file(h, file.c_str(), kPlayTable, &f, 0), 0);
    EXPECT_LT(since_ms(start), kSlackMs);
    EXPECT_EQ(board_.term_reason(h), VL_REASON_DIGIT_COUNT);

    ASSERT_EQ(board_.dtmf(1, "234"), "");
    char digits[VL_DIGIT_BUFFER_SIZE] = "garbage";
    ASSERT_EQ(board_.collect_digits(h, kCollectTable, digits, 0), 0);
    EXPECT_STREQ(digits, "1234");
    EXPECT_EQ(board_.term_reason(h), VL_REASON_DIGIT_COUNT);
    EXPECT_TRUE(log_.expect("collect 1", 1s));
    EXPECT_TRUE(log_.expect("collectend 1 1 1234", 1s));
}

TEST_F(BoardTest, CollectionEndsAtTheDigitCountOrTheTimeLimit) {
    struct Case {
        const char* keys;       // pressed right after the collection starts ("" : none)
        const char* digits;     // returned
        long reason;
        double after_board_ms;  // when it ends
        const char* left;       // still in the buffer afterwards
    };
    const Case cases[] = {
        {"1234", "1234", VL_REASON_DIGIT_COUNT, 0, ""},
        {"123456", "1234", VL_REASON_DIGIT_COUNT, 0, "56"},
        {"12", "12", VL_REASON_MAX_TIME, 5000, ""},
        {"", "", VL_REASON_MAX_TIME, 5000, ""},
        {"*#9", "*#9", VL_REASON_MAX_TIME, 5000, ""},
    };
    int h = open_line(2);
    answer(h, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        char digits[VL_DIGIT_BUFFER_SIZE] = "xxxx";
        auto start = Clock::now();
        auto collecting = std::async(std::launch::async, [&] { return board_.collect_digits(h, kCollectTable, digits, 0); });
        ASSERT_TRUE(log_.expect("collect 2", 2s));
        if (*c.keys) {
            ASSERT_EQ(board_.dtmf(2, c.keys), "");
        }
        auto pressed = Clock::now();
        ASSERT_EQ(collecting.get(), 0);
        EXPECT_STREQ(digits, c.digits);
        EXPECT_EQ(board_.term_reason(h), c.reason);
        if (c.after_board_ms == 0) {
            // Ends on the key that completes the count: well before the time limit, however
            // long the test took to see the collection start and press the keys.
            EXPECT_LT(since_ms(pressed), real_ms(5000) / 2);
        } else {
            EXPECT_NEAR(since_ms(start), real_ms(c.after_board_ms), kSlackMs);
        }
        EXPECT_EQ(board_.pending_digits(2), c.left);
        std::string end = "collectend 2 " + std::to_string(c.reason);
        if (*c.digits) end += std::string(" ") + c.digits;
        EXPECT_TRUE(log_.expect(end, 1s));
        ASSERT_EQ(board_.clear_digits(h), 0);
        EXPECT_TRUE(log_.expect("clear 2", 1s));
    }
}

TEST_F(BoardTest, DigitBufferHoldsThirtyOneKeys) {
    int h = open_line(4);
    answer(h, 4);
    ASSERT_EQ(board_.dtmf(4, std::string(40, '5')), "");
    EXPECT_EQ(board_.pending_digits(4), std::string(31, '5'));
    char digits[VL_DIGIT_BUFFER_SIZE];
    ASSERT_EQ(board_.collect_digits(h, nullptr, digits, 0), 0);  // no table: as many as the buffer holds
    EXPECT_STREQ(digits, std::string(31, '5').c_str());
    EXPECT_EQ(board_.term_reason(h), VL_REASON_DIGIT_COUNT);
}

// ---------------------------------------------------------------------------------------
// Hang-up and the termination reason

TEST_F(BoardTest, HangUpDuringPlayEndsItAndEveryLaterOperationAtOnce) {
    int h = open_line(1);
    answer(h, 1);
    std::string file = dir_.vox("long.vox", 80000);
    VlPlayFormat f = play_format(VL_RATE_8K);
    auto playing = std::async(std::launch::async, [&] { return board_.play_file(h, file.c_str(), kPlayTable, &f, 0); });
    ASSERT_TRUE(log_.expect("play 1", 2s));
    ASSERT_EQ(board_.hangup(1), "");
    ASSERT_EQ(playing.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(playing.get(), 0);
    EXPECT_EQ(board_.term_reason(h), VL_REASON_HANGUP);
    EXPECT_TRUE(log_.expect("playend 1 8", 1s));
    EXPECT_EQ(board_.state(1), simboard::LineState::Dead);
    EXPECT_NE(board_.dtmf(1, "1"), "");  // a caller who is gone presses no keys

    for (int round = 0; round < 3; ++round) {
        auto start = Clock::now();
        ASSERT_EQ(board_.play_file(h, file.c_str(), kPlayTable, &f, 0), 0);
        EXPECT_EQ(board_.term_reason(h), VL_REASON_HANGUP);
        char digits[VL_DIGIT_BUFFER_SIZE] = "x";
        ASSERT_EQ(board_.collect_digits(h, kCollectTable, digits, 0), 0);
        EXPECT_STREQ(digits, "");
        EXPECT_EQ(board_.term_reason(h), VL_REASON_HANGUP);
        EXPECT_LT(since_ms(start), kSlackMs);
    }
    // Until the program puts the line on-hook; then a play runs its course again.
    ASSERT_EQ(board_.sethook(h, VL_ONHOOK, 0), 0);
    std::string shortfile = dir_.vox("short.vox", 800);
    ASSERT_EQ(board_.play_file(h, shortfile.c_str(), kPlayTable, &f, 0), 0);
    EXPECT_EQ(board_.term_reason(h), VL_REASON_END_OF_FILE);
}

TEST_F(BoardTest, TerminationReasonRule) {
    // Each step runs on a fresh answered line; the reason is read after all of them.
    enum Step { PlayToEnd, HangUp, Dial, FailedPlay, Collect4 };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        long reason;
    };
    const Case cases[] = {
        {"end of file", {PlayToEnd}, VL_REASON_END_OF_FILE},
        {"hang-up after the play ended", {PlayToEnd, HangUp}, VL_REASON_HANGUP},
        {"hang-up after a later dial", {Collect4, Dial, HangUp}, VL_REASON_HANGUP},
        {"dial leaves the reason", {Collect4, Dial}, VL_REASON_DIGIT_COUNT},
        {"failed play", {PlayToEnd, FailedPlay}, 0},
        {"failed play after the caller left", {PlayToEnd, HangUp, FailedPlay}, 0},
    };
    std::string file = dir_.vox("s.vox", 400);
    VlPlayFormat f = play_format(VL_RATE_8K);
    int line = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int h = open_line(line);
        answer(h, line);
        char digits[VL_DIGIT_BUFFER_SIZE];
        for (Step s : c.steps) {
            switch (s) {
            case PlayToEnd: ASSERT_EQ(board_.play_file(h, file.c_str(), kPlayTable, &f, 0), 0); break;
            case HangUp: ASSERT_EQ(board_.hangup(line), ""); break;
            case Dial: ASSERT_EQ(board_.dial(h, "1", 0), 0); break;
            case FailedPlay: ASSERT_EQ(board_.play_file(h, "no-such.vox", kPlayTable, &f, 0), -1); break;
            case Collect4:
                ASSERT_EQ(board_.dtmf(line, "1234"), "");
                ASSERT_EQ(board_.collect_digits(h, kCollectTable, digits, 0), 0);
                break;
            }
        }
        EXPECT_EQ(board_.term_reason(h), c.reason);
        ASSERT_EQ(board_.close(h), 0);
        line = line % 4 + 1;
    }
}

// ---------------------------------------------------------------------------------------
// Dialling

// Slow enough that a pause or flash off by a tenth shows beyond the scheduling slack.
class SpeedTwoBoardTest : public BoardTest {
protected:
    SpeedTwoBoardTest() : BoardTest(2.0) {}
};

TEST_F(SpeedTwoBoardTest, DialTakesFlashPausesAndDigitsInOrderAndTime) {
    constexpr double kTightMs = 30.0;
    int h = open_line(3);
    answer(h, 3);
    auto start = Clock::now();
    ASSERT_EQ(board_.dial(h, "&,,201", 0), 0);
    EXPECT_NEAR(since_ms(start), real_ms(2800), kTightMs);
    auto steps = board_.last_dial(3);
    ASSERT_EQ(steps.size(), 6u);
    const char expected[] = "&,,201";
    const double begins[] = {0, 500, 1500, 2500, 2600, 2700};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(steps[i].character, expected[i]);
        EXPECT_NEAR(steps[i].start_ms, real_ms(begins[i]), kTightMs) << i;
    }
    EXPECT_EQ(steps[0].kind, simboard::DialStepKind::Flash);
    EXPECT_EQ(steps[1].kind, simboard::DialStepKind::Pause);
    EXPECT_EQ(steps[5].kind, simboard::DialStepKind::Digit);
    EXPECT_TRUE(log_.expect("dial 3 &,,201", 1s));
    EXPECT_TRUE(log_.expect("dialend 3", 1s));
}

// ---------------------------------------------------------------------------------------
// Failures and devices

TEST_F(BoardTest, PlayRefusesMissingFilesAndWrongFormats) {
    int h = open_line(1);
    answer(h, 1);
    std::string good = dir_.vox("g.vox", 100);
    struct Case {
        std::string path;
        VlPlayFormat format;
        const VlTermEntry* table;
    };
    const VlTermEntry broken[1] = {{9, VL_COND_DIGIT_COUNT, 1, 0}};
    const Case cases[] = {
        {dir_.file("missing.vox"), play_format(VL_RATE_8K), kPlayTable},
        {good, play_format(0), kPlayTable},  // a rate never set
        {good, play_format(65), kPlayTable},
        {good, VlPlayFormat{2, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, 4}, kPlayTable},
        {good, VlPlayFormat{VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, 8}, kPlayTable},
        {good, play_format(VL_RATE_8K), broken},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(board_.play_file(h, c.path.c_str(), c.table, &c.format, 0), -1);
        EXPECT_EQ(board_.term_reason(h), 0);
        EXPECT_TRUE(log_.expect("playfail 1 " + c.path, 1s));
    }
    EXPECT_EQ(board_.play_file(h, good.c_str(), kPlayTable, nullptr, 0), -1);
    EXPECT_FALSE(log_.contains("play 1 "));  // nothing was ever played
}

TEST_F(BoardTest, InjectedFailureHitsOnlyTheNextOperationOfThatKind) {
    int h = open_line(2);
    answer(h, 2);
    std::string file = dir_.vox("f.vox", 100);
    VlPlayFormat f = play_format(VL_RATE_6K);
    char digits[VL_DIGIT_BUFFER_SIZE];
    struct Case {
        simboard::FailOp op;
        std::function<int()> run;
    };
    const Case cases[] = {
        {simboard::FailOp::Play, [&] { return board_.play_file(h, file.c_str(), kPlayTable, &f, 0); }},
        {simboard::FailOp::Collect,
         [&] {
             board_.dtmf(2, "1234");
             return board_.collect_digits(h, kCollectTable, digits, 0);
         }},
        {simboard::FailOp::Dial, [&] { return board_.dial(h, "1", 0); }},
        {simboard::FailOp::Sethook, [&] { return board_.sethook(h, VL_OFFHOOK, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(simboard::fail_op_name(c.op));
        ASSERT_EQ(board_.fail_next(c.op, 2), "");
        EXPECT_EQ(c.run(), -1);
        EXPECT_EQ(board_.term_reason(h), 0);
        EXPECT_EQ(c.run(), 0);
    }
    ASSERT_EQ(board_.sethook(h, VL_ONHOOK, 0), 0);
    ASSERT_EQ(board_.fail_next(simboard::FailOp::Wtring, 2), "");
    EXPECT_EQ(board_.wtring(h, 1, VL_OFFHOOK, -1), -1);
    // Another line is untouched by line 2's failures.
    int other = open_line(3);
    ASSERT_EQ(board_.fail_next(simboard::FailOp::Dial, 2), "");
    EXPECT_EQ(board_.dial(other, "1", 0), 0);
}

class RefusingBoardTest : public BoardTest {
protected:
    RefusingBoardTest() : BoardTest(kSpeed, {"dxxxB1C3"}) {}
};

TEST_F(RefusingBoardTest, OnlyTheListedDeviceIsRefused) {
    struct Case {
        const char* device;
        bool opens;
    };
    const Case cases[] = {{"dxxxB1", true}, {"dxxxB1C1", true}, {"dxxxB1C2", true}, {"dxxxB1C3", false},
                          {"dxxxB1C4", true}, {"dxxxB1C5", false}, {"dxxxB2", false}, {"DXXXB1C1", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        int h = board_.open(c.device, 0);
        EXPECT_EQ(h > 0, c.opens);
        EXPECT_TRUE(log_.expect(std::string(c.opens ? "open " : "openfail ") + c.device, 1s));
    }
}

TEST_F(BoardTest, HandlesBelongToOneOpenDevice) {
    int board = board_.open("dxxxB1", 0);
    ASSERT_GT(board, 0);
    EXPECT_EQ(board_.open("dxxxB1", 0), -1);  // already open
    int h = open_line(1);
    EXPECT_NE(h, board);
    EXPECT_EQ(board_.open("dxxxB1C1", 0), -1);
    EXPECT_TRUE(log_.expect("openfail dxxxB1C1", 1s));
    // Line operations need a channel handle.
    EXPECT_EQ(board_.sethook(board, VL_OFFHOOK, 0), -1);
    EXPECT_EQ(board_.term_reason(board), -1);
    EXPECT_EQ(board_.clear_digits(0), -1);
    EXPECT_EQ(board_.close(board), 0);
    EXPECT_TRUE(log_.expect("close dxxxB1", 1s));
    EXPECT_EQ(board_.close(board), -1);
    EXPECT_EQ(board_.close(h), 0);
    EXPECT_TRUE(log_.expect("close dxxxB1C1", 1s));
    EXPECT_EQ(board_.sethook(h, VL_OFFHOOK, 0), -1);  // a closed handle is dead
    EXPECT_EQ(board_.close(h), -1);
    int again = open_line(1);
    EXPECT_NE(again, h);  // a reopened channel gets a fresh handle
    EXPECT_EQ(board_.sethook(again, 7, 0), -1);
    EXPECT_EQ(board_.open(nullptr, 0), -1);
}

TEST_F(BoardTest, ClosingAChannelEndsAPlayInProgress) {
    int h = open_line(4);
    answer(h, 4);
    std::string file = dir_.vox("long.vox", 80000);
    VlPlayFormat f = play_format(VL_RATE_8K);
    auto playing = std::async(std::launch::async, [&] { return board_.play_file(h, file.c_str(), kPlayTable, &f, 0); });
    ASSERT_TRUE(log_.expect("play 4", 2s));
    ASSERT_EQ(board_.close(h), 0);
    ASSERT_EQ(playing.wait_for(1s), std::future_status::ready);
    EXPECT_EQ(playing.get(), -1);
    EXPECT_EQ(board_.state(4), simboard::LineState::Idle);  // the call was cut off
}

// ---------------------------------------------------------------------------------------
// Recording, speed, independence of the lines

TEST_F(BoardTest, RecordingHoldsWhatTheCallerHeardAtRealAudioSpeed) {
    std::string wav = dir_.file("call one.wav");
    ASSERT_EQ(board_.record(1, wav), "");
    EXPECT_NE(board_.record(1, wav), "");  // one recording per line at a time
    EXPECT_NE(board_.record(2, dir_.file("no/such/dir/x.wav")), "");
    int h = open_line(1);
    answer(h, 1);

    std::vector<std::uint8_t> whole(1000), cut(80000);
    for (std::size_t i = 0; i < whole.size(); ++i) whole[i] = static_cast<std::uint8_t>(i * 13 + 5);
    for (std::size_t i = 0; i < cut.size(); ++i) cut[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::string a = dir_.file("a.vox"), b = dir_.file("b.vox");
    for (auto [path, bytes] : {std::pair{a, &whole}, std::pair{b, &cut}}) {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes->data(), 1, bytes->size(), out);
        std::fclose(out);
    }
    VlPlayFormat f = play_format(VL_RATE_11K);
    ASSERT_EQ(board_.play_file(h, a.c_str(), kPlayTable, &f, 0), 0);
    auto playing = std::async(std::launch::async, [&] { return board_.play_file(h, b.c_str(), kPlayTable, &f, 0); });
    ASSERT_TRUE(log_.expect("play 1 11025 " + b, 2s));
    auto started = Clock::now();
    std::this_thread::sleep_for(100ms);  // 2 s of audio at speed 20
    ASSERT_EQ(board_.dtmf(1, "9"), "");
    ASSERT_EQ(playing.get(), 0);
    double heard_ms = since_ms(started) * kSpeed;
    ASSERT_EQ(board_.sethook(h, VL_ONHOOK, 0), 0);  // completes the file

    auto bytes = read_bytes(wav);
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(le32(bytes, 24), 11025u);
    std::uint32_t data = le32(bytes, 40);
    EXPECT_EQ(le32(bytes, 4), 36 + data);
    ASSERT_EQ(bytes.size(), 44u + data);
    std::vector<std::int16_t> got(data / 2);
    for (std::size_t i = 0; i < got.size(); ++i) got[i] = static_cast<std::int16_t>(bytes[44 + 2 * i] | (bytes[45 + 2 * i] << 8));
    std::vector<std::int16_t> first = simboard::decode_vox(whole), second = simboard::decode_vox(cut);
    ASSERT_GT(got.size(), first.size());
    std::size_t cut_samples = got.size() - first.size();
    EXPECT_NEAR(static_cast<double>(cut_samples), heard_ms * 11.025, kSlackMs * kSpeed * 11.025);
    EXPECT_LT(cut_samples, second.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), got.begin()));
    EXPECT_TRUE(std::equal(got.begin() + first.size(), got.end(), second.begin()));

    // The recording ended with the call: the next call is not added to it.
    answer(h, 1);
    ASSERT_EQ(board_.play_file(h, a.c_str(), kPlayTable, &f, 0), 0);
    EXPECT_EQ(read_bytes(wav).size(), 44u + data);
}

class SpeedTenBoardTest : public BoardTest {
protected:
    SpeedTenBoardTest() : BoardTest(10.0) {}
};

TEST_F(SpeedTenBoardTest, FiveSecondLimitEndsAfterHalfASecond) {
    int h = open_line(1);
    answer(h, 1);
    char digits[VL_DIGIT_BUFFER_SIZE];
    auto start = Clock::now();
    ASSERT_EQ(board_.collect_digits(h, kCollectTable, digits, 0), 0);
    EXPECT_NEAR(since_ms(start), 500.0, 50.0);
    EXPECT_EQ(board_.term_reason(h), VL_REASON_MAX_TIME);
}

TEST_F(BoardTest, FourLinesRunIndependentlyEachOnItsOwnThread) {
    std::string file = dir_.vox("greeting.vox", 16000);  // 2 s at 8 kHz
    VlPlayFormat f = play_format(VL_RATE_8K);
    for (int round = 0; round < 2; ++round) {
        std::vector<std::future<std::string>> calls;
        for (int line = 1; line <= 4; ++line) {
            calls.push_back(std::async(std::launch::async, [&, line]() -> std::string {
                int h = board_.open(("dxxxB1C" + std::to_string(line)).c_str(), 0);
                if (h <= 0) return "open failed";
                if (board_.sethook(h, VL_ONHOOK, 0) != 0 || board_.wtring(h, line, VL_OFFHOOK, -1) != 0) return "no answer";
                if (board_.play_file(h, file.c_str(), kPlayTable, &f, 0) != 0) return "play failed";
                char digits[VL_DIGIT_BUFFER_SIZE];
                if (board_.collect_digits(h, kCollectTable, digits, 0) != 0) return "collect failed";
                std::string got = digits;
                got += "/" + std::to_string(board_.term_reason(h));
                board_.sethook(h, VL_ONHOOK, 0);
                board_.close(h);
                return got;
            }));
        }
        // The lines start in any order, so count rather than follow the log.
        for (int line = 1; line <= 4; ++line) ASSERT_TRUE(log_.expect_count("wait " + std::to_string(line), round + 1, 2s));
        for (int line = 1; line <= 4; ++line) ASSERT_EQ(board_.ring(line, 6), "");
        // Each caller keys its own line's number during its greeting.
        std::vector<std::thread> callers;
        for (int line = 1; line <= 4; ++line) {
            callers.emplace_back([&, line] {
                while (board_.state(line) != simboard::LineState::OffHook) std::this_thread::sleep_for(2ms);
                std::string keys(4, static_cast<char>('0' + line));
                for (char k : keys) {
                    while (board_.dtmf(line, std::string(1, k)) != "") std::this_thread::sleep_for(2ms);
                    std::this_thread::sleep_for(5ms);
                }
            });
        }
        for (auto& t : callers) t.join();
        for (int line = 1; line <= 4; ++line) {
            std::string keys(4, static_cast<char>('0' + line));
            EXPECT_EQ(calls[line - 1].get(), keys + "/1") << "line " << line;
        }
    }
}

}  // namespace
