// The working file: created only when missing, never wiped, and an edit cycle that writes the
// whole image back on confirm, nothing on cancel, and reports a write that did not happen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "record_file.h"
#include "working_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using zel::CommitResult;
using zel::ConfigRecord;
using zel::EnsureResult;
using zel::Field;
using zel::WorkingFileEdit;

namespace {

// A fresh folder per test, removed afterwards.
class WorkingFile : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(testing::TempDir()) / (std::string("zelwf_") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const char* name = zel::kWorkingFileName) const { return (dir_ / name).string(); }

    static std::string read_all(const std::string& p)
    {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void write_all(const std::string& p, const std::string& bytes)
    {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path dir_;
};

ConfigRecord operator_record()
{
    ConfigRecord rec = zel::default_record();
    zel::set_field(rec, Field::info_line_1, "Acme Dental, front desk");
    zel::set_field(rec, Field::route_ext, 3, "2041");
    zel::set_field(rec, Field::day_closed, 6, "01");
    return rec;
}

}  // namespace

TEST_F(WorkingFile, MissingFileIsCreatedWithTheDefaultRecord)
{
    const auto outcome = zel::ensure_working_file(path().c_str());
    EXPECT_EQ(EnsureResult::created, outcome.result);
    const std::string disk = read_all(path());
    EXPECT_EQ(30249u, disk.size());
    EXPECT_EQ(zel::to_disk(zel::default_record()), disk);
}

TEST_F(WorkingFile, ExistingFileIsNeitherReadNorChanged)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"operator design", zel::to_disk(operator_record())},
        {"short junk", "not a record"},
        {"empty", ""},
        {"bare line feeds", std::string(30054, '\n')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_all(path(), c.bytes);
        EXPECT_EQ(EnsureResult::existed, zel::ensure_working_file(path().c_str()).result);
        EXPECT_EQ(c.bytes, read_all(path()));
    }
}

TEST_F(WorkingFile, SecondStartLeavesTheCreatedFileByteForByte)
{
    ASSERT_EQ(EnsureResult::created, zel::ensure_working_file(path().c_str()).result);
    const std::string first = read_all(path());
    EXPECT_EQ(EnsureResult::existed, zel::ensure_working_file(path().c_str()).result);
    EXPECT_EQ(first, read_all(path()));
}

TEST_F(WorkingFile, UnusablePlacesAreReportedAndNothingIsCreatedOrWiped)
{
    // A folder of that name exists but cannot be opened as a file: it must not be replaced.
    fs::create_directory(path());
    auto outcome = zel::ensure_working_file(path().c_str());
    EXPECT_EQ(EnsureResult::unusable, outcome.result);
    EXPECT_NE(0, outcome.fault.err);
    EXPECT_EQ(zel::crt_reason(outcome.fault.err), outcome.fault.reason);
    EXPECT_TRUE(fs::is_directory(path()));

    // A folder that is not there: the file cannot be created.
    const std::string nowhere = (dir_ / "no such folder" / zel::kWorkingFileName).string();
    outcome = zel::ensure_working_file(nowhere.c_str());
    EXPECT_EQ(EnsureResult::unusable, outcome.result);
    EXPECT_EQ(ENOENT, outcome.fault.err);
    EXPECT_FALSE(outcome.fault.reason.empty());
    EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
}

#ifdef _WIN32
TEST_F(WorkingFile, LockedFileIsReportedNotRecreated)
{
    // Another program holds the file open. With write sharing left open a create would
    // succeed and wipe the design, so only "missing" may ever lead to a create.
    const struct {
        const char* name;
        DWORD share;
    } locks[] = {
        {"shares nothing", 0},
        {"shares writing only", FILE_SHARE_WRITE},
    };
    const std::string design = zel::to_disk(operator_record());
    for (const auto& c : locks) {
        SCOPED_TRACE(c.name);
        write_all(path(), design);
        HANDLE lock = CreateFileA(path().c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, lock);
        const auto outcome = zel::ensure_working_file(path().c_str());
        CloseHandle(lock);
        EXPECT_EQ(EnsureResult::unusable, outcome.result);
        EXPECT_EQ(EACCES, outcome.fault.err);
        EXPECT_EQ(design, read_all(path()));
    }
}

