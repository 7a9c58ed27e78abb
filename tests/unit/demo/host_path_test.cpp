// File names on both sides of Wine.
#include "host_path.h"

#include <gtest/gtest.h>

namespace demo {
namespace {

TEST(HostPath, WinePathsOfLinuxFilesAndBack)
{
    const struct {
        const char* own;
        const char* board;
    } cases[] = {
        {"/work/main/build/demo/line1-call1.wav", "Z:\\work\\main\\build\\demo\\line1-call1.wav"},
        {"/tmp/with space/a.vox", "Z:\\tmp\\with space\\a.vox"},
        {"/", "Z:\\"},
    };
    for (const auto& c : cases) {
#ifdef _WIN32
        // Here the demo already runs under Wine and is handed Windows names.
        EXPECT_EQ(board_path(c.board), c.board);
        EXPECT_EQ(own_path(c.board), c.board);
#else
        EXPECT_EQ(board_path(c.own), c.board);
        EXPECT_EQ(own_path(c.board), c.own);
#endif
    }
    // A name that already has a drive stays as it is.
    EXPECT_EQ(board_path("C:\\ZEL\\Voice\\open.vox"), "C:\\ZEL\\Voice\\open.vox");
    EXPECT_EQ(board_path("z:\\x"), "z:\\x");
}

TEST(HostPath, JoinKeepsTheFoldersSeparator)
{
    EXPECT_EQ(join_path("/tmp/out", "a.wav"), "/tmp/out/a.wav");
    EXPECT_EQ(join_path("/tmp/out/", "a.wav"), "/tmp/out/a.wav");
    EXPECT_EQ(join_path("Z:\\tmp\\out", "a.wav"), "Z:\\tmp\\out\\a.wav");
    EXPECT_EQ(join_path("Z:\\tmp\\out\\", "a.wav"), "Z:\\tmp\\out\\a.wav");
    EXPECT_EQ(join_path("out", "a.wav"), "out/a.wav");
    EXPECT_EQ(join_path("", "a.wav"), "a.wav");
}

TEST(HostPath, StemIsTheFileNameWithoutItsExtension)
{
    const struct {
        const char* path;
        const char* stem;
    } cases[] = {
        {"Z:\\demo\\voices\\open_greeting.vox", "open_greeting"},
        {"/demo/voices/to_sales.vox", "to_sales"},
        {"C:\\v.1\\greeting", "greeting"},   // a dot in a folder is not an extension
        {"a.b.vox", "a.b"},
        {".vox", ".vox"},
        {"plain", "plain"},
    };
    for (const auto& c : cases) EXPECT_EQ(stem_of(c.path), c.stem) << c.path;
}

}  // namespace
}  // namespace demo
