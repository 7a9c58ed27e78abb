// zelcfg's commands as the program runs them: the files they write, what they print,
// and that every refused command leaves the file byte for byte as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "config_record.h"
#include "escape.h"
#include "record_file.h"
#include "zelcfg_run.h"

namespace {

using namespace zelcfg_test;

// width-1 bytes through printable ASCII (backslash included) and 0x80-0xFF.
std::string full_value(std::size_t n, int seed)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        const int v = (seed * 11 + static_cast<int>(i) * 7) % 223;
        s.push_back(static_cast<char>(v < 128 ? 0x80 + v : 0x20 + (v - 128)));
    }
    return s;
}

const std::string& default_disk()
{
    static const std::string disk = zel::to_disk(zel::default_record());
    return disk;
}

}  // namespace

TEST(ZelcfgNew, WritesTheDefaultRecordFile)
{
    const std::string file = temp_path("new.cfg");
    std::remove(file.c_str());
    const Result r = zelcfg_run({"new", file});
    ASSERT_EQ(0, r.status) << r.err;
    const std::string disk = read_bytes(file);
    ASSERT_EQ(30249u, disk.size());
    EXPECT_EQ(default_disk(), disk);
    // A few places checked against the published layout rather than our own table:
    // disk offset = image offset + one CR per earlier line.
    const struct {
        std::size_t offset;
        std::string bytes;
    } spots[] = {
        {0, "Warning Notice:\0"},
        {70, "\r\nSystem Configuration File. Do Not Modify with manually\0"},
        {213 + 3, "answer on ring, trans int. delay & ext. delay\0"},
        {272 + 3, std::string("Vox Type:\0", 10)},
        {312 + 3, std::string("\0\0\0", 3)},
        {325 + 3, "\r\nPassword lock\0"},
        {1159 + 10, std::string(128, '\0') + "\r\nHoliday Cls:"},
        {12022 + 125 + 36, std::string("11:11:11 AM\0", 12)},
        {12022 + 110 * 6 + 131 + 74, std::string("11:11:11 PM\0", 12)},
        {12792 + 280 * 59 + 191, std::string("trans 59\0", 9)},
        {29900 + 194, "Holiday Closed:\0"},
        {30247, "\r\n"},
    };
    for (const auto& s : spots) {
        const std::string want = s.bytes.empty() ? std::string() : s.bytes;
        EXPECT_EQ(zelcfg::escape_bytes(want), zelcfg::escape_bytes(disk.substr(s.offset, want.size())))
            << "at " << s.offset;
    }
}

TEST(ZelcfgNew, RefusesToReplaceAFileUnlessForced)
{
    const std::string file = temp_path("exists.cfg");
    write_bytes(file, "precious");
    Result r = zelcfg_run({"new", file});
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find(file + ": already exists")) << r.err;
    EXPECT_EQ("precious", read_bytes(file));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"new", file, "--force"}, std::vector<std::string>{"new", "--force", file}}) {
        write_bytes(file, "precious");
        r = zelcfg_run(args);
        EXPECT_EQ(0, r.status) << r.err;
        EXPECT_EQ(default_disk(), read_bytes(file));
    }
}

TEST(ZelcfgNew, NamesTheFileWhenItCannotBeCreated)
{
    const std::string file = temp_path("no-such-folder") + "/x.cfg";
    const Result r = zelcfg_run({"new", file});
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find(file + ": cannot create")) << r.err;
}

TEST(ZelcfgDump, PrintsEveryFieldInRecordOrder)
{
    const std::string file = temp_path("dump.cfg");
    write_bytes(file, default_disk());
    const Result r = zelcfg_run({"dump", file});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    const std::vector<std::string> lines = lines_of(r.out);
    // 3 info + 10 general + 2 lock + 6x2 greetings + 60x2 holiday + 54x4 special
    // + 7x5 weekday + 60x7 route + 3x2 special greetings.
    ASSERT_EQ(824u, lines.size());
    const struct {
        std::size_t at;
        const char* line;
    } expected[] = {
        {0, "info_line_1=Warning Notice:"},
        {3, "general_label=answer on ring, trans int. delay & ext. delay"},
        {4, "answer_ring="},
        {10, "validated_flag="},
        {12, "default_port="},
        {13, "lock_label=Password lock"},
        {14, "lock_reserved="},
        {15, "open_greeting_label=Open Greeting:"},
        {27, "holiday_label[0]=Holiday Cls:"},
        {28, "holiday_date[0]="},
        {146, "holiday_date[59]="},
        {147, "special_label[0]=Sp.Hour:"},
        {362, "special_close_time[53]="},
        {363, "weekday_label[0]=Regular hrs:"},
        {366, "day_open_time[0]=11:11:11 AM"},
        {397, "day_close_time[6]=11:11:11 PM"},
        {398, "route_label[0]=trans 0"},
        {811, "route_label[59]=trans 59"},
        {817, "route_alt_number[59]="},
        {818, "special_open_label=Sp. Open Hr:"},
        {823, "holiday_vox="},
    };
    for (const auto& e : expected) EXPECT_EQ(e.line, lines[e.at]) << "line " << e.at;
}

