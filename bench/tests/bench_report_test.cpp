// Result rows: tools/bench.sh splits them on tabs and lines, so a row must stay one row of
// six fields whatever a cell holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench_report.h"

namespace {

std::vector<std::string> fields(const std::string& row)
{
    std::vector<std::string> out;
    std::string field;
    for (char c : row) {
        if (c == '\t' || c == '\n') {
            out.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    return out;
}

TEST(BenchReport, ARowIsOneLineOfSixFields)
{
    struct Case {
        std::string area, measure, value, goal;
        zelbench::Verdict verdict;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"vox", "ratio", "2.5 x", ">= 2 x", zelbench::Verdict::met, {"ROW", "vox", "ratio", "2.5 x", ">= 2 x", "met"}},
        {"vox", "ratio", "1.5 x", ">= 2 x", zelbench::Verdict::missed, {"ROW", "vox", "ratio", "1.5 x", ">= 2 x", "MISSED"}},
        {"footprint", "size", "12 KiB", "", zelbench::Verdict::none, {"ROW", "footprint", "size", "12 KiB", "", ""}},
        // A Windows path with a tab, a message over two lines, a CR from a Windows console.
        {"a\tb", "C:\\voice\\x\ty.vox", "line one\nline two", "\r", zelbench::Verdict::none,
         {"ROW", "a b", "C:\\voice\\x y.vox", "line one line two", " ", ""}},
    };
    for (const Case& c : cases) {
        const std::string row = zelbench::format_row(c.area, c.measure, c.value, c.goal, c.verdict);
        ASSERT_FALSE(row.empty());
        EXPECT_EQ(row.back(), '\n');
        EXPECT_EQ(row.find('\n'), row.size() - 1) << "one line: " << row;
        EXPECT_EQ(fields(row), c.expected) << row;
    }
}

TEST(BenchReport, FixedKeepsTheAskedDecimals)
{
    EXPECT_EQ(zelbench::fixed(2.345, 2), "2.35");
    EXPECT_EQ(zelbench::fixed(1999.6, 0), "2000");
    EXPECT_EQ(zelbench::fixed(0.0004, 3), "0.000");
    EXPECT_EQ(zelbench::verdict_below(19.99, 20), zelbench::Verdict::met);
    EXPECT_EQ(zelbench::verdict_below(20, 20), zelbench::Verdict::missed) << "the goal is strictly under";
    EXPECT_EQ(zelbench::verdict_at_least(2, 2), zelbench::Verdict::met);
}

}  // namespace
