// The runtime start-up's portable rules: command file loading, rate codes, window
// placement, splash holds, the language list and report texts.
#include "command_file.h"
#include "languages.h"
#include "report_text.h"
#include "splash_hold.h"
#include "window_geometry.h"

#include "record_file.h"
#include "record_layout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using vorn::LoadOutcome;

// ---- command file ------------------------------------------------------------------

zel::ConfigRecord record_with(const char* validated, const char* vox_index)
{
    zel::ConfigRecord r = zel::default_record();
    zel::set_field(r, zel::Field::validated_flag, validated);
    zel::set_field(r, zel::Field::vox_type_index, vox_index);
    zel::set_field(r, zel::Field::open_greeting_vox, "C:\\voices\\open.vox");
    return r;
}

// A record that differs from anything a file could load, to see whether it was touched.
zel::ConfigRecord sentinel()
{
    zel::ConfigRecord r;
    r.bytes.fill('#');
    return r;
}

class CommandFile : public ::testing::Test {
protected:
    void TearDown() override { std::remove(path_.c_str()); }
    void write(const std::string& bytes)
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        std::fclose(f);
    }
    std::string path_ = "vornline_rules_test.cmd";
};

TEST_F(CommandFile, MissingFileIsUnreadable)
{
    zel::ConfigRecord r = sentinel();
    std::FILE* kept = reinterpret_cast<std::FILE*>(&r);
    EXPECT_EQ(vorn::load_command_file("no_such_file.cmd", r, &kept), LoadOutcome::unreadable);
    EXPECT_EQ(kept, nullptr);
    EXPECT_EQ(r, sentinel());
}

TEST_F(CommandFile, RefusesAnythingButAWholeValidatedRecord)
{
    const std::string whole = zel::to_disk(record_with("1", "2"));
    const std::string unvalidated = zel::to_disk(record_with("0", "2"));
    std::string early_eof = whole;
    early_eof[100] = '\x1a';  // a text-mode read ends at 0x1A
    std::string validated_late = unvalidated;
    struct Case {
        const char* name;
        std::string bytes;
        LoadOutcome want;
    } cases[] = {
        {"empty", "", LoadOutcome::unreadable},
        {"half a record", whole.substr(0, whole.size() / 2), LoadOutcome::unreadable},
        {"without its last line feed", whole.substr(0, whole.size() - 2), LoadOutcome::unreadable},
        {"ends at 0x1A", early_eof, LoadOutcome::unreadable},
        {"flag '0'", unvalidated, LoadOutcome::not_validated},
        {"flag empty", zel::to_disk(record_with("", "2")), LoadOutcome::not_validated},
        {"flag 'Y'", zel::to_disk(record_with("Y", "2")), LoadOutcome::not_validated},
        {"whole and validated", whole, LoadOutcome::loaded},
        {"validated, trailing bytes", whole + "extra", LoadOutcome::loaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.bytes);
        zel::ConfigRecord r = sentinel();
        std::FILE* kept = nullptr;
        EXPECT_EQ(vorn::load_command_file(path_.c_str(), r, &kept), c.want);
        if (c.want == LoadOutcome::loaded) {
            EXPECT_EQ(r, record_with("1", "2"));
            EXPECT_NE(kept, nullptr);
        } else {
            EXPECT_EQ(r, sentinel()) << "a refused file must leave the record alone";
            EXPECT_EQ(kept, nullptr);
        }
        if (kept) std::fclose(kept);
        // On Windows a file still open here could not be removed.
        EXPECT_EQ(std::remove(path_.c_str()), 0) << "the file was left open";
    }
}

