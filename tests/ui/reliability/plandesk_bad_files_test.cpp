// Plandesk.exe under Wine handed every damaged working file of the table: at start-up,
// in each of the four editing dialogs (Cancel; then Save, for each different record the
// dialogs are shown) and in the validation dialog (Report, Set Configuration For Use). It
// must never crash, never change the file on start-up, Cancel or Report, and whatever it
// saves or exports must pass zelcfg check. What Save writes depends only on what the
// dialogs were shown, so cases that show the same record share one Save through the GUI;
// every case's own write path is checked without the GUI (bad_files_test).
#include "plandesk_driver.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "config_record.h"
#include "damaged_files.h"
#include "record_check.h"
#include "record_file.h"


namespace {

using reliability::DamagedFile;
using reliability::Form;

using pd::kWorkingFile;
constexpr DWORD kWaitMs = 20000;

struct EditDialog {
    pd::Dialog dialog;
    std::string saved;      // the confirmation box after a save, "caption: text"
    bool box_without_file;  // a box at start when the file cannot be opened
};

const EditDialog kEditDialogs[] = {
    {pd::kGeneral, "General System Configuration: " + std::string(23, ' ') + "Saved", false},
    {pd::kWeekly, "Extension Routing Configuration Updated: " + std::string(22, ' ') + "SAVED", false},
    {pd::kCallRoute, "Extension Routing Configuration Updated: " + std::string(22, ' ') + "SAVED",
     true},
    {pd::kHoliday, "Holiday Schedule Routing Configuration Updated: " + std::string(22, ' ') + "SAVED", false},
};

// What the dialogs are shown of a case: the record image a text-mode read gets, or
// nothing at all when the file cannot be opened for update.
std::string shown_record(const DamagedFile& c, bool openable)
{
    if (!openable) return "(cannot be opened)";
    zel::ConfigRecord image = zel::default_record();
    zel::from_disk(c.bytes, image);
    return std::string(image.bytes.begin(), image.bytes.end());
}

std::string first_finding(const std::string& disk)
{
    const zelcfg::CheckReport r = zelcfg::check_disk_bytes(disk);
    return r.findings.empty() ? std::string("sound") : r.findings.front().text;
}

// One Plandesk run in a fresh folder whose working file is one damaged case.
class ToolRun {
public:
    explicit ToolRun(const DamagedFile& c) : case_(c) {}
    ~ToolRun()
    {
        lock_.reset();
        SetFileAttributesA(program.path(kWorkingFile).c_str(), FILE_ATTRIBUTE_NORMAL);
        program.end();
    }

    // Puts the case in place (again), as the file was before anything touched it.
    testing::AssertionResult place()
    {
        const std::string path = program.path(kWorkingFile);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (case_.form == Form::directory) {
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(path.c_str(), nullptr))
                return testing::AssertionFailure() << "cannot make the folder " << path;
            return testing::AssertionSuccess();
        }
        if (wd::Status s = program.put_file(kWorkingFile, case_.bytes); !s)
            return testing::AssertionFailure() << s.message;
        if (case_.form == Form::read_only && !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY))
            return testing::AssertionFailure() << "cannot mark " << path << " read-only";
        if (case_.form == Form::locked) {
            lock_ = std::make_unique<wd::FileLock>(path);
            if (!lock_->held()) return testing::AssertionFailure() << "cannot hold " << path;
        }
        return testing::AssertionSuccess();
    }

    // Whether the tool can open the placed file for update (Wine lets a root user write a
    // read-only file).
    bool openable() const
    {
        if (case_.form == Form::directory) return false;
        HANDLE h = CreateFileA(program.path(kWorkingFile).c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        return true;
    }

    testing::AssertionResult untouched() const
    {
        const std::string path = program.path(kWorkingFile);
        if (case_.form == Form::directory) {
            const DWORD a = GetFileAttributesA(path.c_str());
            if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return testing::AssertionSuccess();
            return testing::AssertionFailure() << "the folder in place of the working file is gone";
        }
        const std::string now = lock_ ? lock_->read() : program.read_file(kWorkingFile);
        if (now == case_.bytes) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the working file changed: " << now.size() << " bytes, was "
                                           << case_.bytes.size() << " (" << first_finding(now) << ")";
    }

    // The tool's run: its program, main window, dialogs and boxes.
    pd::Plandesk tool;
    wd::Program& program = tool.program;


private:
    const DamagedFile& case_;
    std::unique_ptr<wd::FileLock> lock_;
};

// The cases that save through the GUI: the first of each different record shown.
bool saves_through_gui(const DamagedFile& c)
{
    static const std::vector<std::string> savers = [] {
        std::vector<std::string> names, shown;
        for (const DamagedFile& d : reliability::damaged_files()) {
            // Openable as the tool finds it: a plain file is, a folder or a held file is not
            // (a read-only one is for a root user; either way it shows as one of these).
            const bool can_open = d.form == Form::bytes || d.form == Form::read_only;
            const std::string key = shown_record(d, can_open);
            if (std::find(shown.begin(), shown.end(), key) != shown.end()) continue;
            shown.push_back(key);
            names.push_back(d.name);
        }
        return names;
    }();
    return std::find(savers.begin(), savers.end(), std::string(c.name)) != savers.end();
}

