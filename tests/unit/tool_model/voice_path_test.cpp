// The chooser's path list, the open-file dialog's result, and the decision a dialog takes
// on a chosen voice (set, keep on an empty selection, refuse a path over its limit).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "voice_path.h"

using zel::VoiceChoice;
using zel::VoicePathList;

namespace {

std::string path_of_length(std::size_t n)
{
    std::string p = "C:\\";
    while (p.size() + 4 < n) p.push_back('v');
    p += ".vox";
    return p.substr(0, n);
}

}  // namespace

TEST(VoicePathList, StartsEmptyAndGivesNothing)
{
    VoicePathList list;
    EXPECT_EQ(0u, list.count());
    EXPECT_TRUE(list.block().empty());
    EXPECT_TRUE(list.first_path().empty());
    VoicePathList::Position pos = list.first_position();
    EXPECT_TRUE(pos.none());
    EXPECT_EQ("", list.next_path(pos));
    EXPECT_TRUE(pos.none());
    EXPECT_EQ("", zel::join_selection(list));
}

TEST(VoicePathList, BlockHoldsEachPathWithItsNulAndAnEndingNul)
{
    const std::vector<std::vector<std::string>> cases = {
        {"C:\\Voice\\Open.vox"},
        {"C:\\Voice\\A.vox", "C:\\Voice\\Bee.vox"},
        {"D:\\x.vox", "D:\\y.vox", "D:\\zz\\z.vox"},
    };
    for (const auto& paths : cases) {
        VoicePathList list;
        list.assign(paths);
        std::string expected;
        for (const std::string& p : paths) expected += p + std::string(1, '\0');
        expected.push_back('\0');
        EXPECT_EQ(expected, list.block());
        EXPECT_EQ(paths.size(), list.count());
        EXPECT_EQ(paths.front(), list.first_path());

        std::vector<std::string> walked;
        VoicePathList::Position pos = list.first_position();
        while (!pos.none()) walked.push_back(list.next_path(pos));
        EXPECT_EQ(paths, walked);
    }
}

TEST(VoicePathList, EmptyPathsAreSkippedAndAnEmptyChoiceEmptiesTheList)
{
    VoicePathList list;
    list.assign({"", "C:\\a.vox", ""});
    EXPECT_EQ(1u, list.count());
    EXPECT_EQ(std::string("C:\\a.vox\0\0", 10), list.block());

    list.assign({});
    EXPECT_EQ(0u, list.count());
    EXPECT_TRUE(list.first_position().none());
}

TEST(VoicePathList, ForeignStaleAndMisplacedPositionsGiveNothing)
{
    VoicePathList a;
    VoicePathList b;
    a.assign({"C:\\one.vox", "C:\\two.vox"});
    b.assign({"C:\\one.vox", "C:\\two.vox"});

    struct Case {
        const char* what;
        VoicePathList::Position pos;
    };
    VoicePathList::Position from_b = b.first_position();
    VoicePathList::Position mid_path = a.first_position();
    mid_path.offset = 3;
    VoicePathList::Position at_end = a.first_position();
    at_end.offset = a.block().size() - 1;
    VoicePathList::Position past_end = a.first_position();
    past_end.offset = a.block().size() + 5;
    VoicePathList::Position stale = a.first_position();
    const std::vector<Case> cases = {
        {"another list's position", from_b},
        {"an offset inside a path", mid_path},
        {"the ending NUL", at_end},
        {"past the block", past_end},
    };
    for (Case c : cases) {
        EXPECT_EQ("", a.next_path(c.pos)) << c.what;
        EXPECT_TRUE(c.pos.none()) << c.what;
    }

    a.assign({"C:\\three.vox"});
    EXPECT_EQ("", a.next_path(stale)) << "a position from before the list changed";
    EXPECT_TRUE(stale.none());

    // A copy is another list: the original's positions are foreign to it.
    VoicePathList copy = a;
    VoicePathList::Position original = a.first_position();
    EXPECT_EQ("", copy.next_path(original));
    VoicePathList::Position own = copy.first_position();
    EXPECT_EQ("C:\\three.vox", copy.next_path(own));
}

