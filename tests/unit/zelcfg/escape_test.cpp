// The escaped one-line form of field bytes: what dump prints, set must read back.
#include <gtest/gtest.h>

#include <string>

#include "escape.h"

TEST(Escape, ShowsEveryByteOutsidePrintableAsciiAsHex)
{
    const struct {
        std::string raw;
        const char* shown;
    } cases[] = {
        {"Open Greeting:", "Open Greeting:"},
        {" ~", " ~"},
        {"C:\\voice\\a.vox", "C:\\\\voice\\\\a.vox"},
        {"\x80\xff", "\\x80\\xff"},
        {"\x7f\x1f", "\\x7f\\x1f"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\xe9t\xe9", "\\xe9t\\xe9"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, zelcfg::escape_bytes(c.raw)) << c.shown;
}

TEST(Escape, ReadsEscapesBackAndRejectsMalformedOnes)
{
    const struct {
        const char* text;
        bool ok;
        std::string bytes;  // when ok
    } cases[] = {
        {"plain", true, "plain"},
        {"\\\\", true, "\\"},
        {"\\x80\\xFF\\xaB", true, "\x80\xff\xab"},
        {"C:\\\\v\\\\x.vox", true, "C:\\v\\x.vox"},
        {"\\x410", true, "A0"},
        {"\\", false, ""},
        {"abc\\", false, ""},
        {"\\x", false, ""},
        {"\\x4", false, ""},
        {"\\xg0", false, ""},
        {"\\X41", false, ""},
        {"C:\\voice", false, ""},
        {"\\n", false, ""},
    };
    for (const auto& c : cases) {
        std::string bytes;
        std::string problem;
        EXPECT_EQ(c.ok, zelcfg::unescape_bytes(c.text, bytes, problem)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.bytes, bytes) << c.text;
        } else {
            EXPECT_FALSE(problem.empty()) << c.text;
        }
    }
}

TEST(Escape, EveryByteRoundTripsAndTheShownFormIsPrintableAscii)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string shown = zelcfg::escape_bytes(all);
    for (char c : shown) {
        EXPECT_TRUE(c >= 0x20 && c <= 0x7e) << static_cast<int>(static_cast<unsigned char>(c));
    }
    std::string back;
    std::string problem;
    ASSERT_TRUE(zelcfg::unescape_bytes(shown, back, problem)) << problem;
    EXPECT_EQ(all, back);
}