class PlandeskBadFile : public testing::TestWithParam<DamagedFile> {};

TEST_P(PlandeskBadFile, NeverCrashesNeverWritesADamagedRecord)
{
    const DamagedFile& c = GetParam();
    ToolRun run(c);
    ASSERT_TRUE(run.place());
    const bool openable = run.openable();
    // Start-up: only a file that cannot be opened for update is reported, before the main
    // window shows; no file is changed.
    if (!openable) {
        ASSERT_TRUE(run.tool.launch());
        wd::MessageBoxInfo box;
        ASSERT_TRUE(run.program.wait_message_box(kWaitMs, &box, "Configuration File Unavailable"));
        ASSERT_TRUE(wd::dismiss(box));
        ASSERT_TRUE(run.tool.wait_main());
    } else {
        ASSERT_TRUE(run.tool.start_shown());
    }
    EXPECT_TRUE(run.untouched());

    for (const EditDialog& d : kEditDialogs) {
        SCOPED_TRACE(d.dialog.caption);
        HWND dialog = nullptr;
        std::vector<std::string> boxes;
        const std::vector<std::string> at_open =
            d.box_without_file && !openable ? std::vector<std::string>{"Encounter Problem Opening: zel_system.cfg"}
                                            : std::vector<std::string>{};

        // Cancel writes nothing.
        ASSERT_TRUE(run.tool.open_dialog(d.dialog, &dialog, &boxes));
        ASSERT_TRUE(run.tool.press_and_close(dialog, IDCANCEL, &boxes));
        EXPECT_EQ(at_open, boxes);
        EXPECT_TRUE(run.untouched());

        if (!saves_through_gui(c)) continue;
        // Save writes a sound record whenever it writes at all.
        boxes.clear();
        ASSERT_TRUE(run.tool.open_dialog(d.dialog, &dialog, &boxes));
        ASSERT_TRUE(run.tool.press_and_close(dialog, IDOK, &boxes));
        ASSERT_TRUE(run.program.running()) << "Plandesk ended after " << d.dialog.caption;
        if (openable) {
            const std::string saved = run.program.read_file(kWorkingFile);
            EXPECT_EQ("sound", first_finding(saved));
            EXPECT_EQ(std::vector<std::string>{d.saved}, boxes);
            zel::ConfigRecord before = zel::default_record(), after{};
            zel::from_disk(c.bytes, before);
            zel::from_disk(saved, after);
            // A field none of the dialogs changes when it reads it back as it was.
            if (zel::get_field(before, zel::Field::route_ext, 0) == "1001") {
                EXPECT_EQ("1001", zel::get_field(after, zel::Field::route_ext, 0));
            }
            ASSERT_TRUE(run.place());
        } else {
            EXPECT_EQ(at_open, boxes);
            EXPECT_TRUE(run.untouched());
        }
    }

    // The report reads a whole record or shows its box; it never writes. An export, when
    // the report allows one, writes a sound command file.
    HWND dialog = nullptr;
    std::vector<std::string> boxes;
    ASSERT_TRUE(run.tool.open_dialog(pd::kValidate, &dialog, &boxes));
    EXPECT_TRUE(boxes.empty());
    ASSERT_TRUE(wd::click(wd::child(dialog, IDOK)));
    if (c.expected.whole_image && openable) {
        HWND report = wd::child(dialog, 1000);
        ASSERT_TRUE(wd::wait_until([&] { return !wd::text(report).empty(); }, kWaitMs, "the report"));
        if (c.expected.report == 0) {
            HWND set = wd::child(dialog, 1015);
            ASSERT_TRUE(wd::wait_until([&] { return IsWindowEnabled(set) != FALSE; }, kWaitMs, "Set enabled"));
            ASSERT_TRUE(wd::click(set));
            ASSERT_TRUE(wd::wait_until([&] { return run.program.file_exists("zel_system.cmd"); }, kWaitMs,
                                       "the command file"));
            ASSERT_TRUE(wd::wait_until([&] { return !IsWindowEnabled(set); }, kWaitMs, "the export to finish"));
            const std::string cmd = run.program.read_file("zel_system.cmd");
            EXPECT_EQ("sound", first_finding(cmd));
        }
    } else {
        wd::MessageBoxInfo box;
        ASSERT_TRUE(run.program.wait_message_box(kWaitMs, &box, "Configuration ALERT"));
        EXPECT_EQ("Cannot Open zel_system.cfg for testing", box.text);
        ASSERT_TRUE(wd::dismiss(box));
    }
    ASSERT_TRUE(run.tool.press_and_close(dialog, IDCANCEL, &boxes));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(run.untouched());

    // Still there, and it ends as asked.
    ASSERT_TRUE(run.program.running());
    ASSERT_TRUE(wd::post_command(run.tool.main, pd::kExitCommand));
    DWORD code = 1;
    ASSERT_TRUE(run.program.wait_exit(kWaitMs, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(run.untouched());
}

std::string case_name(const testing::TestParamInfo<DamagedFile>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, PlandeskBadFile, testing::ValuesIn(reliability::damaged_files()), case_name);

}  // namespace
