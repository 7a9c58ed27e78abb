// Vornline.exe under Wine handed every damaged command file of the table by "Open": what
// its checks catch (a file it cannot read whole, an unvalidated one) is refused with its
// message and the program stays usable (Open succeeds once a sound file is in place);
// the rest is loaded as any file is, and the channels answer a call. The command file is
// never changed, and the program ends cleanly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "damaged_files.h"
#include "record_file.h"
#include "vornline_run.h"

namespace {

using namespace std::chrono_literals;

using reliability::DamagedFile;
using reliability::Form;
using reliability::RuntimeOpen;

constexpr double kSpeed = 10;

// Opens the channels and proves each line can take a call: it rings, is answered, and
// goes back on-hook once the caller's silence has run its course (the flow's fault boxes,
// should the record send it to a missing voice, are acknowledged on the way).
void expect_lines_answer(rel::VornlineRun& run, std::vector<std::string>* faults)
{
    // The four lines start waiting in whatever order their threads run.
    ASSERT_TRUE(wd::wait_until(
        [&] {
            int waiting = 0;
            const std::vector<zeltest::BoardEvent> events = run.board.events();
            for (int line = 1; line <= 4; ++line) {
                for (const zeltest::BoardEvent& e : events) {
                    if (zeltest::event_matches("wait " + std::to_string(line) + " *", e.text)) {
                        ++waiting;
                        break;
                    }
                }
            }
            return waiting == 4;
        },
        20000, "every line waiting for a call"));
    ASSERT_EQ(4u, run.channel_windows().size());
    for (int line = 1; line <= 4; ++line) {
        const std::string n = std::to_string(line);
        run.board.skip_received();
        const std::size_t from = run.board.events().size();
        ASSERT_TRUE(run.board.send("ring " + n + " 5"));
        ASSERT_TRUE(wd::wait_until(
            [&] {
                run.dismiss_boxes(faults);
                const std::vector<zeltest::BoardEvent> events = run.board.events();
                bool answered = false;
                for (std::size_t i = from; i < events.size(); ++i) {
                    if (events[i].text == "answer " + n) answered = true;
                    if (answered && zeltest::event_matches("wait " + n + " *", events[i].text)) return true;
                }
                return false;
            },
            60000, "line " + n + " answering and then waiting again"));
    }
}

class VornlineBadFile : public testing::TestWithParam<DamagedFile> {};

TEST_P(VornlineBadFile, RefusesWhatItChecksLoadsTheRestAndStaysUsable)
{
    const DamagedFile& c = GetParam();
    rel::VornlineRun run;
    if (c.form == Form::directory) {
        ASSERT_TRUE(run.put_command_folder());
    } else {
        ASSERT_TRUE(run.put_command(c.bytes));
        if (c.form == Form::read_only) {
            ASSERT_TRUE(SetFileAttributesA(run.program.path("zel_system.cmd").c_str(), FILE_ATTRIBUTE_READONLY));
        }
    }
    ASSERT_TRUE(run.start(kSpeed));
    ASSERT_TRUE(run.choose_open());

    std::vector<std::string> faults;
    switch (c.expected.runtime) {
    case RuntimeOpen::unreadable:
    case RuntimeOpen::not_validated: {
        if (c.expected.runtime == RuntimeOpen::unreadable) {
            ASSERT_TRUE(run.expect_box("ZEL Phone System Cannot Start", "Reading ZEL_SYSTEM.CMD Command File Has Failed"));
        } else {
            ASSERT_TRUE(run.expect_box("ZEL_SYSTEM.CMD File", "Command File Not Validated"));
        }
        EXPECT_TRUE(run.channel_windows().empty());
        if (c.form != Form::directory) {
            EXPECT_EQ(c.bytes, run.program.read_file("zel_system.cmd"));
        }
        // Still usable: with a sound file in place the next Open starts the channels.
        ASSERT_TRUE(run.put_command(reliability::designed_file()));
        run.board.skip_received();
        ASSERT_TRUE(run.choose_open());
        ASSERT_NO_FATAL_FAILURE(expect_lines_answer(run, &faults));
        break;
    }
    case RuntimeOpen::loaded:
        ASSERT_NO_FATAL_FAILURE(expect_lines_answer(run, &faults));
        EXPECT_EQ(c.bytes, run.program.read_file("zel_system.cmd"));
        break;
    }
    ASSERT_TRUE(run.expect_channels_ready());
    for (const std::string& f : faults) std::printf("  [%s] fault shown during a call: %s\n", c.name, f.c_str());
    ASSERT_TRUE(run.program.running());
    ASSERT_TRUE(run.close_and_exit(true));
}

std::string case_name(const testing::TestParamInfo<DamagedFile>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, VornlineBadFile, testing::ValuesIn(reliability::damaged_files()), case_name);

}  // namespace
