// The window driver working a real program under Wine: the probe built beside this test.
#include "window_driver.h"

#include <commctrl.h>

namespace {

constexpr int kCmdBox = 100;
constexpr int kCmdQuit = 101;
constexpr int kButton = 200;
constexpr int kEvents = 201;
constexpr int kStartInfo = 202;
constexpr int kPicker = 203;

std::string probe_exe() { return wd::test_folder() + "\\window_driver_probe.exe"; }

class Probe : public ::testing::Test {
protected:
    // Starts the probe with an exit code and a word, and waits for its window.
    void launch(const char* exit_code = "0", const char* word = "hello")
    {
        ASSERT_TRUE(program.start(probe_exe(), {exit_code, word}, {{"WD_PROBE_VALUE", "from env"}}));
        ASSERT_TRUE(program.wait_window({.cls = "WdProbe", .caption = "Probe Window"}, wd::kDefaultTimeoutMs, &main));
    }
    std::string events() const { return wd::text(wd::child(main, kEvents)); }

    wd::Program program;
    HWND main = nullptr;
};

TEST_F(Probe, StartsInItsOwnFolderWithArgumentsAndEnvironment)
{
    ASSERT_TRUE(program.put_file("input.txt", "placed first"));
    launch("0", "two words");
    EXPECT_EQ(wd::text(wd::child(main, kStartInfo)), "arg=two words;env=from env;file=placed first");
    EXPECT_EQ(wd::window_pid(main), program.pid());
    EXPECT_TRUE(program.running());
}

TEST_F(Probe, ClicksReachButtonsAndPoints)
{
    launch();
    ASSERT_TRUE(wd::click(wd::child(main, kButton)));
    EXPECT_TRUE(wd::wait_until([&] { return events() == "pressed"; }, 5000, "the button press"));
    ASSERT_TRUE(wd::click_at(main, 30, 40));
    EXPECT_TRUE(wd::wait_until([&] { return events() == "click 30,40"; }, 5000, "the click at 30,40"));
}

TEST_F(Probe, FindsReadsAndDismissesASystemModalBoxFromAWorkerThread)
{
    launch();
    ASSERT_TRUE(wd::post_command(main, kCmdBox));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(program.wait_message_box(5000, &box, "Probe Box"));
    EXPECT_EQ(box.text, "from a thread");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_NE(box.tid, GetWindowThreadProcessId(main, nullptr)) << "raised by the worker thread";
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons[0].first, IDOK);
    EXPECT_EQ(box.buttons[0].second, "OK");
    ASSERT_TRUE(wd::dismiss(box));
    EXPECT_TRUE(program.expect_no_message_box(200));
}

TEST_F(Probe, DatePickerIsSetAndReadInTheOtherProcess)
{
    launch();
    HWND picker = wd::child(main, kPicker);
    ASSERT_NE(picker, nullptr);
    SYSTEMTIME want{};
    want.wYear = 2007;
    want.wMonth = 2;
    want.wDay = 8;
    ASSERT_TRUE(wd::set_datetime(picker, &want));
    SYSTEMTIME got{};
    DWORD gdt = GDT_ERROR;
    ASSERT_TRUE(wd::get_datetime(picker, &got, &gdt));
    EXPECT_EQ(gdt, static_cast<DWORD>(GDT_VALID));
    EXPECT_EQ(got.wYear, 2007);
    EXPECT_EQ(got.wMonth, 2);
    EXPECT_EQ(got.wDay, 8);
    EXPECT_EQ(wd::text(picker), "02/08/2007");

    ASSERT_TRUE(wd::set_datetime(picker, nullptr));
    ASSERT_TRUE(wd::get_datetime(picker, &got, &gdt));
    EXPECT_EQ(gdt, static_cast<DWORD>(GDT_NONE));
}

TEST_F(Probe, AFailedWaitListsTheWindowsOnScreen)
{
    launch();
    HWND none = nullptr;
    wd::Status s = program.wait_window({.cls = "NoSuchClass"}, 300, &none);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(none, nullptr);
    EXPECT_NE(s.message.find("NoSuchClass"), std::string::npos) << s.message;
    EXPECT_NE(s.message.find("\"WdProbe\""), std::string::npos) << s.message;
    EXPECT_NE(s.message.find("\"Probe Window\""), std::string::npos) << s.message;
    EXPECT_NE(s.message.find("pid " + std::to_string(program.pid())), std::string::npos) << s.message;
    // The conversion for gtest carries the same reason.
    ::testing::AssertionResult r = s;
    EXPECT_FALSE(r);
    EXPECT_NE(std::string(r.message()).find("NoSuchClass"), std::string::npos);
}

TEST_F(Probe, ReportsTheExitCodeOfAProgramThatEnds)
{
    launch("7");
    ASSERT_TRUE(wd::post_command(main, kCmdQuit));
    DWORD code = 0;
    ASSERT_TRUE(program.wait_exit(10000, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(program.running());
}

TEST_F(Probe, EndStopsARunningProgram)
{
    launch();
    EXPECT_FALSE(program.wait_exit(200).ok) << "still running";
    program.end();
    EXPECT_FALSE(program.running());
    EXPECT_TRUE(wd::wait_window_gone(main, 5000));
}

TEST_F(Probe, SeesTheMenuBarAndReadsTheMenuResource)
{
    launch();
    EXPECT_TRUE(wd::has_menu(main));
    std::vector<wd::MenuItem> bar = wd::menu_resource(probe_exe(), "PROBE");
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].text, "&Probe");
    EXPECT_TRUE(bar[0].popup);
    ASSERT_EQ(bar[0].items.size(), 2u);
    EXPECT_EQ(bar[0].items[0].text, "&Box");
    EXPECT_EQ(bar[0].items[0].id, static_cast<UINT>(kCmdBox));
    EXPECT_EQ(bar[0].items[1].text, "&Quit");
    EXPECT_EQ(bar[0].items[1].id, static_cast<UINT>(kCmdQuit));
    EXPECT_TRUE(wd::menu_resource(probe_exe(), "NOSUCHMENU").empty());
}

TEST(ProgramFolder, IsFreshAndRemovedAfterwards)
{
    std::string first;
    {
        wd::Program a;
        wd::Program b;
        ASSERT_FALSE(a.folder().empty());
        EXPECT_NE(a.folder(), b.folder());
        EXPECT_FALSE(a.file_exists("input.txt"));
        ASSERT_TRUE(a.put_file("input.txt", std::string("a\0b\r\n", 5)));
        EXPECT_EQ(a.read_file("input.txt"), std::string("a\0b\r\n", 5));
        first = a.folder();
    }
    EXPECT_EQ(GetFileAttributesA(first.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
