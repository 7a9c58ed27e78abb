// zelcfg report and export as the program runs them: the report's lines and exit status,
// and the command file written only from a report without show-stoppers, differing from
// its working file in the validated flag alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "config_record.h"
#include "record_file.h"
#include "zelcfg_run.h"

using zel::Field;

namespace {

using namespace zelcfg_test;

void set(zel::ConfigRecord& rec, Field f, const std::string& value, int index = 0)
{
    ASSERT_EQ(zel::SetResult::ok, zel::set_field(rec, f, index, value)) << static_cast<int>(f);
}

// Every item of the report present; route 9 is the one complete route, and the fields the
// report ignores hold values that must not matter.
zel::ConfigRecord complete_record()
{
    zel::ConfigRecord rec = zel::default_record();
    set(rec, Field::closed_greeting_vox, "C:\\Voice\\closed.vox");
    set(rec, Field::system_error_vox, "C:\\Voice\\error.vox");
    set(rec, Field::open_greeting_vox, "C:\\Voice\\open.vox");
    set(rec, Field::wrong_ext_vox, "C:\\Voice\\wrong.vox");
    set(rec, Field::no_input_vox, "C:\\Voice\\none.vox");
    set(rec, Field::vox_type_name, "8K");
    set(rec, Field::route_ext, "1009", 9);
    set(rec, Field::route_port, "9", 9);
    set(rec, Field::route_vox, "C:\\Voice\\r9.vox", 9);
    set(rec, Field::answer_ring, "2");
    return rec;
}

const std::vector<std::string> kTailLines = {
    "",
    "",
    "NOTE: The Report only validates the design to be",
    "functional. It does not check for invalid voice",
    "type or indicate the design is fully functional.",
    "True assurance is to test run the design THOROUGHLY.",
    "",
    "",
    "The command file used by VORN MIRT is ZEL_SYSTEM.CMD. Copy or move the file into VORN MIRT Program Folder "
    "and startup the program.",
};

const std::vector<std::string> kCompleteChecks = {
    "Close Voice: OK.",
    "System Error Voice: OK.",
    "Open Greeting Voice: OK.",
    "Wrong Extension Voice: OK.",
    "No Input Voice: OK.",
    "Voice Type Selection: Selectied.",
    "One or more extension, port & Voice defined correctly.",
};

// The seven check lines, a blank line, the completion line when clean, then the notes.
std::string expected_output(const std::vector<std::string>& checks, bool clean)
{
    std::vector<std::string> lines = checks;
    lines.push_back("");
    if (clean) lines.push_back("General Report Completed. No Show Stopper Detected!");
    lines.insert(lines.end(), kTailLines.begin(), kTailLines.end());
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

// Disk offset of validated_flag: its image offset plus one CR for each of the three lines
// before it.
constexpr std::size_t kValidatedDiskOffset = 312 + 3;

TEST(ZelcfgReport, ACompleteDesignPrintsSevenOksTheCompletionLineAndTheNotes)
{
    const std::string file = temp_path("complete.cfg");
    write_bytes(file, zel::to_disk(complete_record()));
    const Result r = zelcfg_run({"report", file});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ(expected_output(kCompleteChecks, true), r.out);
    EXPECT_EQ(18u, lines_of(r.out).size());
}

TEST(ZelcfgReport, AShowStopperExitsOneAndDropsTheCompletionLine)
{
    const struct {
        const char* name;
        std::function<void(zel::ConfigRecord&)> spoil;
        std::size_t line;
        const char* text;
    } cases[] = {
        {"wrong extension", [](zel::ConfigRecord& r) { set(r, Field::wrong_ext_vox, ""); }, 3,
         "Wrong Extension Voice: Not defined."},
        {"voice type", [](zel::ConfigRecord& r) { set(r, Field::vox_type_name, ""); }, 5,
         "Voice Type Selection: No Selection Made."},
        {"5-character extension", [](zel::ConfigRecord& r) { set(r, Field::route_ext, "10090", 9); }, 6,
         "Transfer Configuration is bad."},
    };
    const std::string file = temp_path("spoilt.cfg");
    for (const auto& c : cases) {
        zel::ConfigRecord rec = complete_record();
        c.spoil(rec);
        write_bytes(file, zel::to_disk(rec));
        const Result r = zelcfg_run({"report", file});
        EXPECT_EQ(1, r.status) << c.name;
        EXPECT_EQ("", r.err) << c.name;
        std::vector<std::string> checks = kCompleteChecks;
        checks[c.line] = c.text;
        EXPECT_EQ(expected_output(checks, false), r.out) << c.name;
    }
}

TEST(ZelcfgReport, AVoiceOfNineSpacesCounts)
{
    zel::ConfigRecord rec = complete_record();
    set(rec, Field::route_vox, "         ", 9);
    set(rec, Field::no_input_vox, "         ");
    const std::string file = temp_path("spaces.cfg");
    write_bytes(file, zel::to_disk(rec));
    const Result r = zelcfg_run({"report", file});
    EXPECT_EQ(0, r.status) << r.out;
    EXPECT_EQ(expected_output(kCompleteChecks, true), r.out);
}

TEST(ZelcfgReport, FilesItCannotReportOnAreErrorsWithNoReport)
{
    const std::string missing = temp_path("missing.cfg");
    std::remove(missing.c_str());
    Result r = zelcfg_run({"report", missing});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_NE(std::string::npos, r.err.find("zelcfg: " + missing + ": cannot open")) << r.err;

    const std::string short_file = temp_path("short.cfg");
    write_bytes(short_file, zel::to_disk(complete_record()).substr(0, 20000));
    r = zelcfg_run({"report", short_file});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_NE(std::string::npos, r.err.find(short_file + ": short file")) << r.err;
}

TEST(ZelcfgReport, ABrokenButFullFileIsReportedAsATextModeReadSeesItWithAWarning)
{
    // One line end without its CR: a text-mode read gives the same image, but the line
    // structure is broken. A NUL at the end keeps the file as long as a sound one.
    std::string disk = zel::to_disk(complete_record());
    const std::size_t cr = disk.find("\r\n");
    ASSERT_NE(std::string::npos, cr);
    disk.erase(cr, 1);
    disk.push_back('\0');  // keep the record bytes whole
    const std::string file = temp_path("broken.cfg");
    write_bytes(file, disk);
    const Result r = zelcfg_run({"report", file});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(file + ": not a sound record file")) << r.err;
    EXPECT_EQ(expected_output(kCompleteChecks, true), r.out);
}

TEST(ZelcfgExport, ACleanReportWritesTheCommandFileDifferingOnlyInTheValidatedFlag)
{
    const std::string cfg = temp_path("zel_system.cfg");
    const std::string cmd = temp_path("zel_system.cmd");
    std::remove(cmd.c_str());
    zel::ConfigRecord rec = complete_record();
    set(rec, Field::validated_flag, "0");
    const std::string cfg_disk = zel::to_disk(rec);
    write_bytes(cfg, cfg_disk);

    const Result r = zelcfg_run({"export", cfg, cmd});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ(expected_output(kCompleteChecks, true), r.out);

    const std::string cmd_disk = read_bytes(cmd);
    ASSERT_EQ(cfg_disk.size(), cmd_disk.size());
    std::vector<std::size_t> differ;
    for (std::size_t i = 0; i < cfg_disk.size(); ++i) {
        if (cfg_disk[i] != cmd_disk[i]) differ.push_back(i);
    }
    EXPECT_EQ(std::vector<std::size_t>{kValidatedDiskOffset}, differ);
    EXPECT_EQ('1', cmd_disk[kValidatedDiskOffset]);
    EXPECT_EQ(cfg_disk, read_bytes(cfg)) << "the working file never carries the mark";

    const Result check = zelcfg_run({"check", cmd});
    EXPECT_EQ(0, check.status) << check.out;
    const Result flag = zelcfg_run({"get", cmd, "validated_flag"});
    EXPECT_EQ("1\n", flag.out);
}

TEST(ZelcfgExport, AShowStopperWritesNothingAndLeavesAnOldCommandFileAlone)
{
    const std::string cfg = temp_path("zel_system.cfg");
    const std::string cmd = temp_path("zel_system.cmd");
    zel::ConfigRecord rec = complete_record();
    set(rec, Field::wrong_ext_vox, "");
    write_bytes(cfg, zel::to_disk(rec));

    for (const bool old_file : {false, true}) {
        std::remove(cmd.c_str());
        if (old_file) write_bytes(cmd, "previous export");
        const Result r = zelcfg_run({"export", cfg, cmd});
        EXPECT_EQ(1, r.status) << old_file;
        std::vector<std::string> checks = kCompleteChecks;
        checks[3] = "Wrong Extension Voice: Not defined.";
        EXPECT_EQ(expected_output(checks, false), r.out);
        EXPECT_NE(std::string::npos, r.err.find(cfg + ": the report finds a show-stopper")) << r.err;
        EXPECT_EQ(old_file ? "previous export" : "<missing>", read_bytes(cmd));
    }
}

TEST(ZelcfgExport, FailuresNameTheirFileAndLeaveNoCommandFile)
{
    const std::string cfg = temp_path("zel_system.cfg");
    write_bytes(cfg, zel::to_disk(complete_record()));
    const std::string folder = temp_path("folder");
    std::filesystem::create_directory(folder);
    const std::string missing_cfg = temp_path("missing.cfg");
    std::remove(missing_cfg.c_str());
    const std::string short_cfg = temp_path("short.cfg");
    write_bytes(short_cfg, zel::to_disk(complete_record()).substr(0, 100));

    const struct {
        const char* name;
        std::string cfg;
        std::string cmd;
        std::string err_part;
    } cases[] = {
        {"command file is a folder", cfg, folder, folder + ": Could not write ZEL_SYSTEM.CMD: "},
        {"command file in no folder", cfg, temp_path("nowhere") + "/zel_system.cmd",
         "/zel_system.cmd: Could not write ZEL_SYSTEM.CMD: "},
        {"working file missing", missing_cfg, temp_path("a.cmd"), missing_cfg + ": cannot open"},
        {"working file short", short_cfg, temp_path("b.cmd"), short_cfg + ": short file"},
    };
    for (const auto& c : cases) {
        const Result r = zelcfg_run({"export", c.cfg, c.cmd});
        EXPECT_EQ(1, r.status) << c.name;
        EXPECT_NE(std::string::npos, r.err.find(c.err_part)) << c.name << ": " << r.err;
        if (c.cmd == folder) {
            EXPECT_TRUE(std::filesystem::is_directory(c.cmd)) << c.name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(c.cmd)) << c.name;
        }
    }
}

TEST(ZelcfgExport, TakesExactlyTwoFiles)
{
    const std::string cfg = temp_path("zel_system.cfg");
    write_bytes(cfg, zel::to_disk(complete_record()));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", cfg}, std::vector<std::string>{"export", cfg, "a", "b"},
          std::vector<std::string>{"export", cfg, ""}, std::vector<std::string>{"report"},
          std::vector<std::string>{"report", cfg, "x"}}) {
        const Result r = zelcfg_run(args);
        EXPECT_EQ(1, r.status) << args.size();
        EXPECT_EQ("", r.out);
        EXPECT_NE(std::string::npos, r.err.find("zelcfg: ")) << r.err;
    }
}

TEST(ZelcfgUsage, NamesReportAndExport)
{
    const Result r = zelcfg_run({"--help"});
    EXPECT_NE(std::string::npos, r.out.find("zelcfg report FILE")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("zelcfg export CFG CMD")) << r.out;
}

}  // namespace
