// The validation dialog of the real Plandesk.exe, driven from outside under Wine: Set
// offered only after a clean report, the report's text and its repeatability, the
// exported command file byte for byte, and the boxes for a working file that is gone and
// for an export that cannot be written.
#include "plandesk_driver.h"

#include "commands.h"
#include "record_file.h"
#include "record_layout.h"

#include <string>
#include <vector>

namespace {

using zel::Field;

constexpr int kReportBox = 1000;
constexpr int kSetForUse = 1015;
constexpr DWORD kWaitMs = 15000;

// Disk offset of validated_flag: its image offset plus one CR for each of the three
// lines before it.
constexpr std::size_t kValidatedDiskOffset = 312 + 3;

// Every report item present, and the fields the report ignores filled too, so that an
// export that changed any other byte shows.
zel::ConfigRecord complete_record()
{
    zel::ConfigRecord r = zel::default_record();
    const struct {
        Field field;
        int index;
        const char* value;
    } values[] = {
        {Field::closed_greeting_vox, 0, "C:\\Voice\\closed.vox"},
        {Field::system_error_vox, 0, "C:\\Voice\\error.vox"},
        {Field::open_greeting_vox, 0, "C:\\Voice\\open.vox"},
        {Field::wrong_ext_vox, 0, "C:\\Voice\\wrong ext.vox"},
        {Field::no_input_vox, 0, "C:\\Voice\\none.vox"},
        {Field::vox_type_name, 0, "8K"},
        {Field::vox_type_index, 0, "2"},
        {Field::answer_ring, 0, "3"},
        {Field::int_transfer_delay, 0, "2"},
        {Field::validated_flag, 0, "0"},
        {Field::route_ext, 4, "2004"},
        {Field::route_port, 4, "14"},
        {Field::route_vox, 4, "C:\\Voice\\r4.vox"},
        {Field::route_from_time, 4, "08:00:00 AM"},
        {Field::route_alt_number, 4, "5551234"},
        {Field::holiday_date, 0, "12/25/2030"},
        {Field::day_open_time, 2, "09:00:00 AM"},
    };
    for (const auto& v : values) EXPECT_EQ(zel::SetResult::ok, zel::set_field(r, v.field, v.index, v.value));
    return r;
}

std::string piece(const char* text, std::size_t width)
{
    std::string s = text;
    s.resize(width, ' ');
    return s;
}

// The report of a complete record, written out piece by piece with its widths.
std::string clean_report_text()
{
    return piece("Close Voice: OK.", 62) + piece("System Error Voice: OK.", 62) +
           piece("Open Greeting Voice: OK.", 62) + piece("Wrong Extension Voice: OK.", 62) +
           piece("No Input Voice: OK.", 62) + piece("Voice Type Selection: Selectied.", 59) +
           piece("One or more extension, port & Voice defined correctly.", 54) + piece("", 53) +
           piece("General Report Completed. No Show Stopper Detected!", 66) + piece("", 66) + piece("", 53) +
           piece("NOTE: The Report only validates the design to be ", 49) +
           piece("functional. It does not check for invalid voice ", 48) +
           piece("type or indicate the design is fully functional. ", 49) +
           piece("True assurance is to test run the design THOROUGHLY.", 52) + piece("", 66) + piece("", 66) +
           "The command file used by VORN MIRT is ZEL_SYSTEM.CMD. Copy or move the file into VORN MIRT Program "
           "Folder and startup the program.";
}

class ValidateDlgTest : public ::testing::Test {
protected:
    void put_working_file(const zel::ConfigRecord& rec)
    {
        working_disk = zel::to_disk(rec);
        ASSERT_TRUE(tool.put_file_bytes(working_disk));
    }

    void launch()
    {
        ASSERT_TRUE(tool.install());
        ASSERT_TRUE(tool.start_shown());
    }

