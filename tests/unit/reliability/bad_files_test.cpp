// Every damaged record file of the table handed to every reader that has no window:
// zelcfg's commands, the tool's working file cycle, report and export, and the runtime's
// command file loading. Nothing may crash, a reading operation never changes the file, and
// whatever the tool writes passes zelcfg check.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "command_export.h"
#include "command_file.h"
#include "commands.h"
#include "damaged_files.h"
#include "record_check.h"
#include "record_file.h"
#include "validation_report.h"
#include "working_file.h"

namespace fs = std::filesystem;
using reliability::DamagedFile;
using reliability::Form;
using reliability::RuntimeOpen;

namespace {

std::string read_all(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_all(const fs::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct ZelcfgRun {
    int status;
    std::string out, err;
};

ZelcfgRun zelcfg(std::vector<std::string> args)
{
    ZelcfgRun r;
    r.status = zelcfg::run(args, r.out, r.err);
    return r;
}

std::string first_finding(const std::string& disk)
{
    const zelcfg::CheckReport r = zelcfg::check_disk_bytes(disk);
    return r.findings.empty() ? std::string("sound") : r.findings.front().text;
}

// The cases a reader meets on its own. A lock is a matter between two programs, which the
// GUI tests hold against Plandesk and Vornline.
std::vector<DamagedFile> file_cases()
{
    std::vector<DamagedFile> out;
    for (DamagedFile& c : reliability::damaged_files()) {
        if (c.form != Form::locked) out.push_back(std::move(c));
    }
    return out;
}

// One case put in a folder of its own, as zel_system.cfg.
class Placed {
public:
    explicit Placed(const DamagedFile& c) : case_(c)
    {
        dir_ = fs::path(testing::TempDir()) / (std::string("zelbad_") + c.name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = dir_ / "zel_system.cfg";
        put();
        // Whether the system refuses writes to a read-only file (a root user under Wine or
        // Linux may write it anyway); where it does not, it is an ordinary file for writers.
        writable_ = c.form != Form::directory;
        if (c.form == Form::read_only) {
            std::FILE* f = std::fopen(file().c_str(), "r+b");
            writable_ = f != nullptr;
            if (f) std::fclose(f);
        }
    }
    ~Placed()
    {
        std::error_code ec;
        fs::permissions(file_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    void put()
    {
        std::error_code ec;
        fs::permissions(file_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(file_, ec);
        if (case_.form == Form::directory) {
            fs::create_directory(file_);
            return;
        }
        write_all(file_, case_.bytes);
        if (case_.form == Form::read_only) {
            fs::permissions(file_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        }
    }

    // The file is exactly as placed.
    testing::AssertionResult untouched() const
    {
        if (case_.form == Form::directory) {
            return fs::is_directory(file_) ? testing::AssertionSuccess()
                                           : testing::AssertionFailure() << "the folder is gone";
        }
        const std::string now = read_all(file_);
        if (now == case_.bytes) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the file changed: " << now.size() << " bytes, was "
                                           << case_.bytes.size();
    }

    std::string file() const { return file_.string(); }
    std::string other(const char* name) const { return (dir_ / name).string(); }
    bool writable() const { return writable_; }

private:
    const DamagedFile& case_;
    fs::path dir_, file_;
    bool writable_ = true;
};

// The image a text-mode reader gets, with its missing tail from the default record.
zel::ConfigRecord read_as_tool(const DamagedFile& c, std::size_t* got)
{
    zel::ConfigRecord image = zel::default_record();
    *got = c.form == Form::directory ? 0 : zel::from_disk(c.bytes, image);
    return image;
}

TEST(BadFiles, TheTableDescribesItsFiles)
{
    // The expectations below lean on these facts; a change of the table must show here.
    for (const DamagedFile& c : file_cases()) {
        SCOPED_TRACE(c.name);
        std::size_t got = 0;
        read_as_tool(c, &got);
        EXPECT_EQ(c.expected.whole_image, got == zel::kRecordSize);
        if (c.form == Form::directory) continue;
        const zelcfg::CheckReport r = zelcfg::check_disk_bytes(c.bytes);
        EXPECT_EQ(c.expected.check == 0, r.sound()) << first_finding(c.bytes);
        EXPECT_EQ(c.expected.structure_sound, r.structure_sound);
    }
    EXPECT_EQ("sound", first_finding(reliability::designed_file()));
}

TEST(BadFiles, ZelcfgReportsAndNeverWritesWhatItOnlyReads)
{
    for (const DamagedFile& c : file_cases()) {
        SCOPED_TRACE(c.name);
        Placed p(c);
        const std::string f = p.file();
        const bool is_dir = c.form == Form::directory;

        const ZelcfgRun check = zelcfg({"check", f});
        EXPECT_EQ(c.expected.check, check.status) << check.out << check.err;
        if (c.expected.check != 0) {
            EXPECT_FALSE(check.out.empty() && check.err.empty()) << "no finding shown";
        }

        const ZelcfgRun dump = zelcfg({"dump", f});
        EXPECT_EQ(is_dir ? 1 : 0, dump.status) << dump.err;
        const bool damaged = !c.expected.whole_image || !c.expected.structure_sound;
        if (!is_dir) {
            EXPECT_EQ(damaged, !dump.err.empty()) << dump.err;
        }

        EXPECT_EQ(is_dir ? 1 : 0, zelcfg({"get", f, "route_ext[0]"}).status);
        const ZelcfgRun report = zelcfg({"report", f});
        EXPECT_EQ(c.expected.report, report.status) << report.err;
        if (!c.expected.whole_image) {
            EXPECT_TRUE(report.out.empty()) << "a report on a short file";
        }

        EXPECT_TRUE(p.untouched());

        // set rewrites only a file whose line structure is sound, and only its own slot.
        const ZelcfgRun set = zelcfg({"set", f, "answer_ring=3"});
        if (c.expected.structure_sound && p.writable()) {
            EXPECT_EQ(0, set.status) << set.err;
            zel::ConfigRecord want{};
            zel::from_disk(c.bytes, want);
            zel::set_field(want, zel::Field::answer_ring, "3");
            EXPECT_EQ(zel::to_disk(want), read_all(f));
            p.put();
        } else {
            EXPECT_EQ(1, set.status);
            EXPECT_TRUE(p.untouched());
        }

        // export writes a command file only from a whole record without a show-stopper,
        // and what it writes is sound.
        const std::string cmd = p.other("zel_system.cmd");
        const ZelcfgRun exported = zelcfg({"export", f, cmd});
        const bool exports = c.expected.whole_image && c.expected.report == 0;
        EXPECT_EQ(exports ? 0 : 1, exported.status) << exported.err;
        EXPECT_EQ(exports, fs::exists(cmd));
        if (exports) {
            EXPECT_EQ("sound", first_finding(read_all(cmd)));
        }
        EXPECT_TRUE(p.untouched());
    }
}

TEST(BadFiles, TheToolWritesOnlySoundRecords)
{
    for (const DamagedFile& c : file_cases()) {
        SCOPED_TRACE(c.name);
        Placed p(c);
        std::size_t got = 0;
        const zel::ConfigRecord seen = read_as_tool(c, &got);

        // Start-up: an existing file, however damaged, is left alone.
        const zel::EnsureOutcome ensured = zel::ensure_working_file(p.file().c_str());
        EXPECT_EQ(p.writable() ? zel::EnsureResult::existed : zel::EnsureResult::unusable, ensured.result);
        EXPECT_TRUE(p.untouched());

        // A dialog's cycle: what was read is shown (a short file's tail from the default
        // record), Cancel writes nothing, Save writes a sound record.
        {
            zel::WorkingFileEdit edit;
            zel::ConfigRecord image{};
            ASSERT_EQ(p.writable(), edit.begin(image, p.file().c_str()));
            if (p.writable()) {
                EXPECT_EQ(seen, image);
            }
            edit.abandon();
            EXPECT_TRUE(p.untouched());
        }
        if (p.writable()) {
            zel::WorkingFileEdit edit;
            zel::ConfigRecord image{};
            ASSERT_TRUE(edit.begin(image, p.file().c_str()));
            zel::set_field(image, zel::Field::answer_ring, "2");
            EXPECT_EQ(zel::CommitResult::saved, edit.commit(image));
            const std::string saved = read_all(p.file());
            EXPECT_EQ("sound", first_finding(saved));
            zel::ConfigRecord back{};
            EXPECT_EQ(zel::kRecordSize, zel::from_disk(saved, back));
            EXPECT_EQ("2", zel::get_field(back, zel::Field::answer_ring));
            if (c.expected.check == 0) {
                zel::ConfigRecord want = seen;
                zel::set_field(want, zel::Field::answer_ring, "2");
                EXPECT_EQ(want, back) << "a sound record was changed beyond the edit";
            }
            p.put();
        }

        // The report reads a whole record or shows its box; it never writes.
        const zel::ReportRun run = zel::run_validation_report(p.file().c_str());
        EXPECT_EQ(c.expected.whole_image && p.writable(), run.ok);
        if (!run.ok) {
            EXPECT_EQ(zel::kReportOpenFailedText, run.message);
        }
        if (run.ok) {
            EXPECT_EQ(c.expected.report == 0, !run.report.show_stopper);
        }
        EXPECT_TRUE(p.untouched());

        // Set Configuration For Use exports a sound command file from any whole record.
        const std::string cmd = p.other("zel_system.cmd");
        const zel::ExportResult exported = zel::export_command_file(p.file().c_str(), cmd.c_str());
        EXPECT_EQ(c.expected.whole_image, exported.ok) << exported.message;
        EXPECT_EQ(exported.ok, fs::exists(cmd));
        if (exported.ok) {
            const std::string written = read_all(cmd);
            EXPECT_EQ("sound", first_finding(written));
            zel::ConfigRecord back{};
            zel::from_disk(written, back);
            EXPECT_EQ('1', back.bytes[zel::field_offset(zel::Field::validated_flag)]);
        }
        EXPECT_TRUE(p.untouched());
    }
}

TEST(BadFiles, TheRuntimeTakesOnlyAWholeValidatedRecord)
{
    for (const DamagedFile& c : file_cases()) {
        SCOPED_TRACE(c.name);
        Placed p(c);
        zel::ConfigRecord record = zel::default_record();
        const zel::ConfigRecord before = record;
        std::FILE* kept = nullptr;
        const vorn::LoadOutcome outcome = vorn::load_command_file(p.file().c_str(), record, &kept);
        if (kept) std::fclose(kept);
        switch (c.expected.runtime) {
        case RuntimeOpen::loaded: {
            EXPECT_EQ(vorn::LoadOutcome::loaded, outcome);
            zel::ConfigRecord want{};
            zel::from_disk(c.bytes, want);
            EXPECT_EQ(want, record);
            break;
        }
        case RuntimeOpen::unreadable:
            EXPECT_EQ(vorn::LoadOutcome::unreadable, outcome);
            EXPECT_EQ(before, record) << "a refused file changed the command record";
            break;
        case RuntimeOpen::not_validated:
            EXPECT_EQ(vorn::LoadOutcome::not_validated, outcome);
            EXPECT_EQ(before, record) << "a refused file changed the command record";
            break;
        }
        EXPECT_TRUE(p.untouched());
    }
}

}  // namespace