TEST(VoicePathList, JoinsSeveralPathsWithoutSeparator)
{
    VoicePathList list;
    list.assign({"C:\\Voice\\a.vox", "C:\\Voice\\b.vox"});
    EXPECT_EQ("C:\\Voice\\a.voxC:\\Voice\\b.vox", zel::join_selection(list));
}

TEST(DialogResult, GivesFullPathsForOneOrSeveralFiles)
{
    struct Case {
        const char* what;
        std::string buffer;
        std::vector<std::string> paths;
    };
    const std::vector<Case> cases = {
        {"one file", std::string("C:\\Voice\\Open.vox\0\0", 19), {"C:\\Voice\\Open.vox"}},
        {"two files in a folder", std::string("C:\\Voice\0a.vox\0b.vox\0\0", 23),
         {"C:\\Voice\\a.vox", "C:\\Voice\\b.vox"}},
        {"two files in a drive's root", std::string("C:\\\0a.vox\0b.vox\0\0", 18), {"C:\\a.vox", "C:\\b.vox"}},
        {"nothing", std::string("\0\0", 2), {}},
        {"empty buffer", std::string(), {}},
        {"no end mark", std::string("Z:\\tmp\\x y.vox"), {"Z:\\tmp\\x y.vox"}},
        {"rest of the buffer after the end mark is ignored", std::string("C:\\a.vox\0\0C:\\junk\0", 19),
         {"C:\\a.vox"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.paths, zel::paths_from_dialog_result(c.buffer)) << c.what;
}

TEST(VoiceChoiceDecision, SetsKeepsOrRefusesByTheDialogsLimit)
{
    struct Case {
        const char* what;
        bool chosen;  // the browse chose a file, or was cancelled with the list as it is
        std::vector<std::string> paths;
        std::size_t limit;
        VoiceChoice::Action action;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"empty selection keeps the voice", true, {}, 99, VoiceChoice::Action::keep, ""},
        {"cancelled with an earlier pick keeps the voice", false, {path_of_length(20)}, 99,
         VoiceChoice::Action::keep, ""},
        {"cancelled with an earlier refused pick says nothing", false, {path_of_length(100)}, 99,
         VoiceChoice::Action::keep, ""},
        {"weekly path at its limit", true, {path_of_length(99)}, 99, VoiceChoice::Action::set, ""},
        {"weekly path one over", true, {path_of_length(100)}, 99, VoiceChoice::Action::refuse,
         "The voice file path is longer than 99 characters. Move the file to a shorter path."},
        {"route path at its limit", true, {path_of_length(121)}, 121, VoiceChoice::Action::set, ""},
        {"route path one over", true, {path_of_length(122)}, 121, VoiceChoice::Action::refuse,
         "The voice file path is longer than 121 characters. Move the file to a shorter path."},
        {"two short paths joined over the limit", true, {path_of_length(60), path_of_length(62)}, 121,
         VoiceChoice::Action::refuse,
         "The voice file path is longer than 121 characters. Move the file to a shorter path."},
        {"a slot-sized path refused by the holiday limit", true, {path_of_length(127)}, 121,
         VoiceChoice::Action::refuse,
         "The voice file path is longer than 121 characters. Move the file to a shorter path."},
    };
    for (const Case& c : cases) {
        VoicePathList list;
        list.assign(c.paths);
        const VoiceChoice choice = zel::decide_voice_choice(c.chosen, list, c.limit);
        EXPECT_EQ(c.action, choice.action) << c.what;
        EXPECT_EQ(c.message, choice.message) << c.what;
        EXPECT_EQ(c.action == VoiceChoice::Action::refuse ? "Voice File Not Set" : "", choice.caption) << c.what;
        std::string joined;
        if (c.chosen) {
            for (const std::string& p : c.paths) joined += p;
        }
        EXPECT_EQ(joined, choice.text) << c.what;

        std::string shown = "C:\\old.vox";
        EXPECT_EQ(c.action == VoiceChoice::Action::set, zel::apply_voice_choice(shown, choice)) << c.what;
        EXPECT_EQ(c.action == VoiceChoice::Action::set ? joined : "C:\\old.vox", shown) << c.what;
    }
}
