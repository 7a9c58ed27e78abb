// The recent-file list: newest first, no duplicates by case-blind path, bounded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/recent_file_list.h"

using zf::RecentFileList;
using Paths = std::vector<std::string>;

TEST(RecentFileList, AddKeepsNewestFirstWithoutDuplicatesUpToCapacity)
{
    const struct {
        const char* name;
        Paths added;
        Paths expected;
    } cases[] = {
        {"one", {"C:\\a.cfg"}, {"C:\\a.cfg"}},
        {"newest first", {"C:\\a", "C:\\b", "C:\\c"}, {"C:\\c", "C:\\b", "C:\\a"}},
        {"oldest dropped", {"1", "2", "3", "4", "5"}, {"5", "4", "3", "2"}},
        {"again moves to front", {"C:\\a", "C:\\b", "C:\\a"}, {"C:\\a", "C:\\b"}},
        {"letter case is the same path", {"C:\\Plans\\A.cfg", "c:\\plans\\a.CFG"}, {"c:\\plans\\a.CFG"}},
        {"empty ignored", {"", "C:\\a", ""}, {"C:\\a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecentFileList list(4);
        for (const std::string& p : c.added) list.Add(p);
        EXPECT_EQ(c.expected, list.entries());
    }
}

TEST(RecentFileList, LoadSkipsGapsAndDuplicatesAndStopsAtCapacity)
{
    RecentFileList list(3);
    list.Load({"", "C:\\a", "C:\\A", "C:\\b", "C:\\c", "C:\\d"});
    EXPECT_EQ((Paths{"C:\\a", "C:\\b", "C:\\c"}), list.entries());
    list.Remove(1);
    EXPECT_EQ((Paths{"C:\\a", "C:\\c"}), list.entries());
    list.Remove(7);
    EXPECT_EQ(2u, list.entries().size());
    EXPECT_EQ("File1", RecentFileList::EntryName(0));
    EXPECT_EQ("File4", RecentFileList::EntryName(3));
}

TEST(RecentFileList, NoCapacityHoldsNothing)
{
    RecentFileList list(0);
    list.Add("C:\\a");
    EXPECT_TRUE(list.entries().empty());
}
