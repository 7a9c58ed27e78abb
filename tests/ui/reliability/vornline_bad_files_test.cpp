// Vornline.exe under Wine handed every damaged command file of the table by "Open": what
// its checks catch (a file it cannot read whole, an unvalidated one, one that another
// program holds) is refused with its message and leaves the program idle and usable, so
// the refused files share one run, each Open proving that the refusal before it left the
// program as it was, and the run ends with a sound file taking calls. The rest is loaded
// as any file is, and the four lines answer calls at once. The command file is never
// changed, and the program ends cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "damaged_files.h"
#include "reliability_office.h"

namespace {

using reliability::DamagedFile;
using reliability::Form;
using reliability::RuntimeOpen;

// Rings the four lines together and proves that each can take a call: it is answered,
// plays the greeting, and goes back to waiting once the caller's silence has run its
// course. Every box shown on the way is dismissed and returned.
std::vector<std::string> expect_lines_answer(rel::VornlineRun& run)
{
    std::vector<std::string> faults;
    EXPECT_TRUE(run.wait_lines_waiting(1));
    EXPECT_EQ(4u, run.channel_windows().size());
    run.board.skip_received();
    const std::size_t from = run.board.events().size();
    for (int line = 1; line <= 4; ++line) EXPECT_TRUE(run.board.send("ring " + std::to_string(line) + " 5"));
    EXPECT_TRUE(wd::wait_until(
        [&] {
            run.dismiss_boxes(&faults);
            const std::vector<zeltest::BoardEvent> events = run.board.events();
            for (int line = 1; line <= 4; ++line) {
                const std::string n = std::to_string(line);
                bool answered = false, again = false;
                for (std::size_t i = from; i < events.size() && !again; ++i) {
                    if (events[i].text == "answer " + n) answered = true;
                    again = answered && zeltest::event_matches("wait " + n + " *", events[i].text);
                }
                if (!again) return false;
            }
            return true;
        },
        60000, "every line answering and then waiting again"))
        << run.board.report();
    return faults;
}

// Puts the case where the command file belongs; a locked case stays locked while the
// returned lock lives.
std::unique_ptr<wd::FileLock> place(rel::VornlineRun& run, const DamagedFile& c)
{
    if (c.form == Form::directory) {
        EXPECT_TRUE(run.put_command_folder());
        return nullptr;
    }
    EXPECT_TRUE(run.put_command(c.bytes));
    const std::string path = run.program.path("zel_system.cmd");
    if (c.form == Form::read_only) {
        EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    if (c.form != Form::locked) return nullptr;
    auto lock = std::make_unique<wd::FileLock>(path);
    EXPECT_TRUE(lock->held()) << "cannot hold " << path;
    return lock;
}

// The command file as the program left it.
std::string command_bytes(rel::VornlineRun& run, const wd::FileLock* lock)
{
    return lock ? lock->read() : run.program.read_file("zel_system.cmd");
}

std::vector<DamagedFile> cases_opening(bool loaded)
{
    std::vector<DamagedFile> out;
    for (DamagedFile& c : reliability::damaged_files()) {
        if ((c.expected.runtime == RuntimeOpen::loaded) == loaded) out.push_back(std::move(c));
    }
    return out;
}

TEST(VornlineRefusedFiles, EachIsRefusedWithItsMessageAndTheProgramStaysIdleAndUsable)
{
    rel::VornlineRun run;
    ASSERT_TRUE(run.start());
    for (const DamagedFile& c : cases_opening(false)) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<wd::FileLock> lock = place(run, c);
        ASSERT_TRUE(run.choose_open());
        if (c.expected.runtime == RuntimeOpen::unreadable) {
            ASSERT_TRUE(run.expect_box("ZEL Phone System Cannot Start", "Reading ZEL_SYSTEM.CMD Command File Has Failed"));
        } else {
            ASSERT_TRUE(run.expect_box("ZEL_SYSTEM.CMD File", "Command File Not Validated"));
        }
        EXPECT_TRUE(run.channel_windows().empty());
        if (c.form != Form::directory) {
            EXPECT_EQ(c.bytes, command_bytes(run, lock.get()));
        }
    }
    // Still usable: with a sound file in place the next Open starts the channels.
    ASSERT_TRUE(run.put_command(reliability::designed_file()));
    ASSERT_TRUE(run.choose_open());
    EXPECT_EQ(std::vector<std::string>{}, expect_lines_answer(run));
    ASSERT_TRUE(run.expect_channels_ready());
    ASSERT_TRUE(run.close_and_exit(true));
}

class VornlineLoadedFile : public testing::TestWithParam<DamagedFile> {};

TEST_P(VornlineLoadedFile, IsTakenLikeAnyFileAndTheLinesAnswer)
{
    const DamagedFile& c = GetParam();
    rel::VornlineRun run;
    std::unique_ptr<wd::FileLock> lock = place(run, c);
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.choose_open());
    // A silent caller hears the greeting, then the no-input voice, and is sent to the
    // default port; a record whose voice slots the damage emptied or cut short makes
    // those plays fail with their own boxes.
    std::vector<std::string> want_faults;
    for (const char* f : c.expected.call_faults) {
        if (f) want_faults.push_back(std::string(vt::kFaultCaption) + ": " + f);
    }
    std::vector<std::string> faults = expect_lines_answer(run);
    // Each line shows the same boxes, the lines' boxes interleaved: one line's worth, in
    // any order.
    std::vector<std::string> distinct;
    for (const std::string& f : faults) {
        if (std::find(distinct.begin(), distinct.end(), f) == distinct.end()) distinct.push_back(f);
    }
    std::sort(distinct.begin(), distinct.end());
    std::sort(want_faults.begin(), want_faults.end());
    EXPECT_EQ(want_faults, distinct);
    EXPECT_EQ(c.bytes, command_bytes(run, lock.get()));
    ASSERT_TRUE(run.expect_channels_ready());
    ASSERT_TRUE(run.program.running());
    ASSERT_TRUE(run.close_and_exit(true));
}

std::string case_name(const testing::TestParamInfo<DamagedFile>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, VornlineLoadedFile, testing::ValuesIn(cases_opening(true)), case_name);

}  // namespace
