// VOX decoding against sox: committed fixtures made by sox (both builds), and natively a
// fresh round through espeak-ng and sox at test time.
#include "vox_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> load(const std::string& path) {
    std::vector<std::uint8_t> out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    int c;
    while ((c = std::fgetc(f)) != EOF) out.push_back(static_cast<std::uint8_t>(c));
    std::fclose(f);
    return out;
}

std::vector<std::int16_t> load_s16(const std::string& path) {
    std::vector<std::uint8_t> b = load(path);
    std::vector<std::int16_t> out(b.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
    return out;
}

// Index of the first difference, or -1.
long first_difference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

struct Fixture {
    const char* name;
    bool clips;  // sox's output touches both -32768 and 32767
};

const Fixture kFixtures[] = {
    {"speech_6000", false}, {"speech_8000", false}, {"speech_11025", false}, {"random", true}, {"clip", true},
};

TEST(VoxDecoder, MatchesSoxOnEveryFixture) {
    for (const Fixture& f : kFixtures) {
        SCOPED_TRACE(f.name);
        std::string base = std::string(SIMBOARD_VOX_FIXTURES) + "/" + f.name;
        std::vector<std::uint8_t> vox = load(base + ".vox");
        std::vector<std::int16_t> sox = load_s16(base + ".s16");
        ASSERT_FALSE(vox.empty()) << base << ".vox";
        ASSERT_EQ(sox.size(), 2 * vox.size());
        std::vector<std::int16_t> ours = simboard::decode_vox(vox);
        long at = first_difference(ours, sox);
        EXPECT_EQ(at, -1) << "first difference at sample " << at << ": ours " << ours[at] << ", sox " << sox[at];
        if (f.clips) {
            // The fixture really exercises both limits, where rounding variants part ways.
            EXPECT_NE(std::find(sox.begin(), sox.end(), 32767), sox.end());
            EXPECT_NE(std::find(sox.begin(), sox.end(), -32768), sox.end());
        }
    }
}

TEST(VoxDecoder, HandWorkedCodes) {
    // Index 0 (step 16): code 7 adds (16*16*15>>3)&~15 = 480, index 8 (step 34);
    // code 7 again adds (16*34*15>>3)&~15 = 1020&~15 = 1008, index 16 (step 73);
    // code 8 (sign set, magnitude 0) subtracts (16*73*1>>3)&~15 = 146&~15 = 144.
    simboard::VoxDecoder d;
    EXPECT_EQ(d.next(0x7), 480);
    EXPECT_EQ(d.next(0x7), 480 + 1008);
    EXPECT_EQ(d.next(0x8), 480 + 1008 - 144);
}

TEST(VoxDecoder, StateCarriesAcrossCallsAndHighNibbleComesFirst) {
    std::vector<std::uint8_t> bytes = {0x70, 0x07, 0xF8};
    std::vector<std::int16_t> whole = simboard::decode_vox(bytes);
    simboard::VoxDecoder d;
    std::vector<std::int16_t> parts;
    d.decode(bytes.data(), 1, parts);
    d.decode(bytes.data() + 1, 2, parts);
    EXPECT_EQ(parts, whole);
    simboard::VoxDecoder by_nibble;
    std::vector<std::int16_t> manual;
    for (std::uint8_t code : {0x7, 0x0, 0x0, 0x7, 0xF, 0x8}) manual.push_back(by_nibble.next(code));
    EXPECT_EQ(manual, whole);
}

#if defined(SIMBOARD_SOX) && defined(SIMBOARD_ESPEAK)
}  // namespace
#include <unistd.h>
namespace {
// Fresh speech each run, so the committed fixtures are not the only evidence.
TEST(VoxDecoder, MatchesSoxOnFreshSpeech) {
    auto dir = std::filesystem::temp_directory_path() / ("simboard-sox-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string d = dir.string();
    std::string speech = d + "/speech.wav";
    std::string say = std::string(SIMBOARD_ESPEAK) + " -w '" + speech + "' 'Press one for sales, two for support'";
    ASSERT_EQ(std::system(say.c_str()), 0) << say;
    for (int rate : {6000, 8000, 11025}) {
        SCOPED_TRACE(rate);
        std::string r = std::to_string(rate);
        std::string vox = d + "/s" + r + ".vox", raw = d + "/s" + r + ".s16";
        std::string enc = std::string(SIMBOARD_SOX) + " -D '" + speech + "' -r " + r + " -c 1 '" + vox + "'";
        std::string dec = std::string(SIMBOARD_SOX) + " -t vox -r " + r + " '" + vox + "' -t raw -e signed -b 16 -L '" +
                          raw + "' 2>/dev/null";
        ASSERT_EQ(std::system(enc.c_str()), 0) << enc;
        ASSERT_EQ(std::system(dec.c_str()), 0) << dec;
        std::vector<std::uint8_t> bytes = load(vox);
        std::vector<std::int16_t> sox = load_s16(raw);
        ASSERT_GT(bytes.size(), 1000u);
        std::vector<std::int16_t> ours = simboard::decode_vox(bytes);
        EXPECT_EQ(first_difference(ours, sox), -1);
    }
    std::filesystem::remove_all(dir);
}
#endif

}  // namespace
