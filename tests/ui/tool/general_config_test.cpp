// The general system configuration dialog driven in the real Plandesk.exe: the answer
// ring's cut, the voice file type list and its stored names, Save's "0" and its box, the
// disabled outside-line digit, and the dialog without a working file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config_record.h"
#include "plandesk_driver.h"

namespace {

constexpr int kInfo1 = 1000, kInfo2 = 1001, kInfo3 = 1002, kOutside = 1004, kRing = 1005, kIntDelay = 1007,
              kExtDelay = 1008, kPassword = 1003, kVoxType = 1012;

const std::string kSavedText = std::string(23, ' ') + "Saved";

void save_expecting_box(pd::Plandesk& tool, HWND dialog)
{
    ASSERT_TRUE(wd::click(wd::child(dialog, IDOK)));
    wd::MessageBoxInfo box;
    ASSERT_TRUE(tool.wait_box(&box));
    EXPECT_EQ(box.text, kSavedText);
    EXPECT_EQ(box.caption, "General System Configuration");
    ASSERT_TRUE(wd::dismiss(box));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
    EXPECT_TRUE(tool.program.running());
}

// Every text of the dialog's window and its controls, for checking labels verbatim.
std::vector<std::string> texts_of(HWND dialog)
{
    std::vector<std::string> out{wd::text(dialog)};
    for (HWND h : wd::descendants(dialog)) out.push_back(wd::text(h));
    return out;
}

TEST(GeneralDialog, ShowsItsLabelsGroupsAndButtonsVerbatim)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dialog));
    const std::vector<std::string> texts = texts_of(dialog);
    const char* expected[] = {
        "General System Configuration",
        "Replace with your own specific information for your end users.",
        "System Answering Specifics",
        "System will answer call on ring:",
        "Maximum 5 rings.",
        "Vox file type :",
        "System Dialing Dialing Specifics",
        "What is the digital for getting an external line? The setting allows to computer to send calls to a "
        "designated outside phone #.",
        "The option is disabled. See Help for complete explanation.",
        "Internal Transfer dialing delay:",
        "External Dialing transfer delay",
        "Seconds",
        "Various PBX has different delay for getting a dial tone. The configuration allows you to fine tune a "
        "computer telephony system  to achieve a most stable and professional sounding system.",
        "Do you want to secure your configuration file from accidental modification with a password? Check means Yes",
        "Save General Configuration",
        "Cancel",
    };
    for (const char* e : expected) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), e), texts.end()) << "missing \"" << e << "\"";
    }
    EXPECT_EQ(wd::text(wd::child(dialog, IDOK)), "Save General Configuration");
    EXPECT_TRUE(wd::window_style(wd::child(dialog, IDOK)) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(wd::window_style(dialog) & WS_SYSMENU);
    const LONG_PTR combo_style = wd::window_style(wd::child(dialog, kVoxType));
    EXPECT_EQ(combo_style & 3, CBS_DROPDOWNLIST);
    EXPECT_FALSE(combo_style & CBS_SORT);
    ASSERT_TRUE(wd::click(wd::child(dialog, IDCANCEL)));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
}

TEST(GeneralDialog, AnswerRingKeepsItsFirstCharacterAndTheTypeStoresItsNeighbourName)
{
    struct Row {
        const char* typed_ring;
        const char* stored_ring;
        int entry;
        const char* entry_text;
        const char* stored_name;
    };
    const Row rows[] = {
        {"10", "1", 5, "DRT_16*KHZ", "DRT_11KHZ"},
        {"7", "7", 0, "DRT_4*KHZ", "DRT_6KHZ"},  // above the label's maximum, still stored
        {"3", "3", 2, "DRT_8KHZ", "DRT_8KHZ"},
    };
    // Save leaves the tool running: one start serves every row.
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("ring ") + r.typed_ring + ", entry " + r.entry_text);
        HWND dialog = nullptr;
        ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dialog));
        ASSERT_TRUE(wd::set_text(wd::child(dialog, kRing), r.typed_ring));
        ASSERT_TRUE(pd::pick_entry(dialog, kVoxType, r.entry));
        ASSERT_TRUE(pd::wait_text(wd::child(dialog, kVoxType), r.entry_text));
        save_expecting_box(tool, dialog);

        zel::ConfigRecord rec;
        ASSERT_TRUE(tool.record(&rec));
        EXPECT_EQ(zel::get_field(rec, zel::Field::answer_ring), r.stored_ring);
        EXPECT_EQ(zel::get_field(rec, zel::Field::vox_type_index), std::to_string(r.entry));
        EXPECT_EQ(zel::get_field(rec, zel::Field::vox_type_name), r.stored_name);
    }
}

// Each pick shows its entry once the dialog has taken it, and Save stores the pick's
// index; an empty index shows the first entry yet stores nothing until a pick.
TEST(GeneralDialog, EmptyIndexShowsTheFirstEntryAndEachPickShowsItsOwn)
{
    const char* entries[] = {"DRT_4*KHZ", "DRT_6KHZ", "DRT_8KHZ", "DRT_11KHZ", "DRT_12*KHZ", "DRT_16*KHZ", "DRT_20*KHZ"};
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());  // a new record: vox_type_index and vox_type_name empty
    zel::ConfigRecord before;
    ASSERT_TRUE(tool.record(&before));
    ASSERT_EQ(zel::get_field(before, zel::Field::vox_type_index), "");

    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dialog));
    HWND combo = wd::child(dialog, kVoxType);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(wd::text(combo), "DRT_4*KHZ");
    save_expecting_box(tool, dialog);
    zel::ConfigRecord rec;
    ASSERT_TRUE(tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::vox_type_index), "");
    EXPECT_EQ(zel::get_field(rec, zel::Field::vox_type_name), "") << "the name stays empty until a pick";

    ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dialog));
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(pd::pick_entry(dialog, kVoxType, i));
        EXPECT_TRUE(pd::wait_text(wd::child(dialog, kVoxType), entries[i])) << i;
    }
    save_expecting_box(tool, dialog);
    ASSERT_TRUE(tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::vox_type_index), "6");
    EXPECT_NE(zel::get_field(rec, zel::Field::vox_type_name), "") << "a pick stores a name";
}

