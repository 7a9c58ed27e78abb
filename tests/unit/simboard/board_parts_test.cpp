// The board's small parts: settings from the environment, termination tables, dial
// timing, and the WAV file a recording leaves.
#include "board_config.h"
#include "board_fixture.h"
#include "dial_plan.h"
#include "term_table.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

using namespace boardtest;

TEST(BoardConfig, ReadsTheThreeVariablesAndKeepsDefaultsForNonsense) {
    struct Case {
        std::map<std::string, std::string> env;
        int port;
        double speed;
        std::vector<std::string> fail;
    };
    const Case cases[] = {
        {{}, 7311, 1.0, {}},
        {{{"SIMBOARD_PORT", "7400"}, {"SIMBOARD_SPEED", "10"}}, 7400, 10.0, {}},
        {{{"SIMBOARD_SPEED", "2.5"}}, 7311, 2.5, {}},
        {{{"SIMBOARD_PORT", "0"}, {"SIMBOARD_SPEED", "0"}}, 7311, 1.0, {}},
        {{{"SIMBOARD_PORT", "70000"}, {"SIMBOARD_SPEED", "-3"}}, 7311, 1.0, {}},
        {{{"SIMBOARD_PORT", "73x"}, {"SIMBOARD_SPEED", "fast"}}, 7311, 1.0, {}},
        {{{"SIMBOARD_SPEED", "1e9"}}, 7311, 1.0, {}},
        {{{"SIMBOARD_FAIL", "dxxxB1C3"}}, 7311, 1.0, {"dxxxB1C3"}},
        {{{"SIMBOARD_FAIL", "dxxxB1,dxxxB1C3"}}, 7311, 1.0, {"dxxxB1", "dxxxB1C3"}},
        {{{"SIMBOARD_FAIL", " dxxxB1C1 ,,dxxxB1C4,"}}, 7311, 1.0, {"dxxxB1C1", "dxxxB1C4"}},
        {{{"SIMBOARD_FAIL", ""}}, 7311, 1.0, {}},
    };
    for (const Case& c : cases) {
        auto env = [&](const char* name) -> const char* {
            auto it = c.env.find(name);
            return it == c.env.end() ? nullptr : it->second.c_str();
        };
        simboard::BoardConfig got = simboard::read_board_config(env);
        EXPECT_EQ(got.port, c.port);
        EXPECT_DOUBLE_EQ(got.speed, c.speed);
        EXPECT_EQ(got.fail_devices, c.fail);
    }
}

TEST(TermTable, ReadsTheRuntimesTables) {
    simboard::TermConditions play, collect;
    ASSERT_TRUE(simboard::read_term_table(kPlayTable, &play));
    EXPECT_EQ(play.digit_count, 1);
    EXPECT_EQ(play.max_time_ms, -1);
    EXPECT_TRUE(play.loop_drop);
    ASSERT_TRUE(simboard::read_term_table(kCollectTable, &collect));
    EXPECT_EQ(collect.digit_count, 4);
    EXPECT_EQ(collect.max_time_ms, 5000);  // 50 tenths of a second
    EXPECT_TRUE(collect.loop_drop);
}

TEST(TermTable, StopsAtTheLastEntryAndRefusesBrokenTables) {
    struct Case {
        std::vector<VlTermEntry> entries;
        bool ok;
        int digits;
    };
    std::vector<VlTermEntry> endless(simboard::kMaxTermEntries + 4, VlTermEntry{VL_ENTRY_CHAIN, VL_COND_DIGIT_COUNT, 2, 0});
    endless.back().kind = VL_ENTRY_LAST;
    const Case cases[] = {
        // Whatever follows the last entry is never read.
        {{{VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 3, 0}, {7, 99, 0, 0}}, true, 3},
        {{{VL_ENTRY_CHAIN, VL_COND_DIGIT_COUNT, 40, 0}, {VL_ENTRY_LAST, VL_COND_LOOP_DROP, 6, 0}}, true, 31},
        {{{2, VL_COND_DIGIT_COUNT, 1, 0}}, false, -1},
        {{{VL_ENTRY_LAST, 5, 1, 0}}, false, -1},
        {endless, false, -1},
    };
    for (const Case& c : cases) {
        simboard::TermConditions got;
        got.digit_count = -7;
        EXPECT_EQ(simboard::read_term_table(c.entries.data(), &got), c.ok);
        EXPECT_EQ(got.digit_count, c.ok ? c.digits : -7);
    }
    simboard::TermConditions none;
    ASSERT_TRUE(simboard::read_term_table(nullptr, &none));
    EXPECT_EQ(none.digit_count, -1);
    EXPECT_EQ(none.max_time_ms, -1);
}

