// What a caller hears: the board's chunks, resampled and framed for RTP.
#include "outgoing_audio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using namespace zelgate;

std::vector<std::int16_t> tone(int rate, std::size_t n, double hz = 440) {
    std::vector<std::int16_t> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * hz * i / rate));
    return out;
}

TEST(G711, EncodesLikeTheStandardTables) {
    // Golden points of G.711: silence, and the extremes of each law.
    std::int16_t pcm[] = {0, 32767, -32768};
    std::uint8_t u[3], a[3];
    g711_encode(Codec::Pcmu, pcm, 3, u);
    g711_encode(Codec::Pcma, pcm, 3, a);
    EXPECT_EQ(u[0], 0xFF);
    EXPECT_EQ(u[1], 0x80);
    EXPECT_EQ(u[2], 0x00);
    EXPECT_EQ(a[0], 0xD5);
    EXPECT_EQ(a[1], 0xAA);
    EXPECT_EQ(a[2], 0x2A);
}

TEST(OutgoingAudio, SilenceUntilAPlayThenTheSamplesThenSilenceAgain) {
    OutgoingAudio out(Codec::Pcmu);
    EXPECT_FALSE(out.next(0).audio);
    auto t = tone(8000, 480);
    std::uint64_t now = 100;
    out.push(8000, t.data(), 160, now);
    // Only 10 ms after the chunk came: too little in hand to start the play.
    auto f = out.next(now + 10);
    EXPECT_FALSE(f.audio);
    f = out.next(now + 16);
    ASSERT_TRUE(f.audio);
    EXPECT_TRUE(f.marker);
    std::uint8_t want[kFrameSamples];
    g711_encode(Codec::Pcmu, t.data(), kFrameSamples, want);
    EXPECT_EQ(0, std::memcmp(f.payload, want, kFrameSamples));
    out.push(8000, t.data() + 160, 160, now + 20);
    f = out.next(now + 36);
    EXPECT_TRUE(f.audio);
    EXPECT_FALSE(f.marker);
    g711_encode(Codec::Pcmu, t.data() + 160, kFrameSamples, want);
    EXPECT_EQ(0, std::memcmp(f.payload, want, kFrameSamples));
    f = out.next(now + 56);  // the play is over
    EXPECT_FALSE(f.audio);
    for (std::uint8_t b : f.payload) EXPECT_EQ(b, 0xFF);
    out.push(8000, t.data(), 160, now + 60);
    out.push(8000, t.data(), 160, now + 61);
    EXPECT_TRUE(out.next(now + 62).marker);  // two frames in hand: no need to wait
}

TEST(OutgoingAudio, OtherRatesComeOutAt8kHzWithTheirLength) {
    for (int rate : {6000, 11025}) {
        SCOPED_TRACE(rate);
        OutgoingAudio out(Codec::Pcma);
        const std::size_t chunk = static_cast<std::size_t>(rate / 50);
        auto t = tone(rate, chunk * 50);  // one second
        int audio_frames = 0;
        std::uint64_t now = 0;
        for (std::size_t at = 0; at < t.size(); at += chunk, now += 20) {
            out.push(rate, t.data() + at, chunk, now);
            if (out.next(now + 16).audio) ++audio_frames;
        }
        for (int i = 0; i < 5; ++i, now += 20)
            if (out.next(now + 16).audio) ++audio_frames;
        // One second of audio is fifty frames; the resampler's filter may hold back a few
        // samples, never a frame's worth.
        EXPECT_GE(audio_frames, 49);
        EXPECT_LE(audio_frames, 51);
    }
}

}  // namespace