TEST(ZelcfgSet, EveryFieldRoundTripsThroughSetAndGetAtFullWidthMinusOne)
{
    const std::string file = temp_path("full.cfg");
    for (int fi = 0; fi < static_cast<int>(zel::Field::count_); ++fi) {
        const zel::Field f = static_cast<zel::Field>(fi);
        const zel::FieldDef& d = zel::field_def(f);
        for (int index : {0, zel::field_count(f) - 1}) {
            write_bytes(file, default_disk());
            std::string name = d.name;
            if (zel::field_count(f) > 1) name += "[" + std::to_string(index) + "]";
            const std::string shown = zelcfg::escape_bytes(full_value(d.width - 1u, fi + index));
            const Result set = zelcfg_run({"set", file, name + "=" + shown});
            ASSERT_EQ(0, set.status) << name << ": " << set.err;
            const Result get = zelcfg_run({"get", file, name});
            ASSERT_EQ(0, get.status) << name << ": " << get.err;
            EXPECT_EQ(shown + "\n", get.out) << name;
            EXPECT_EQ(30249u, read_bytes(file).size()) << name;
            // Overwriting a label is allowed, and check then reports just that label.
            const Result check = zelcfg_run({"check", file});
            if (d.kind == zel::FieldKind::label) {
                EXPECT_EQ(1, check.status) << name;
                EXPECT_EQ(1u, lines_of(check.out).size()) << name << ": " << check.out;
                EXPECT_NE(std::string::npos, check.out.find(": " + name + " is \"")) << check.out;
            } else {
                EXPECT_EQ(0, check.status) << name << ": " << check.out;
            }
        }
    }
}

TEST(ZelcfgSet, HighBytesAndBackslashesSurviveSetDumpAndGet)
{
    std::string high;
    for (int b = 0x80; b <= 0xff; ++b) high.push_back(static_cast<char>(b));
    const struct {
        const char* name;
        std::string value;
    } cases[] = {
        {"route_vox[0]", high.substr(0, 127)},
        {"route_vox[59]", high.substr(127) + "\\end"},
        {"open_greeting_vox", "C:\\Voice\\\xe9t\xe9 \xc3\xa9.vox"},
        {"info_line_3", "100% \\x41 is not A"},
        {"holiday_date[59]", "12/25/2007"},
        {"special_close_time[53]", "05:30:00 PM"},
        {"day_name[0]", "MON"},
        {"answer_ring", "3"},
    };
    const std::string file = temp_path("high.cfg");
    write_bytes(file, default_disk());
    std::vector<std::string> args = {"set", file};
    for (const auto& c : cases) args.push_back(std::string(c.name) + "=" + zelcfg::escape_bytes(c.value));
    const Result set = zelcfg_run(args);
    ASSERT_EQ(0, set.status) << set.err;

    const Result dump = zelcfg_run({"dump", file});
    ASSERT_EQ(0, dump.status) << dump.err;
    for (const auto& c : cases) {
        const Result get = zelcfg_run({"get", file, c.name});
        EXPECT_EQ(zelcfg::escape_bytes(c.value) + "\n", get.out) << c.name;
        const std::string line = std::string(c.name) + "=" + zelcfg::escape_bytes(c.value) + "\n";
        EXPECT_NE(std::string::npos, dump.out.find(line)) << line;
    }
    zel::ConfigRecord rec;
    ASSERT_EQ(zel::ReadStatus::ok, zel::load_record(file.c_str(), rec));
    EXPECT_EQ(high.substr(0, 127), zel::get_field(rec, zel::Field::route_vox, 0));

    // The dump, fed back to set on a fresh file, rebuilds the same file byte for byte.
    const std::string copy = temp_path("copy.cfg");
    write_bytes(copy, default_disk());
    std::vector<std::string> replay = {"set", copy};
    for (const std::string& line : lines_of(dump.out)) replay.push_back(line);
    const Result again = zelcfg_run(replay);
    ASSERT_EQ(0, again.status) << again.err;
    EXPECT_EQ(read_bytes(file), read_bytes(copy));
}

