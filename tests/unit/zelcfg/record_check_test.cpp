// The soundness check of record files: each kind of damage is found once, at the file
// offset where it is. Offsets below are worked out from the record's published layout
// (a line's disk offset is its image offset plus one CR for each line before it).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "config_record.h"
#include "record_check.h"
#include "record_file.h"

namespace {

const std::string& good_disk()
{
    static const std::string disk = zel::to_disk(zel::default_record());
    return disk;
}

// Disk offsets of a few slots: image offset + lines before it.
constexpr std::size_t kInfo2Text = 71 + 1;                            // info_line_2
constexpr std::size_t kHolidayLabel0 = 1288 + 11;                     // holiday_label[0]
constexpr std::size_t kRouteVox3 = 12792 + 280 * 3 + 31 + 135;        // route_vox[3]
constexpr std::size_t kRoutePort0 = 12792 + 159 + 132;                // route_port[0]
constexpr std::size_t kDayName6 = 12022 + 110 * 6 + 25 + 131;         // day_name[6]
constexpr std::size_t kRouteLabel59 = 12792 + 280 * 59 + 191;         // route_label[59]
constexpr std::size_t kLastCr = 30247;

std::string replaced(std::size_t at, const std::string& bytes)
{
    std::string d = good_disk();
    d.replace(at, bytes.size(), bytes);
    return d;
}

std::string inserted(std::size_t at, const std::string& bytes)
{
    std::string d = good_disk();
    d.insert(at, bytes);
    return d;
}

std::string erased(std::size_t at, std::size_t n)
{
    std::string d = good_disk();
    d.erase(at, n);
    return d;
}

bool has_finding(const zelcfg::CheckReport& r, std::size_t offset, const std::string& part)
{
    for (const zelcfg::Finding& f : r.findings) {
        if (f.offset == offset && f.text.find(part) != std::string::npos) return true;
    }
    return false;
}

std::string listing(const zelcfg::CheckReport& r)
{
    std::string s;
    for (const zelcfg::Finding& f : r.findings) s += "  " + std::to_string(f.offset) + ": " + f.text + "\n";
    return s;
}

}  // namespace

TEST(RecordCheck, ADefaultRecordFileIsSound)
{
    ASSERT_EQ(30249u, good_disk().size());
    const zelcfg::CheckReport r = zelcfg::check_disk_bytes(good_disk());
    EXPECT_TRUE(r.sound()) << listing(r);
    EXPECT_TRUE(r.structure_sound);
}

TEST(RecordCheck, FindsEachDamageAtItsOffset)
{
    // The finding each damaged file must contain; `structural` tells whether a rewrite
    // of the file could no longer be trusted.
    const struct {
        const char* name;
        std::string disk;
        std::size_t offset;
        const char* part;
        bool structural;
    } cases[] = {
        {"empty file", "", 0, "ends after 0 bytes", true},
        {"short file", good_disk().substr(0, 20000), 20000, "ends after 20000 bytes", true},
        {"short file, cut line", good_disk().substr(0, 20000), 20000, "is cut off", true},
        {"last CR LF missing", good_disk().substr(0, kLastCr), kLastCr, "ends after 30247 bytes", true},
        {"0x1A in a field", replaced(kRouteVox3, "\x1a"), kRouteVox3, "0x1A", true},
        {"0x1A for a CR", replaced(70, "\x1a"), 70, "0x1A", true},
        {"0x1A for a CR, line end", replaced(70, "\x1a"), 71, "LF without CR", true},
        {"missing CR", erased(70, 1), 70, "LF without CR", true},
        {"missing CR, size", erased(70, 1), 30248, "ends after 30248 bytes", true},
        {"missing CR at the end", erased(kLastCr, 1), kLastCr, "LF without CR", true},
        {"bare LF in a field", inserted(kInfo2Text + 5, "\n"), kInfo2Text + 5, "LF without CR", true},
        {"bare LF in a field, line", inserted(kInfo2Text + 5, "\n"), kInfo2Text + 5,
         "line 2 (info_line_2) ends after 5 of its 70 bytes", true},
        {"bare LF for a field byte", replaced(kRoutePort0 + 3, "\n"), kRoutePort0 + 3, "LF without CR", true},
        {"bare CR in a field", replaced(kRoutePort0, "\r"), kRoutePort0, "CR without LF", true},
        {"CR LF in a field", replaced(kRoutePort0, "\r\n"), kRoutePort0, "(route[0]) ends after 159", true},
        {"a byte lost in a line", erased(kHolidayLabel0, 1), 1288 + 11 + 59, "(holiday[0]) ends after 59 of its 60",
         true},
        {"trailing byte", good_disk() + "x", 30249, "1 bytes beyond", true},
        {"trailing line", good_disk() + "\r\n", 30249, "a line end after the last line", true},
        {"no NUL in a slot", replaced(kDayName6, "XXXXXX"), kDayName6, "day_name[6] has no NUL in its 6-byte slot",
         false},
        {"wrong route label", replaced(kRouteLabel59, "trans 58"), kRouteLabel59,
         "route_label[59] is \"trans 58\", expected \"trans 59\"", false},
        {"missing label", replaced(kHolidayLabel0, std::string(12, '\0')), kHolidayLabel0,
         "holiday_label[0] is \"\", expected \"Holiday Cls:\"", false},
        {"label of the last line", replaced(29900 + 194, std::string("Holiday Open:\0\0", 15)), 29900 + 194,
         "holiday_greeting_label is \"Holiday Open:\"", false},
    };
    for (const auto& c : cases) {
        const zelcfg::CheckReport r = zelcfg::check_disk_bytes(c.disk);
        EXPECT_FALSE(r.sound()) << c.name;
        EXPECT_EQ(!c.structural, r.structure_sound) << c.name << "\n" << listing(r);
        EXPECT_TRUE(has_finding(r, c.offset, c.part)) << c.name << ": no finding at " << c.offset << " with \""
                                                      << c.part << "\"; found:\n"
                                                      << listing(r);
    }
}

TEST(RecordCheck, ReportsOneDamageOnceRatherThanAsAShiftOfEveryLaterLine)
{
    // A missing CR keeps every line intact: two findings (the LF and the size), no more.
    const zelcfg::CheckReport missing_cr = zelcfg::check_disk_bytes(erased(70, 1));
    EXPECT_EQ(2u, missing_cr.findings.size()) << listing(missing_cr);
    // An extra LF in a line: the stray byte, the broken line and the size.
    EXPECT_EQ(3u, zelcfg::check_disk_bytes(inserted(kInfo2Text + 5, "\n")).findings.size());
}

TEST(RecordCheck, CapsTheFindingsOfAHopelessFile)
{
    const zelcfg::CheckReport r = zelcfg::check_disk_bytes(std::string(30249, '\x1a'));
    EXPECT_EQ(zelcfg::kMaxFindings, r.findings.size());
    EXPECT_GT(r.omitted, 30000u);
    EXPECT_FALSE(r.structure_sound);
}