TEST(RateCode, FollowsTheVoxTypeIndex)
{
    struct Case {
        const char* index_text;
        std::uint32_t code;
    } cases[] = {
        {"0", 48}, {"1", 48}, {"", 48}, {"2", 64}, {"3", 88}, {"4", 88}, {"5", 88},
        {"6", 88}, {"7", 0},  {"9", 0}, {"12", 0}, {"2 ", 64}, {"6x", 88}, {"99999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index_text);
        EXPECT_EQ(vorn::rate_code_for(record_with("1", c.index_text)), c.code);
    }
    EXPECT_EQ(vorn::rate_code_for_index(-1), 0u);
}

// ---- window placement -----------------------------------------------------------------

TEST(Placement, MainWindowFollowsTheScreenSize)
{
    struct Case {
        int w, h;
        vorn::Box want;
    } cases[] = {
        {1024, 768, {268, 37, 756, 731}},
        {1920, 1080, {716, 193, 1204, 887}},
        {800, 600, {156, -47, 644, 647}},
        {1025, 769, {268, 37, 756, 731}},  // halves round down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_EQ(vorn::main_window_box(c.w, c.h), c.want);
    }
}

TEST(Placement, ChannelWindowsSitSideBySideAlongTheTop)
{
    const vorn::Box want[] = {{80, 0, 160, 80}, {160, 0, 240, 80}, {240, 0, 320, 80}, {320, 0, 400, 80}};
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        EXPECT_EQ(vorn::channel_window_box(n), want[n]);
    }
}

TEST(Placement, SplashIsCentredAndStaysOnASmallScreen)
{
    EXPECT_EQ(vorn::centred_picture(1024, 768, 450, 597), (vorn::Box{287, 85, 737, 682}));
    EXPECT_EQ(vorn::centred_picture(450, 597, 450, 597), (vorn::Box{0, 0, 450, 597}));
    EXPECT_EQ(vorn::centred_picture(640, 480, 450, 597), (vorn::Box{95, 0, 545, 597}));
    EXPECT_EQ(vorn::centred_picture(320, 200, 450, 597), (vorn::Box{0, 0, 450, 597}));
}

