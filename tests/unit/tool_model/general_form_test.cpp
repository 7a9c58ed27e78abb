// The general configuration dialog: what it shows, the voice file type list, and Save's cuts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "general_form.h"
#include "record_fixture.h"

using zel::ConfigRecord;
using zel::Field;

TEST(GeneralForm, ShowsTheSevenTextsAndTheStoredTypeIndex)
{
    ConfigRecord rec = fixture::full_record();
    zel::set_field(rec, Field::answer_ring, "3");
    zel::set_field(rec, Field::outside_line_digit, "9");
    const zel::GeneralForm form = zel::load_general_form(rec);
    EXPECT_EQ(zel::get_field(rec, Field::info_line_1), form.info_line_1);
    EXPECT_EQ(zel::get_field(rec, Field::info_line_2), form.info_line_2);
    EXPECT_EQ(zel::get_field(rec, Field::info_line_3), form.info_line_3);
    EXPECT_EQ(69u, form.info_line_3.size());  // shown whole, though Save keeps 68
    EXPECT_EQ("3", form.answer_ring);
    EXPECT_EQ("9", form.outside_line_digit);
    EXPECT_EQ(zel::get_field(rec, Field::int_transfer_delay), form.int_transfer_delay);
    EXPECT_EQ(zel::get_field(rec, Field::ext_transfer_delay), form.ext_transfer_delay);

    struct Case {
        const char* stored;
        std::optional<int> selected;
    };
    const std::vector<Case> cases = {
        {"", 0},  {"0", 0}, {"5", 5},  {"6", 6},  {"7", std::nullopt}, {"12", std::nullopt},
        {"x", 0}, {"3abc", 3}, {" 4", 0}, {"0006", 6},
    };
    for (const Case& c : cases) {
        zel::set_field(rec, Field::vox_type_index, c.stored);
        EXPECT_EQ(c.selected, zel::load_general_form(rec).vox_type) << "stored \"" << c.stored << "\"";
    }
}

TEST(GeneralForm, SelectionStoresIndexAndGroupedNameAtOnce)
{
    const char* names[] = {"DRT_6KHZ", "DRT_6KHZ", "DRT_8KHZ", "DRT_11KHZ", "DRT_11KHZ", "DRT_11KHZ", "DRT_11KHZ"};
    const char* entries[] = {"DRT_4*KHZ", "DRT_6KHZ", "DRT_8KHZ", "DRT_11KHZ", "DRT_12*KHZ", "DRT_16*KHZ", "DRT_20*KHZ"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_STREQ(entries[i], zel::kVoxTypes[static_cast<std::size_t>(i)].entry);
        ConfigRecord rec = fixture::full_record();
        const ConfigRecord before = rec;
        ASSERT_TRUE(zel::select_vox_type(rec, i));
        EXPECT_EQ(std::to_string(i), zel::get_field(rec, Field::vox_type_index));
        EXPECT_EQ(names[i], zel::get_field(rec, Field::vox_type_name));
        EXPECT_TRUE(fixture::changes_outside(before, rec, {Field::vox_type_index, Field::vox_type_name}).empty());
    }
    for (int bad : {-1, 7, 100}) {
        ConfigRecord rec = fixture::full_record();
        const ConfigRecord before = rec;
        EXPECT_FALSE(zel::select_vox_type(rec, bad));
        EXPECT_EQ(before, rec);
    }
}

TEST(GeneralForm, SaveCutsEachTextAndClearsTheValidatedMark)
{
    struct Case {
        const char* what;
        std::string typed;
        std::string stored_ring;
    };
    const std::vector<Case> cases = {
        {"ten rings keep one digit", "10", "1"},
        {"seven is stored though the label says five", "7", "7"},
        {"empty stays empty", "", ""},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = fixture::full_record();
        zel::set_field(rec, Field::validated_flag, "1");
        const ConfigRecord before = rec;
        zel::GeneralForm form = zel::load_general_form(rec);
        form.answer_ring = c.typed;
        form.int_transfer_delay = "35";
        form.ext_transfer_delay = "";
        form.info_line_1 = std::string(70, 'I');
        form.info_line_2 = "Call us";
        zel::save_general_form(form, rec);

        EXPECT_EQ(c.stored_ring, zel::get_field(rec, Field::answer_ring)) << c.what;
        EXPECT_EQ("3", zel::get_field(rec, Field::int_transfer_delay)) << c.what;
        EXPECT_EQ("", zel::get_field(rec, Field::ext_transfer_delay)) << c.what;
        EXPECT_EQ(std::string(68, 'I'), zel::get_field(rec, Field::info_line_1)) << c.what;
        EXPECT_EQ("Call us", zel::get_field(rec, Field::info_line_2)) << c.what;
        EXPECT_EQ(zel::get_field(before, Field::info_line_3).substr(0, 68), zel::get_field(rec, Field::info_line_3));
        // The disabled outside-line digit goes back as it was shown (cut to its one character).
        EXPECT_EQ(zel::get_field(before, Field::outside_line_digit).substr(0, 1),
                  zel::get_field(rec, Field::outside_line_digit));
        EXPECT_EQ("0", zel::get_field(rec, Field::validated_flag)) << c.what;
        EXPECT_EQ(zel::get_field(before, Field::vox_type_index), zel::get_field(rec, Field::vox_type_index));
        EXPECT_EQ(zel::get_field(before, Field::vox_type_name), zel::get_field(rec, Field::vox_type_name));
        EXPECT_TRUE(fixture::changes_outside(before, rec,
                                             {Field::info_line_1, Field::info_line_2, Field::info_line_3,
                                              Field::answer_ring, Field::int_transfer_delay,
                                              Field::ext_transfer_delay, Field::outside_line_digit,
                                              Field::validated_flag})
                        .empty())
            << c.what;
    }
}

TEST(GeneralForm, FreshFileShowsTheFirstTypeButLeavesItsNameEmptyOnSave)
{
    ConfigRecord rec = zel::default_record();
    zel::GeneralForm form = zel::load_general_form(rec);
    EXPECT_EQ(std::optional<int>(0), form.vox_type);
    EXPECT_EQ("Warning Notice:", form.info_line_1);
    zel::save_general_form(form, rec);
    EXPECT_EQ("", zel::get_field(rec, Field::vox_type_name));
    EXPECT_EQ("", zel::get_field(rec, Field::vox_type_index));
    EXPECT_EQ("0", zel::get_field(rec, Field::validated_flag));
}

TEST(GeneralForm, LineBreaksInATypedTextAreDroppedNotStoredOrRefused)
{
    ConfigRecord rec = zel::default_record();
    zel::GeneralForm form = zel::load_general_form(rec);
    form.info_line_2 = "Open\r\n9 to 5\x1a!";
    zel::save_general_form(form, rec);
    EXPECT_EQ("Open9 to 5!", zel::get_field(rec, Field::info_line_2));
}
