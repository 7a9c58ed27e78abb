// Export of the command file: an exact copy with the validated mark, and a message with
// the system's reason for every step that fails, never a half-written file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "command_export.h"
#include "record_file.h"
#include "record_fixture.h"
#include "scratch_dir.h"

using zel::ConfigRecord;
using zel::Field;

namespace {

std::string file_bytes(const std::string& path)
{
    std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

void write_bytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    ASSERT_EQ(bytes.size(), std::fwrite(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
}

bool starts_with(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TEST(CommandExport, CopiesTheRecordWithOnlyByte312SetToOne)
{
    for (const char* mark : {"0", "", "1"}) {
        const fixture::ScratchDir dir("zel_export");
        const std::string cfg = dir.file("zel_system.cfg");
        const std::string cmd = dir.file("zel_system.cmd");
        ConfigRecord rec = fixture::full_record();
        zel::set_field(rec, Field::validated_flag, mark);
        rec.bytes[313] = 'k';  // whatever follows the mark stays as it was
        ASSERT_TRUE(zel::save_record(cfg.c_str(), rec));
        const std::string cfg_before = file_bytes(cfg);

        const zel::ExportResult r = zel::export_command_file(cfg.c_str(), cmd.c_str());
        ASSERT_TRUE(r.ok) << r.message;
        EXPECT_EQ("", r.message);

        const std::string out = file_bytes(cmd);
        ASSERT_EQ(zel::kDiskSize, out.size());
        EXPECT_EQ(cfg_before, file_bytes(cfg)) << "the working file is only read";
        std::vector<std::size_t> differ;
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (out[i] != cfg_before[i]) differ.push_back(i);
        }
        // Three line feeds (each CR LF on disk) lie before image byte 312.
        const std::size_t disk_offset = 312 + 3;
        if (mark[0] == '1') {
            EXPECT_TRUE(differ.empty()) << mark;
        } else {
            EXPECT_EQ(std::vector<std::size_t>{disk_offset}, differ) << mark;
        }
        EXPECT_EQ('1', out[disk_offset]);

        ConfigRecord back;
        ASSERT_EQ(zel::ReadStatus::ok, zel::load_record(cmd.c_str(), back));
        rec.bytes[312] = '1';
        EXPECT_EQ(rec, back);
    }
}

TEST(CommandExport, UnreadableWorkingFileIsReportedAndNothingIsWritten)
{
    const fixture::ScratchDir dir("zel_export");
    const std::string cmd = dir.file("zel_system.cmd");
    const std::string short_cfg = dir.file("short.cfg");
    write_bytes(short_cfg, zel::to_disk(zel::default_record()).substr(0, 30000));
    write_bytes(cmd, "previous export");

    struct Case {
        const char* what;
        std::string cfg;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing", dir.file("zel_system.cfg"),
         std::string("Could not read zel_system.cfg: ") + std::strerror(ENOENT)},
        {"shorter than a record", short_cfg,
         "Could not read zel_system.cfg: the file is shorter than one configuration record"},
    };
    for (const Case& c : cases) {
        const zel::ExportResult r = zel::export_command_file(c.cfg.c_str(), cmd.c_str());
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(c.message, r.message) << c.what;
        EXPECT_EQ("previous export", file_bytes(cmd)) << c.what;
    }
    EXPECT_STREQ("Configuration Not Exported", zel::kExportFailedCaption);
}

TEST(CommandExport, TheShellCanWordTheReasonItself)
{
    const fixture::ScratchDir dir("zel_export");
    const zel::ExportResult r = zel::export_command_file(
        dir.file("zel_system.cfg").c_str(), dir.file("zel_system.cmd").c_str(),
        [](int err) { return std::string(err == ENOENT ? "The system cannot find the file specified." : "other"); });
    EXPECT_EQ(ENOENT, r.err);
    EXPECT_EQ("Could not read zel_system.cfg: The system cannot find the file specified.", r.message);
    EXPECT_FALSE(std::filesystem::exists(dir.file("zel_system.cmd")));
}

TEST(CommandExport, CommandFileThatCannotBeCreatedIsReportedWithTheSystemsReason)
{
    const fixture::ScratchDir dir("zel_export");
    const std::string cfg = dir.file("zel_system.cfg");
    ASSERT_TRUE(zel::save_record(cfg.c_str(), zel::default_record()));
    const std::string folder_as_file = dir.file("taken");
    std::filesystem::create_directory(folder_as_file);

    for (const std::string& cmd : {dir.file("no_such_folder/zel_system.cmd"), folder_as_file}) {
        const zel::ExportResult r = zel::export_command_file(cfg.c_str(), cmd.c_str());
        EXPECT_FALSE(r.ok) << cmd;
        const std::string prefix = "Could not write ZEL_SYSTEM.CMD: ";
        EXPECT_TRUE(starts_with(r.message, prefix)) << r.message;
        EXPECT_GT(r.message.size(), prefix.size()) << "a reason follows";
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("no_such_folder")));
    EXPECT_TRUE(std::filesystem::is_directory(folder_as_file));
}