TEST(ZelcfgErrors, EveryRefusalExitsOneNamesTheFileAndChangesNothing)
{
    const std::string file = temp_path("guarded.cfg");
    const struct {
        const char* name;
        std::vector<std::string> args;  // FILE is inserted after the command
        const char* problem_part;
    } cases[] = {
        {"unknown name", {"set", "nosuch=1"}, "unknown field 'nosuch'"},
        {"index out of range", {"set", "route_ext[60]=1234"}, "out of range 0-59"},
        {"weekday out of range", {"set", "day_name[7]=MON"}, "out of range 0-6"},
        {"missing index", {"set", "route_ext=1234"}, "needs an index"},
        {"index on a single field", {"set", "answer_ring[0]=1"}, "takes no index"},
        {"too long", {"set", "answer_ring=12"}, "the slot holds at most 1"},
        {"path too long", {"set", "route_vox[0]=" + std::string(128, 'p')}, "128 bytes; the slot holds at most 127"},
        {"LF", {"set", "info_line_1=a\\x0ab"}, "\\x0a"},
        {"CR", {"set", "info_line_1=a\\x0Db"}, "\\x0d"},
        {"0x1A", {"set", "info_line_1=\\x1a"}, "\\x1a"},
        {"NUL", {"set", "info_line_1=a\\x00b"}, "\\x00"},
        {"bad escape", {"set", "open_greeting_vox=C:\\voice"}, "starts no escape"},
        {"short hex", {"set", "info_line_1=\\x4"}, "two hex digits"},
        {"no equals sign", {"set", "answer_ring"}, "is not NAME=VALUE"},
        {"good then bad", {"set", "answer_ring=3", "route_ext[0]=1001", "route_ext[60]=1"}, "out of range"},
        {"bad then good", {"set", "nosuch=1", "answer_ring=3"}, "unknown field"},
        {"get unknown name", {"get", "nosuch"}, "unknown field"},
        {"get out of range", {"get", "holiday_date[60]"}, "out of range"},
        {"new over a file", {"new"}, "already exists"},
    };
    for (const auto& c : cases) {
        write_bytes(file, default_disk());
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, file);
        const Result r = zelcfg_run(args);
        EXPECT_EQ(1, r.status) << c.name;
        EXPECT_NE(std::string::npos, r.err.find(file + ": ")) << c.name << ": " << r.err;
        EXPECT_NE(std::string::npos, r.err.find(c.problem_part)) << c.name << ": " << r.err;
        EXPECT_EQ("", r.out) << c.name;
        EXPECT_TRUE(default_disk() == read_bytes(file)) << c.name << ": the file changed";
    }
}

TEST(ZelcfgErrors, MisuseShowsUsageAndTouchesNoFile)
{
    const std::string file = temp_path("misuse.cfg");
    write_bytes(file, default_disk());
    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* err_part;
    } cases[] = {
        {"no arguments", {}, "usage: zelcfg COMMAND"},
        {"set without assignments", {"set", file}, "usage: zelcfg set FILE NAME=VALUE"},
        {"get without name", {"get", file}, "usage: zelcfg get FILE NAME"},
        {"dump with extra", {"dump", file, "x"}, "usage: zelcfg dump FILE"},
        {"new with two files", {"new", file, file}, "new takes FILE"},
        {"new twice forced", {"new", "--force", "--force"}, "new takes FILE"},
        {"unknown command", {"frob", file}, "unknown command 'frob'"},
        {"empty file name", {"check", ""}, "FILE name is empty"},
    };
    for (const auto& c : cases) {
        const Result r = zelcfg_run(c.args);
        EXPECT_EQ(1, r.status) << c.name;
        EXPECT_NE(std::string::npos, r.err.find(c.err_part)) << c.name << ": " << r.err;
        EXPECT_EQ(default_disk(), read_bytes(file)) << c.name;
    }
    const Result help = zelcfg_run({"--help"});
    EXPECT_EQ(0, help.status);
    EXPECT_EQ("", help.err);
    for (const char* shape : {"new FILE [--force]", "dump FILE", "get FILE NAME", "set FILE NAME=VALUE ...",
                              "check FILE"}) {
        EXPECT_NE(std::string::npos, help.out.find(shape)) << shape;
    }
}