TEST_F(WorkingFile, ReadOnlyFileIsReportedNotRecreated)
{
    const std::string design = zel::to_disk(operator_record());
    write_all(path(), design);
    ASSERT_TRUE(SetFileAttributesA(path().c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine lets a root user write a read-only file; only where it is enforced can it be shown.
    HANDLE probe = CreateFileA(path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        SetFileAttributesA(path().c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "this system lets us write read-only files";
    }
    const auto outcome = zel::ensure_working_file(path().c_str());
    SetFileAttributesA(path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(EnsureResult::unusable, outcome.result);
    EXPECT_EQ(design, read_all(path()));
}
#endif

TEST_F(WorkingFile, ConfirmWritesTheWholeImageSoUnownedFieldsSurvive)
{
    write_all(path(), zel::to_disk(operator_record()));
    WorkingFileEdit edit;
    ConfigRecord image;
    ASSERT_TRUE(edit.begin(image, path().c_str()));
    EXPECT_TRUE(edit.is_open());
    EXPECT_EQ(operator_record(), image);

    // The dialog owns only the answer ring; everything else it writes back as read.
    zel::set_field(image, Field::answer_ring, "3");
    EXPECT_EQ(CommitResult::saved, edit.commit(image));
    EXPECT_FALSE(edit.is_open());

    ConfigRecord expected = operator_record();
    zel::set_field(expected, Field::answer_ring, "3");
    EXPECT_EQ(zel::to_disk(expected), read_all(path()));
    // The stream was closed: confirming twice writes nothing more.
    EXPECT_EQ(CommitResult::not_open, edit.commit(image));
}

TEST_F(WorkingFile, EveryEndWithoutConfirmWritesNothing)
{
    const std::string design = zel::to_disk(operator_record());
    const struct {
        const char* name;
        void (*end)(WorkingFileEdit&);
    } ends[] = {
        {"cancel", [](WorkingFileEdit& e) { e.abandon(); }},
        {"cancel twice", [](WorkingFileEdit& e) { e.abandon(); e.abandon(); }},
        {"dialog destroyed", [](WorkingFileEdit&) {}},
    };
    for (const auto& c : ends) {
        SCOPED_TRACE(c.name);
        write_all(path(), design);
        {
            WorkingFileEdit edit;
            ConfigRecord image;
            ASSERT_TRUE(edit.begin(image, path().c_str()));
            zel::set_field(image, Field::info_line_2, "changed in the dialog");
            c.end(edit);
        }
        EXPECT_EQ(design, read_all(path()));
        // Nothing holds the file any more: it can be replaced.
        EXPECT_TRUE(fs::remove(path()));
    }
}

TEST_F(WorkingFile, UnopenableFileLeavesTheImageEmptyAndConfirmWritesNothing)
{
    WorkingFileEdit edit;
    ConfigRecord image;  // all NUL, as a dialog starts
    EXPECT_FALSE(edit.begin(image, path().c_str()));
    EXPECT_FALSE(edit.is_open());
    EXPECT_EQ(ENOENT, edit.fault().err);
    EXPECT_EQ(ConfigRecord{}, image);
    zel::set_field(image, Field::answer_ring, "2");
    EXPECT_EQ(CommitResult::not_open, edit.commit(image));
    EXPECT_FALSE(fs::exists(path()));
}

TEST_F(WorkingFile, ShortFileTakesItsTailFromTheDefaultRecordAndSaveWritesASoundRecord)
{
    const std::string whole = zel::to_disk(operator_record());
    write_all(path(), whole.substr(0, 600));
    WorkingFileEdit edit;
    ConfigRecord image;
    image.bytes.fill('#');
    ASSERT_TRUE(edit.begin(image, path().c_str()));
    EXPECT_EQ(operator_record().bytes[500], image.bytes[500]);
    const ConfigRecord fresh = zel::default_record();
    EXPECT_TRUE(std::equal(image.bytes.begin() + 600, image.bytes.end(), fresh.bytes.begin() + 600));
    EXPECT_EQ(CommitResult::saved, edit.commit(image));
    EXPECT_EQ(zel::to_disk(image), read_all(path()));
}

TEST_F(WorkingFile, EachCycleReadsWhatThePreviousOneWrote)
{
    ASSERT_EQ(EnsureResult::created, zel::ensure_working_file(path().c_str()).result);
    const Field owned[] = {Field::answer_ring, Field::open_greeting_vox, Field::route_port};
    for (Field f : owned) {
        WorkingFileEdit edit;
        ConfigRecord image;
        ASSERT_TRUE(edit.begin(image, path().c_str()));
        zel::set_field(image, f, "7");
        ASSERT_EQ(CommitResult::saved, edit.commit(image));
    }
    ConfigRecord back;
    ASSERT_EQ(zel::ReadStatus::ok, zel::load_record(path().c_str(), back));
    for (Field f : owned) EXPECT_EQ("7", zel::get_field(back, f));
}

// A device that takes the open but refuses every byte, as a full disk does: /dev/full,
// which Wine shows as Z:\dev\full.
#ifdef _WIN32
constexpr const char* kFullDevice = "Z:\\dev\\full";
#else
constexpr const char* kFullDevice = "/dev/full";
#endif

TEST_F(WorkingFile, FailedWriteIsReportedWithTheSystemsReason)
{
    WorkingFileEdit edit;
    ConfigRecord image;
    if (!edit.begin(image, kFullDevice)) GTEST_SKIP() << kFullDevice << ": " << edit.fault().reason;
    EXPECT_EQ(CommitResult::failed, edit.commit(image));
    EXPECT_FALSE(edit.is_open());
    EXPECT_EQ(ENOSPC, edit.fault().err);
    EXPECT_EQ(zel::crt_reason(ENOSPC), edit.fault().reason);
}

TEST(WorkingFileReason, InstalledSourceWordsEveryFault)
{
    zel::set_reason_source([](int err) { return std::string("system says ") + std::to_string(err); });
    WorkingFileEdit edit;
    ConfigRecord image;
    const bool opened = edit.begin(image, "no/such/folder/zel_system.cfg");
    const std::string reason = edit.fault().reason;
    zel::set_reason_source(nullptr);
    EXPECT_FALSE(opened);
    EXPECT_EQ("system says " + std::to_string(ENOENT), reason);
    EXPECT_EQ(zel::crt_reason(ENOENT), zel::reason_for(ENOENT));
}