TEST(Placement, AboutBoxIsCentredOverItsParentAndKeptOnScreen)
{
    const vorn::Box dialog{0, 0, 300, 150};
    struct Case {
        const char* name;
        vorn::Box parent;
        vorn::Box want;
    } cases[] = {
        {"centred", {268, 37, 756, 731}, {362, 309, 662, 459}},
        {"off the left and top", {-400, -600, 88, 94}, {0, 0, 300, 150}},
        {"off the right and bottom", {900, 700, 1388, 1394}, {724, 618, 1024, 768}},
        {"touching the right edge", {724, 0, 1024, 150}, {724, 0, 1024, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(vorn::centre_on_screen(dialog, c.parent, 1024, 768), c.want);
    }
    // Larger than the screen: its top-left corner stays visible.
    EXPECT_EQ(vorn::centre_on_screen({0, 0, 1200, 900}, {0, 0, 100, 100}, 1024, 768), (vorn::Box{0, 0, 1200, 900}));
}

// ---- splash holds ---------------------------------------------------------------------

struct FakeClock {
    std::uint32_t now;
    std::uint32_t step;
    int reads = 0;
    static std::uint32_t tick(void* self)
    {
        auto* c = static_cast<FakeClock*>(self);
        ++c->reads;
        std::uint32_t t = c->now;
        c->now += c->step;  // wraps like the real counter
        return t;
    }
};

TEST(SplashHold, OnlyTheWholeWordNoSplashWaitDropsTheHolds)
{
    const struct {
        const char* command_line;
        bool waits;
    } cases[] = {
        {nullptr, true},
        {"", true},
        {"/nosplashwait", false},
        {"/NoSplashWait", false},
        {"zel_system.cmd\t/nosplashwait  ", false},
        {"/nosplashwaits", true},
        {"x/nosplashwait", true},
        {"/nosplash wait", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command_line ? c.command_line : "(null)");
        EXPECT_EQ(vorn::splash_waits(c.command_line), c.waits);
    }
}

TEST(SplashHold, SkipsAHoldThatWouldWrapTheTickCounter)
{
    struct Case {
        std::uint32_t start;
        std::uint32_t hold;
        bool overflows;
    } cases[] = {
        {0, 2200, false},
        {0xFFFFFFFFu - 2200u, 2200, false},  // 2^32 - 2201: ends exactly at the last tick
        {0xFFFFFFFFu - 2199u, 2200, true},   // 2^32 - 2200
        {0xFFFFFFFFu, 2200, true},
        {0xFFFFFFFFu - 1800u, 1800, false},
        {0xFFFFFFFFu - 1799u, 1800, true},
        {0xFFFFFFFFu - 1799u, 2200, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        EXPECT_EQ(vorn::hold_would_overflow(c.start, c.hold), c.overflows);
        FakeClock clock{c.start, 100};
        bool held = vorn::hold(c.hold, FakeClock::tick, &clock);
        EXPECT_EQ(held, !c.overflows);
        if (c.overflows) {
            EXPECT_EQ(clock.reads, 1) << "a skipped hold reads the counter once";
        } else {
            // Reads every 100 ticks until the hold has passed: start, then hold/100 more.
            EXPECT_EQ(clock.reads, static_cast<int>(c.hold / 100) + 1);
        }
    }
}

// ---- language list --------------------------------------------------------------------

struct Pool {
    std::vector<vorn::Language> entries = std::vector<vorn::Language>(3);
    int calls = 0;
    int fail_call = -1;  // which allocation fails (0-based), -1 none
    const char* fault = nullptr;
    std::vector<std::string> reports;

    vorn::LanguageAllocator allocator()
    {
        return [this](const char** why) -> vorn::Language* {
            int n = calls++;
            if (n == fail_call || fail_call == 99) {
                if (fault) *why = fault;
                return nullptr;
            }
            return &entries[n];
        };
    }
    vorn::FaultReport reporter()
    {
        return [this](const char* text) { reports.emplace_back(text); };
    }
};

std::vector<std::string> names(const vorn::Language* head)
{
    std::vector<std::string> out;
    for (; head; head = head->next) out.push_back(std::string(head->name) + "|" + head->folder);
    return out;
}

TEST(Languages, ListReadsEnglishFrenchGermanAndLabelsAreEnglish)
{
    Pool pool;
    vorn::Language* head = vorn::build_language_list(pool.allocator(), pool.reporter());
    EXPECT_EQ(names(head), (std::vector<std::string>{"English|.\\English", "French|.\\French", "German|.\\German"}));
    EXPECT_TRUE(pool.reports.empty());
    vorn::ChannelLabels labels = vorn::channel_labels(head);
    for (int n = 0; n < vorn::kChannelCount; ++n) EXPECT_STREQ(labels.label[n], "English") << n;
}

TEST(Languages, AnEntryWithoutMemoryIsReportedAndLeftOut)
{
    struct Case {
        int fail_call;
        const char* fault;
        std::vector<std::string> list;
        const char* label;
        std::vector<std::string> reports;
    } cases[] = {
        {2, nullptr, {"French|.\\French", "German|.\\German"}, "French", {"Alloc Memory Failed"}},
        {0, "GlobalLock failed", {"English|.\\English", "French|.\\French"}, "English", {"GlobalLock failed"}},
        {99, nullptr, {}, "", {"Alloc Memory Failed", "Alloc Memory Failed", "Alloc Memory Failed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail_call);
        Pool pool;
        pool.fail_call = c.fail_call;
        pool.fault = c.fault;
        vorn::Language* head = vorn::build_language_list(pool.allocator(), pool.reporter());
        EXPECT_EQ(names(head), c.list);
        EXPECT_EQ(pool.reports, c.reports);
        EXPECT_STREQ(vorn::channel_labels(head).label[3], c.label);
    }
}

// ---- report texts ---------------------------------------------------------------------

TEST(ReportText, IsCutAt255CharactersAndKeepsOutsideTextLiteral)
{
    std::string long_name(300, 'x');
    std::string text = vorn::format_report("LoadBitmap failed  %s", long_name.c_str());
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(0, 19), "LoadBitmap failed  ");

    // Placeholders inside an argument are shown, not expanded.
    EXPECT_EQ(vorn::format_report("LoadBitmap failed  %s", "%s%n%d"), "LoadBitmap failed  %s%n%d");
    EXPECT_EQ(vorn::format_report("ERROR: dx_wtring failed. errno = %d\n,Please", 22),
              "ERROR: dx_wtring failed. errno = 22\n,Please");
    EXPECT_EQ(vorn::format_report("%s", std::string(255, 'y').c_str()).size(), 255u);
    EXPECT_EQ(vorn::format_report("%s", std::string(254, 'y').c_str()).size(), 254u);
}

}  // namespace