    void open_dialog()
    {
        ASSERT_TRUE(tool.open_dialog(pd::kValidate, &dlg));
        report_box = wd::child(dlg, kReportBox);
        set_button = wd::child(dlg, kSetForUse);
        report_button = wd::child(dlg, IDOK);
        ASSERT_NE(nullptr, report_box);
        ASSERT_NE(nullptr, set_button);
        ASSERT_NE(nullptr, report_button);
    }

    // Returns once the dialog has handled everything posted to it before: a marker posted
    // behind those messages, then a round trip for what their handlers sent.
    void settle()
    {
        ASSERT_TRUE(pd::drain_posted(report_box));
        ASSERT_TRUE(wd::round_trip(dlg));
    }

    std::string report() const { return wd::text(report_box); }

    // Clicks Report and returns the text it shows. The box is emptied from outside first,
    // so a text seen afterwards is the new report's.
    std::string run_report()
    {
        EXPECT_TRUE(wd::set_text(report_box, ""));
        EXPECT_TRUE(wd::click(report_button));
        EXPECT_TRUE(wd::wait_until([&] { return !report().empty(); }, kWaitMs, "a report in box 1000"));
        settle();
        return report();
    }

    void expect_box(const std::string& caption, const std::string& text_start, std::string* text = nullptr)
    {
        wd::MessageBoxInfo box;
        ASSERT_TRUE(tool.wait_box(&box));
        EXPECT_EQ(caption, box.caption);
        EXPECT_EQ(text_start, box.text.substr(0, text_start.size())) << box.text;
        ASSERT_EQ(1u, box.buttons.size()) << "only OK";
        EXPECT_EQ(IDOK, box.buttons[0].first);
        if (text) *text = box.text;
        ASSERT_TRUE(wd::dismiss(box));
        settle();
    }

    // zelcfg's own soundness check of a file Plandesk wrote.
    void expect_sound(const std::string& name)
    {
        std::string out;
        std::string err;
        EXPECT_EQ(0, zelcfg::run({"check", program.path(name)}, out, err)) << out << err;
    }

    // The exported command file is the working file with validated_flag '1', nothing else.
    void expect_exported_copy()
    {
        const std::string cmd = program.read_file("zel_system.cmd");
        ASSERT_EQ(working_disk.size(), cmd.size());
        std::vector<std::size_t> differ;
        for (std::size_t i = 0; i < cmd.size(); ++i) {
            if (cmd[i] != working_disk[i]) differ.push_back(i);
        }
        EXPECT_EQ(std::vector<std::size_t>{kValidatedDiskOffset}, differ);
        EXPECT_EQ('1', cmd[kValidatedDiskOffset]);
        EXPECT_EQ(working_disk, program.read_file("zel_system.cfg")) << "the working file never carries the mark";
        expect_sound("zel_system.cmd");
    }

    void close_dialog()
    {
        ASSERT_TRUE(wd::click(wd::child(dlg, IDCANCEL)));
        ASSERT_TRUE(wd::wait_window_gone(dlg, kWaitMs));
    }