TEST(DialPlan, FlashPausesAndDigitsInOrder) {
    auto steps = simboard::plan_dial("&,,201");
    ASSERT_EQ(steps.size(), 6u);
    const simboard::DialStepKind kinds[] = {simboard::DialStepKind::Flash, simboard::DialStepKind::Pause,
                                            simboard::DialStepKind::Pause, simboard::DialStepKind::Digit,
                                            simboard::DialStepKind::Digit, simboard::DialStepKind::Digit};
    double total = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].kind, kinds[i]) << i;
        total += steps[i].board_ms;
    }
    EXPECT_DOUBLE_EQ(total, 500 + 2 * 1000 + 3 * 100);
    EXPECT_TRUE(simboard::plan_dial("").empty());
}

TEST(WavWriter, HeaderBytesAndSamples) {
    ScratchDir dir;
    std::string path = dir.file("a b.wav");
    simboard::WavWriter w;
    ASSERT_TRUE(w.open(path, 8000));
    const std::int16_t s1[] = {1, -2, 0x0A0D};
    ASSERT_TRUE(w.append(s1, 3));
    // Valid between appends: sizes already cover the first samples.
    auto mid = read_bytes(path);
    ASSERT_EQ(mid.size(), 44u + 6);
    EXPECT_EQ(le32(mid, 40), 6u);
    const std::int16_t s2[] = {32767, -32768};
    ASSERT_TRUE(w.append(s2, 2));
    EXPECT_FALSE(w.set_rate(11025));  // samples already written at 8000
    ASSERT_TRUE(w.finish());
    ASSERT_TRUE(w.finish());

    const unsigned char header[44] = {'R', 'I', 'F', 'F', 46, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                      16,  0,   0,   0,   1,  0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0,
                                      2,   0,   16,  0,   'd', 'a', 't', 'a', 10, 0, 0, 0};
    auto b = read_bytes(path);
    ASSERT_EQ(b.size(), 54u);
    EXPECT_EQ(std::memcmp(b.data(), header, 44), 0);
    // Little-endian samples; 0x0A0D must survive without a CR LF turn.
    const unsigned char data[10] = {1, 0, 0xFE, 0xFF, 0x0D, 0x0A, 0xFF, 0x7F, 0x00, 0x80};
    EXPECT_EQ(std::memcmp(b.data() + 44, data, 10), 0);
}

TEST(WavWriter, RateSetBeforeTheFirstSampleAndUnwritablePath) {
    ScratchDir dir;
    simboard::WavWriter w;
    ASSERT_TRUE(w.open(dir.file("r.wav"), 8000));
    ASSERT_TRUE(w.set_rate(11025));
    ASSERT_TRUE(w.finish());
    auto b = read_bytes(dir.file("r.wav"));
    ASSERT_EQ(b.size(), 44u);
    EXPECT_EQ(le32(b, 24), 11025u);
    EXPECT_EQ(le32(b, 28), 22050u);
    EXPECT_EQ(le32(b, 40), 0u);
    simboard::WavWriter bad;
    EXPECT_FALSE(bad.open(dir.file("no/such/folder/x.wav"), 8000));
    EXPECT_FALSE(bad.append(nullptr, 0));
}

}  // namespace