TEST(ZelcfgErrors, AMissingFileIsNamedByEveryCommand)
{
    const std::string file = temp_path("absent.cfg");
    std::remove(file.c_str());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", file}, {"get", file, "answer_ring"}, {"set", file, "answer_ring=1"},
          {"check", file}}) {
        const Result r = zelcfg_run(args);
        EXPECT_EQ(1, r.status) << args[0];
        EXPECT_NE(std::string::npos, r.err.find(file + ": cannot open")) << args[0] << ": " << r.err;
        EXPECT_EQ("<missing>", read_bytes(file)) << args[0] << " created the file";
    }
}

TEST(ZelcfgDamaged, CheckFindsTheDamageAndOtherCommandsNeitherCrashNorWrite)
{
    const std::string good = default_disk();
    const struct {
        const char* name;
        std::string disk;
        const char* finding;  // a line that check must print
        const char* dump_err;  // what dump must say on stderr
    } cases[] = {
        {"short", good.substr(0, 12345), ": offset 12345: the file ends after 12345 bytes", "short file: only 12219 of 30054"},
        {"empty", "", ": offset 0: the file ends after 0 bytes", "short file: only 0 of 30054"},
        {"0x1A inside", std::string(good).replace(5000, 1, "\x1a"), ": offset 5000: byte 0x1A", "short file: only"},
        {"bare LF", std::string(good).insert(100, "\n"), ": offset 100: LF without CR", "not a sound record file"},
        {"missing CR", std::string(good).erase(70, 1), ": offset 70: LF without CR", "not a sound record file"},
    };
    const std::string file = temp_path("damaged.cfg");
    for (const auto& c : cases) {
        write_bytes(file, c.disk);
        const Result check = zelcfg_run({"check", file});
        EXPECT_EQ(1, check.status) << c.name;
        EXPECT_NE(std::string::npos, check.out.find(file + c.finding)) << c.name << ":\n" << check.out;
        for (const std::string& line : lines_of(check.out)) {
            EXPECT_EQ(0u, line.find(file + ": offset ")) << c.name << ": " << line;
        }

        const Result dump = zelcfg_run({"dump", file});
        EXPECT_EQ(0, dump.status) << c.name;
        EXPECT_EQ(824u, lines_of(dump.out).size()) << c.name;
        EXPECT_NE(std::string::npos, dump.err.find(file + ": " + c.dump_err)) << c.name << ": " << dump.err;

        const Result get = zelcfg_run({"get", file, "holiday_vox"});
        EXPECT_EQ(0, get.status) << c.name;

        const Result set = zelcfg_run({"set", file, "answer_ring=2"});
        EXPECT_EQ(1, set.status) << c.name;
        EXPECT_NE(std::string::npos, set.err.find(file + ": not a sound record file")) << c.name << ": " << set.err;
        EXPECT_TRUE(c.disk == read_bytes(file)) << c.name << ": set changed a damaged file";
    }
}

TEST(ZelcfgDamaged, AShortFileDumpsItsMissingTailAsNul)
{
    const std::string file = temp_path("tail.cfg");
    // Cut inside the last route line: what was read shows, the rest is empty.
    write_bytes(file, default_disk().substr(0, 12792 + 280 * 59 + 191 + 5));
    const Result dump = zelcfg_run({"dump", file});
    ASSERT_EQ(0, dump.status);
    EXPECT_NE(std::string::npos, dump.out.find("route_label[58]=trans 58\n"));
    EXPECT_NE(std::string::npos, dump.out.find("route_label[59]=trans\n"));
    EXPECT_NE(std::string::npos, dump.out.find("special_open_label=\n"));
    EXPECT_NE(std::string::npos, dump.out.find("holiday_greeting_label=\n"));
}

TEST(ZelcfgCheck, ASoundFileExitsZeroAndLabelDamageIsReportedButStillEditable)
{
    const std::string file = temp_path("check.cfg");
    write_bytes(file, default_disk());
    Result r = zelcfg_run({"check", file});
    EXPECT_EQ(0, r.status) << r.out;
    EXPECT_EQ(file + ": sound record file\n", r.out);

    // Labels are ordinary fields to set: a wrong one is a finding, and setting it back repairs it.
    ASSERT_EQ(0, zelcfg_run({"set", file, "route_label[59]=trans 58"}).status);
    r = zelcfg_run({"check", file});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(file + ": offset 29503: route_label[59] is \"trans 58\", expected \"trans 59\"\n", r.out);
    ASSERT_EQ(0, zelcfg_run({"set", file, "route_label[59]=trans 59"}).status);
    EXPECT_EQ(default_disk(), read_bytes(file));
}