    pd::Plandesk tool;
    wd::Program& program = tool.program;
    std::string working_disk;
    HWND dlg = nullptr;
    HWND report_box = nullptr;
    HWND set_button = nullptr;
    HWND report_button = nullptr;
};

TEST_F(ValidateDlgTest, SetIsOfferedOnlyAfterACleanReport)
{
    zel::ConfigRecord spoilt = complete_record();
    zel::set_field(spoilt, Field::wrong_ext_vox, 0, "");
    put_working_file(spoilt);
    launch();
    open_dialog();

    EXPECT_EQ("", report());
    EXPECT_FALSE(IsWindowEnabled(set_button));
    EXPECT_TRUE(IsWindowEnabled(report_button));
    // Clicking the disabled button exports nothing.
    ASSERT_TRUE(wd::click(set_button));
    settle();
    EXPECT_FALSE(program.file_exists("zel_system.cmd"));

    // A show-stopper: the report says which, and Set stays disabled.
    std::string text = run_report();
    EXPECT_EQ(piece("Wrong Extension Voice: Not defined.", 62), text.substr(62 * 3, 62)) << text;
    EXPECT_EQ(std::string::npos, text.find("No Show Stopper Detected")) << text;
    EXPECT_FALSE(IsWindowEnabled(set_button));

    // The operator mends the design; the next report offers Set.
    put_working_file(complete_record());
    EXPECT_EQ(clean_report_text(), run_report());
    EXPECT_TRUE(wd::wait_until([&] { return IsWindowEnabled(set_button) != FALSE; }, kWaitMs, "Set enabled"));

    // A later report with a show-stopper never takes the offer back.
    put_working_file(spoilt);
    text = run_report();
    EXPECT_NE(std::string::npos, text.find("Wrong Extension Voice: Not defined.")) << text;
    EXPECT_TRUE(IsWindowEnabled(set_button));
    EXPECT_FALSE(program.file_exists("zel_system.cmd"));

    // Reopened, the dialog starts afresh.
    close_dialog();
    open_dialog();
    EXPECT_EQ("", report());
    EXPECT_FALSE(IsWindowEnabled(set_button));
}

TEST_F(ValidateDlgTest, ReportingTwiceGivesTheSameText)
{
    put_working_file(complete_record());
    launch();
    open_dialog();
    const std::string first = run_report();
    const std::string second = run_report();
    EXPECT_EQ(clean_report_text(), first);
    EXPECT_EQ(first, second);
    // IDOK (what Enter sends) is Report too: the dialog stays and shows the same text.
    ASSERT_TRUE(wd::set_text(report_box, ""));
    ASSERT_TRUE(wd::post_command(dlg, IDOK));
    ASSERT_TRUE(wd::wait_until([&] { return !report().empty(); }, kWaitMs, "the report after IDOK"));
    EXPECT_EQ(first, report());
    EXPECT_TRUE(IsWindow(dlg));
}

TEST_F(ValidateDlgTest, EachCheckOfTheReportStartsALineOfItsOwn)
{
    put_working_file(complete_record());
    launch();
    open_dialog();
    ASSERT_EQ(clean_report_text(), run_report());
    // The padding carries each of the seven checks onto its own line, and the completion
    // line after them.
    const struct {
        int line;
        std::size_t offset;
    } starts[] = {{0, 0}, {1, 62}, {2, 124}, {3, 186}, {4, 248}, {5, 310}, {6, 369}};
    for (const auto& s : starts) {
        DWORD_PTR index = 0;
        ASSERT_TRUE(SendMessageTimeoutA(report_box, EM_LINEINDEX, s.line, 0, SMTO_NORMAL, kWaitMs, &index));
        EXPECT_EQ(s.offset, index) << "line " << s.line << " starts with \""
                                   << clean_report_text().substr(index, 20) << "\"";
    }
    const std::string text = clean_report_text();
    const std::size_t completed = text.find("General Report Completed.");
    DWORD_PTR line = 0;
    ASSERT_TRUE(SendMessageTimeoutA(report_box, EM_LINEFROMCHAR, completed, 0, SMTO_NORMAL, kWaitMs, &line));
    DWORD_PTR index = 0;
    ASSERT_TRUE(SendMessageTimeoutA(report_box, EM_LINEINDEX, line, 0, SMTO_NORMAL, kWaitMs, &index));
    ASSERT_LE(index, completed);
    EXPECT_EQ(std::string::npos, text.substr(index, completed - index).find_first_not_of(' '))
        << "the completion line's line starts with \"" << text.substr(index, completed - index) << "\"";
}

TEST_F(ValidateDlgTest, ExportWritesTheWorkingFileMarkedValidatedAndLeavesOnlyClose)
{
    put_working_file(complete_record());
    launch();
    open_dialog();
    ASSERT_EQ(clean_report_text(), run_report());
    ASSERT_TRUE(wd::wait_until([&] { return IsWindowEnabled(set_button) != FALSE; }, kWaitMs, "Set enabled"));

    ASSERT_TRUE(wd::click(set_button));
    ASSERT_TRUE(wd::wait_until(
        [&] { return !IsWindowEnabled(set_button) && !IsWindowEnabled(report_button); }, kWaitMs,
        "Set and Report disabled after the export"));
    settle();
    EXPECT_TRUE(tool.expect_no_box()) << "a successful export says nothing";
    EXPECT_TRUE(IsWindowEnabled(wd::child(dlg, IDCANCEL)));
    expect_exported_copy();

    // Neither the disabled Report nor Enter runs a report any more.
    ASSERT_TRUE(wd::set_text(report_box, "cleared"));
    ASSERT_TRUE(wd::post_command(dlg, IDOK));
    settle();
    EXPECT_EQ("cleared", report());
    close_dialog();
}

TEST_F(ValidateDlgTest, AMissingWorkingFileGivesTheAlertAndChangesNothing)
{
    // Started without a working file, Plandesk creates one; that file must be sound too.
    launch();
    ASSERT_TRUE(wd::wait_until([&] { return program.file_exists("zel_system.cfg"); }, kWaitMs,
                               "zel_system.cfg created at start-up"));
    expect_sound("zel_system.cfg");
    ASSERT_TRUE(program.remove_file("zel_system.cfg"));
    open_dialog();

    ASSERT_TRUE(wd::click(report_button));
    expect_box("Configuration ALERT", "Cannot Open zel_system.cfg for testing");
    EXPECT_EQ("", report());
    EXPECT_FALSE(IsWindowEnabled(set_button));

    // After a clean report the alert leaves that report and the offer of Set alone.
    put_working_file(complete_record());
    ASSERT_EQ(clean_report_text(), run_report());
    ASSERT_TRUE(IsWindowEnabled(set_button));
    ASSERT_TRUE(program.remove_file("zel_system.cfg"));
    ASSERT_TRUE(wd::click(report_button));
    std::string text;
    expect_box("Configuration ALERT", "Cannot Open zel_system.cfg for testing", &text);
    EXPECT_EQ("Cannot Open zel_system.cfg for testing", text);
    EXPECT_EQ(clean_report_text(), report());
    EXPECT_TRUE(IsWindowEnabled(set_button));
    EXPECT_TRUE(IsWindowEnabled(report_button));
}

TEST_F(ValidateDlgTest, AnExportThatCannotWriteSaysSoAndKeepsBothButtons)
{
    put_working_file(complete_record());
    ASSERT_TRUE(CreateDirectoryA(program.path("zel_system.cmd").c_str(), nullptr));
    launch();
    open_dialog();
    ASSERT_EQ(clean_report_text(), run_report());

    ASSERT_TRUE(wd::click(set_button));
    std::string text;
    expect_box("Configuration Not Exported", "Could not write ZEL_SYSTEM.CMD: ", &text);
    EXPECT_GT(text.size(), std::string("Could not write ZEL_SYSTEM.CMD: ").size()) << "the system's reason";
    EXPECT_TRUE(IsWindowEnabled(set_button));
    EXPECT_TRUE(IsWindowEnabled(report_button));
    const DWORD attributes = GetFileAttributesA(program.path("zel_system.cmd").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    // A working file gone by the time of the export: the read fails, nothing is written.
    ASSERT_TRUE(RemoveDirectoryA(program.path("zel_system.cmd").c_str()));
    ASSERT_TRUE(program.remove_file("zel_system.cfg"));
    ASSERT_TRUE(wd::click(set_button));
    expect_box("Configuration Not Exported", "Could not read zel_system.cfg: ");
    EXPECT_FALSE(program.file_exists("zel_system.cmd"));
    EXPECT_TRUE(IsWindowEnabled(set_button));
    EXPECT_TRUE(IsWindowEnabled(report_button));

    // With the cause mended, the same dialog exports.
    put_working_file(complete_record());
    ASSERT_TRUE(wd::click(set_button));
    ASSERT_TRUE(wd::wait_until(
        [&] { return !IsWindowEnabled(set_button) && !IsWindowEnabled(report_button); }, kWaitMs,
        "Set and Report disabled after the export"));
    settle();
    expect_exported_copy();
}

}  // namespace
