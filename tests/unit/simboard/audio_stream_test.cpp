// Several controllers at once, and the audio lines: what a line plays, streamed as samples
// in real time to the controllers that ask for it.
#include "audio_line.h"
#include "board_fixture.h"
#include "board_host.h"
#include "line_controller.h"
#include "vox_decoder.h"

#include <gtest/gtest.h>

#include <future>
#include <sstream>

namespace {

using namespace boardtest;

TEST(AudioLine, GoldenBytesAndRoundTripsOfEveryRemainder) {
    const std::int16_t two[] = {0x0102, -1};
    EXPECT_EQ(simboard::format_audio_line(3, 8000, two, 2), "audio 3 8000 AgH//w==");
    for (std::size_t n : {0u, 1u, 2u, 3u, 160u, 220u}) {
        std::vector<std::int16_t> in(n);
        for (std::size_t i = 0; i < n; ++i) in[i] = static_cast<std::int16_t>(i * 4099 - 32768);
        std::string line = simboard::format_audio_line(1, 11025, in.data(), n);
        std::vector<std::int16_t> out;
        ASSERT_TRUE(simboard::decode_audio_samples(line.substr(line.rfind(' ') + 1), out)) << n;
        EXPECT_EQ(out, in) << n;
    }
}

TEST(AudioLine, BrokenPayloadsAreRefused) {
    std::vector<std::int16_t> out;
    for (const char* bad : {"AgH", "AgH!/w==", "Ag==AgH/", "AQ==", "A===", "AgH//w=A"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(simboard::decode_audio_samples(bad, out));
    }
}

class TwoControllerTest : public ::testing::Test {
protected:
    explicit TwoControllerTest(double speed = 1) : host_(config(speed)) {
        host_.start();
        EXPECT_TRUE(host_.server().wait_listening(5s));
        port_ = host_.server().port();
    }
    static simboard::BoardConfig config(double speed) {
        simboard::BoardConfig c;
        c.port = 0;
        c.speed = speed;
        return c;
    }
    simboard::BoardHost host_;
    int port_ = 0;
    ScratchDir dir_;
};

TEST_F(TwoControllerTest, EveryControllerSeesEveryEventAndEitherCanDriveTheLines) {
    zeltest::LineController a, b;
    ASSERT_TRUE(a.connect(port_, 5s));
    ASSERT_TRUE(b.connect(port_, 5s));
    ASSERT_TRUE(a.send("ring 2 3"));
    ASSERT_TRUE(b.send("ring 9 1"));  // refused: both see why
    for (auto* lc : {&a, &b}) EXPECT_TRUE(lc->expect("error line must be 1 to 4: ring 9 1", 2s));
    int h = host_.board().open("dxxxB1C2", 0);
    ASSERT_GT(h, 0);
    ASSERT_EQ(host_.board().wtring(h, 1, VL_OFFHOOK, 5), 0);
    for (auto* lc : {&a, &b}) {
        EXPECT_TRUE(lc->expect("open dxxxB1C2", 2s));
        EXPECT_TRUE(lc->expect("answer 2", 2s));
    }
    // One connection's lines are taken in order; two connections' lines are not.
    ASSERT_TRUE(b.send("hangup 2"));
    ASSERT_TRUE(b.send("status"));
    for (auto* lc : {&a, &b}) EXPECT_TRUE(lc->expect("status 2 dead", 2s));
    // One leaving takes nothing from the other.
    a.close();
    EXPECT_EQ(host_.board().close(h), 0);
    EXPECT_TRUE(b.expect("close dxxxB1C2", 2s));
}

TEST_F(TwoControllerTest, AudioGoesOnlyToWhoAskedAndCarriesThePlayInRealTime) {
    zeltest::LineController listener, watcher;
    ASSERT_TRUE(listener.connect(port_, 5s));
    ASSERT_TRUE(watcher.connect(port_, 5s));
    ASSERT_TRUE(listener.send("audio on"));
    ASSERT_TRUE(listener.send("status"));  // in order: audio is on once this comes back
    ASSERT_TRUE(listener.expect("status 4", 2s));
    const std::string file = dir_.vox("greeting.vox", 1500);  // 3000 samples at 6 kHz: 0.5 s
    int h = host_.board().open("dxxxB1C1", 0);
    ASSERT_TRUE(listener.send("ring 1 1"));
    ASSERT_EQ(host_.board().wtring(h, 1, VL_OFFHOOK, 5), 0);
    VlPlayFormat f = play_format(VL_RATE_6K);
    ASSERT_EQ(host_.board().play_file(h, file.c_str(), kPlayTable, &f, 0), 0);
    ASSERT_TRUE(listener.expect("playend 1 512", 2s));
    ASSERT_TRUE(watcher.expect("playend 1 512", 2s));
    EXPECT_TRUE(watcher.expect_none("audio", 50ms));

    std::vector<std::int16_t> heard;
    long first_ms = -1, last_ms = -1, play_ms = -1;
    for (const zeltest::BoardEvent& e : listener.events()) {
        if (e.text.rfind("play 1 ", 0) == 0) play_ms = e.ms;
        if (e.text.rfind("audio ", 0) != 0) continue;
        std::istringstream words(e.text);
        std::string word, payload;
        int line = 0, rate = 0;
        words >> word >> line >> rate >> payload;
        EXPECT_EQ(line, 1);
        EXPECT_EQ(rate, 6000);
        std::vector<std::int16_t> chunk;
        ASSERT_TRUE(simboard::decode_audio_samples(payload, chunk)) << e.text;
        EXPECT_LE(chunk.size(), simboard::audio_chunk_samples(6000));
        heard.insert(heard.end(), chunk.begin(), chunk.end());
        if (first_ms < 0) first_ms = e.ms;
        last_ms = e.ms;
    }
    std::vector<std::uint8_t> bytes(1500);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 37 + 11) & 0xFF);
    EXPECT_EQ(heard, simboard::decode_vox(bytes));
    // The first chunk goes with the play's start, the last one 20 ms before its end.
    ASSERT_GE(play_ms, 0);
    EXPECT_LE(first_ms - play_ms, 10);
    EXPECT_NEAR(static_cast<double>(last_ms - first_ms), 480.0, 40.0);
    EXPECT_EQ(host_.board().close(h), 0);
}

TEST_F(TwoControllerTest, TooManyControllersAreToldSo) {
    std::vector<std::unique_ptr<zeltest::LineController>> all;
    for (int i = 0; i < simboard::ControlServer::kMaxControllers; ++i) {
        all.push_back(std::make_unique<zeltest::LineController>());
        ASSERT_TRUE(all.back()->connect(port_, 5s)) << i;
    }
    zeltest::LineController extra;
    EXPECT_FALSE(extra.connect(port_, 1s));
    all.pop_back();
    // The place is free once the board has seen the controller leave.
    bool served = false;
    for (int attempt = 0; attempt < 10 && !served; ++attempt) {
        zeltest::LineController next;
        served = next.connect(port_, 1s);
    }
    EXPECT_TRUE(served);
}

class FastBoardAudioTest : public TwoControllerTest {
protected:
    FastBoardAudioTest() : TwoControllerTest(10) {}
};

TEST_F(FastBoardAudioTest, AudioIsRefusedAwayFromRealSpeed) {
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(port_, 5s));
    ASSERT_TRUE(lc.send("audio on"));
    EXPECT_TRUE(lc.expect("error audio needs board speed 1: audio on", 2s));
}

}  // namespace