TEST(GeneralDialog, SaveStoresZeroInTheValidatedFlagAndTheDisabledDigitUnchanged)
{
    zel::ConfigRecord start = zel::default_record();
    zel::set_field(start, zel::Field::info_line_1, "Acme Dental, 12 Harbour Road");
    zel::set_field(start, zel::Field::info_line_2, "Line two");
    zel::set_field(start, zel::Field::info_line_3, "");
    zel::set_field(start, zel::Field::answer_ring, "2");
    zel::set_field(start, zel::Field::int_transfer_delay, "3");
    zel::set_field(start, zel::Field::ext_transfer_delay, "4");
    zel::set_field(start, zel::Field::outside_line_digit, "9");
    zel::set_field(start, zel::Field::vox_type_index, "3");
    zel::set_field(start, zel::Field::vox_type_name, "DRT_11KHZ");
    zel::set_field(start, zel::Field::validated_flag, "1");  // as an export would leave it

    pd::Plandesk tool;
    ASSERT_TRUE(tool.put_record(start));
    ASSERT_TRUE(tool.start());
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dialog));

    EXPECT_EQ(wd::text(wd::child(dialog, kInfo1)), "Acme Dental, 12 Harbour Road");
    EXPECT_EQ(wd::text(wd::child(dialog, kInfo2)), "Line two");
    EXPECT_EQ(wd::text(wd::child(dialog, kInfo3)), "");
    EXPECT_EQ(wd::text(wd::child(dialog, kRing)), "2");
    EXPECT_EQ(wd::text(wd::child(dialog, kIntDelay)), "3");
    EXPECT_EQ(wd::text(wd::child(dialog, kExtDelay)), "4");
    EXPECT_EQ(wd::text(wd::child(dialog, kOutside)), "9");
    EXPECT_FALSE(IsWindowEnabled(wd::child(dialog, kOutside)));
    EXPECT_EQ(wd::text(wd::child(dialog, kVoxType)), "DRT_11KHZ");
    HWND password = wd::child(dialog, kPassword);
    ASSERT_NE(password, nullptr) << "the password box is part of the template";
    EXPECT_FALSE(IsWindowVisible(password));
    EXPECT_FALSE(IsWindowEnabled(password));

    // A long info line is cut to 68; a two-digit delay to its first digit.
    const std::string long_line(80, 'x');
    ASSERT_TRUE(wd::set_text(wd::child(dialog, kInfo3), long_line));
    ASSERT_TRUE(wd::set_text(wd::child(dialog, kIntDelay), "25"));
    save_expecting_box(tool, dialog);

    zel::ConfigRecord expected = start;
    zel::set_field(expected, zel::Field::validated_flag, "0");
    zel::set_field(expected, zel::Field::info_line_3, long_line.substr(0, 68));
    zel::set_field(expected, zel::Field::int_transfer_delay, "2");
    zel::ConfigRecord rec;
    ASSERT_TRUE(tool.record(&rec));
    EXPECT_EQ(zel::get_field(rec, zel::Field::validated_flag), "0");
    EXPECT_EQ(zel::get_field(rec, zel::Field::outside_line_digit), "9");
    EXPECT_EQ(zel::get_field(rec, zel::Field::info_line_3), long_line.substr(0, 68));
    EXPECT_EQ(zel::get_field(rec, zel::Field::int_transfer_delay), "2");
    EXPECT_TRUE(rec == expected) << "Save changed bytes it does not own";
}

TEST(GeneralDialog, WithoutWorkingFileItOpensEmptyAndSaveWritesAndShowsNothing)
{
    pd::Plandesk tool;
    ASSERT_TRUE(tool.start());
    ASSERT_TRUE(tool.program.remove_file("zel_system.cfg"));
    HWND dialog = nullptr;
    ASSERT_TRUE(tool.open_dialog(pd::kGeneral, &dialog));
    for (int id : {kInfo1, kInfo2, kInfo3, kRing, kIntDelay, kExtDelay, kOutside})
        EXPECT_EQ(wd::text(wd::child(dialog, id)), "") << id;
    EXPECT_EQ(SendMessageA(wd::child(dialog, kVoxType), CB_GETCURSEL, 0, 0), CB_ERR);

    ASSERT_TRUE(wd::set_text(wd::child(dialog, kRing), "2"));
    ASSERT_TRUE(pd::pick_entry(dialog, kVoxType, 3));
    ASSERT_TRUE(wd::click(wd::child(dialog, IDOK)));
    ASSERT_TRUE(wd::wait_window_gone(dialog, 5000));
    EXPECT_TRUE(tool.expect_no_box());
    EXPECT_FALSE(tool.program.file_exists("zel_system.cfg"));
    EXPECT_TRUE(tool.program.running());
}

}  // namespace
