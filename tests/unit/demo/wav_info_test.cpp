// WAV headers: the board's own recorder's files, and the shapes a reader must not trust.
#include "wav_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "wav_writer.h"

namespace demo {
namespace {

void put32(std::string& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& b, unsigned v)
{
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}

std::string fmt_chunk(unsigned channels, std::uint32_t rate, unsigned bits)
{
    std::string c = "fmt ";
    put32(c, 16);
    put16(c, 1);
    put16(c, channels);
    put32(c, rate);
    put32(c, rate * channels * bits / 8);
    put16(c, channels * bits / 8);
    put16(c, bits);
    return c;
}

std::string chunk(const char* id, const std::string& body)
{
    std::string c = id;
    put32(c, static_cast<std::uint32_t>(body.size()));
    return c + body;
}

std::string riff(const std::string& chunks)
{
    std::string b = "RIFF";
    put32(b, static_cast<std::uint32_t>(4 + chunks.size()));
    return b + "WAVE" + chunks;
}

TEST(WavInfo, ReadsTheBoardsOwnRecordings)
{
    const std::string path = testing::TempDir() + "demo_wav_info_board.wav";
    const struct {
        std::uint32_t rate;
        std::size_t samples;
    } cases[] = {{8000, 16000}, {6000, 1}, {11025, 11025 * 3}, {8000, 0}};
    for (const auto& c : cases) {
        simboard::WavWriter w;
        ASSERT_TRUE(w.open(path, c.rate));
        const std::vector<std::int16_t> samples(c.samples, 1234);
        if (c.samples > 0) {
            ASSERT_TRUE(w.append(samples.data(), samples.size()));
        }
        ASSERT_TRUE(w.finish());
        const WavInfo info = read_wav(path);
        ASSERT_TRUE(info.ok) << info.problem;
        EXPECT_EQ(info.format, 1);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.bits, 16);
        EXPECT_EQ(info.rate, static_cast<long>(c.rate));
        EXPECT_EQ(info.data_bytes, 2 * c.samples);
        EXPECT_DOUBLE_EQ(info.seconds(), static_cast<double>(c.samples) / c.rate);
    }
    std::remove(path.c_str());
}

TEST(WavInfo, SkipsOtherChunksAndTrustsOnlyWhatTheFileHolds)
{
    const std::string pcm(800, '\0');
    struct Case {
        const char* label;
        std::string bytes;
        bool ok;
        std::uint64_t data;
    } cases[] = {
        {"plain", riff(fmt_chunk(1, 8000, 16) + chunk("data", pcm)), true, 800},
        // An odd-sized chunk is followed by a pad byte.
        {"a chunk before the data", riff(fmt_chunk(1, 8000, 16) + chunk("LIST", "abc") + std::string(1, '\0') +
                                         chunk("data", pcm)), true, 800},
        {"declared longer than held", riff(fmt_chunk(1, 8000, 16) + chunk("data", pcm)).substr(0, 44 + 100), true, 100},
        {"not RIFF", "RIFX" + riff(fmt_chunk(1, 8000, 16)).substr(4), false, 0},
        {"data before fmt", riff(chunk("data", pcm) + fmt_chunk(1, 8000, 16)), false, 0},
        {"no data", riff(fmt_chunk(1, 8000, 16)), false, 0},
        {"short fmt", riff(chunk("fmt ", "abcd") + chunk("data", pcm)), false, 0},
        {"empty", "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const WavInfo info = parse_wav(c.bytes);
        EXPECT_EQ(info.ok, c.ok) << info.problem;
        EXPECT_EQ(info.data_bytes, c.data);
        if (!c.ok) {
            EXPECT_FALSE(info.problem.empty());
        }
    }
    EXPECT_DOUBLE_EQ(parse_wav(riff(fmt_chunk(1, 8000, 16) + chunk("data", pcm))).seconds(), 0.05);
}

TEST(WavInfo, AMissingFileIsNotARecording)
{
    const WavInfo info = read_wav(testing::TempDir() + "demo_wav_info_no_such_file.wav");
    EXPECT_FALSE(info.ok);
    EXPECT_EQ(file_size(testing::TempDir() + "demo_wav_info_no_such_file.wav"), -1);
}

}  // namespace
}  // namespace demo
