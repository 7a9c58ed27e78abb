// Field access: bounds, refusals, and a full round trip of every field through the disk form.
#include <gtest/gtest.h>

#include <string>

#include "config_record.h"
#include "record_file.h"

using zel::ConfigRecord;
using zel::Field;
using zel::SetResult;

namespace {

// Width-1 bytes cycling through 0x80-0xFF and printable ASCII, never NUL or a forbidden byte.
std::string full_text(std::size_t n, int seed)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        const int v = (seed * 7 + static_cast<int>(i) * 13) % 190;
        s.push_back(static_cast<char>(v < 128 ? 0x80 + v : 0x20 + (v - 128)));
    }
    return s;
}

}  // namespace

TEST(FieldAccess, EveryFieldRoundTripsAtFullWidthThroughTheDiskForm)
{
    for (int fi = 0; fi < static_cast<int>(Field::count_); ++fi) {
        const Field f = static_cast<Field>(fi);
        const int last = zel::field_count(f) - 1;
        for (int index : {0, last}) {
            ConfigRecord rec = zel::default_record();
            const std::string text = full_text(zel::field_def(f).width - 1u, fi + index);
            ASSERT_EQ(SetResult::ok, zel::set_field(rec, f, index, text)) << zel::field_def(f).name;
            ConfigRecord back;
            ASSERT_EQ(zel::kRecordSize, zel::from_disk(zel::to_disk(rec), back));
            EXPECT_EQ(rec, back) << zel::field_def(f).name << "[" << index << "]";
            EXPECT_EQ(text, zel::get_field(back, f, index)) << zel::field_def(f).name << "[" << index << "]";
        }
    }
}

TEST(FieldAccess, SetNeverTouchesBytesOutsideTheSlotAndKeepsTheSlotTail)
{
    ConfigRecord rec = zel::default_record();
    rec.bytes[12792 + 31 + 10] = 'Z';  // route_vox of route 0, past what we write next
    ASSERT_EQ(SetResult::ok, zel::set_field(rec, Field::route_vox, 0, "abc"));
    EXPECT_EQ('Z', rec.bytes[12792 + 31 + 10]);
    EXPECT_EQ(0, rec.bytes[12792 + 31 + 3]);

    ConfigRecord before = zel::default_record();
    ConfigRecord after = before;
    EXPECT_EQ(SetResult::cut, zel::set_field(after, Field::route_ext, 59, "123456789"));
    EXPECT_EQ("12345", zel::get_field(after, Field::route_ext, 59));
    for (std::size_t i = 0; i < zel::kRecordSize; ++i) {
        const std::size_t slot = 12792 + 280 * 59 + 25;
        if (i < slot || i >= slot + 6) {
            ASSERT_EQ(before.bytes[i], after.bytes[i]) << "offset " << i;
        }
    }
}

TEST(FieldAccess, RefusesForbiddenBytesAndBadIndexesWithoutWriting)
{
    const ConfigRecord fresh = zel::default_record();
    struct Case {
        Field field;
        int index;
        std::string text;
        SetResult expected;
    } cases[] = {
        {Field::info_line_1, 0, "a\nb", SetResult::forbidden},
        {Field::info_line_1, 0, "a\rb", SetResult::forbidden},
        {Field::info_line_1, 0, std::string("a\x1a" "b"), SetResult::forbidden},
        {Field::holiday_date, 60, "01/01/2027", SetResult::bad_index},
        {Field::special_date, 54, "01/01/2027", SetResult::bad_index},
        {Field::day_name, 7, "MON", SetResult::bad_index},
        {Field::route_ext, -1, "1234", SetResult::bad_index},
        {Field::answer_ring, 1, "3", SetResult::bad_index},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = fresh;
        EXPECT_EQ(c.expected, zel::set_field(rec, c.field, c.index, c.text)) << zel::field_def(c.field).name;
        EXPECT_EQ(fresh, rec);
    }
    EXPECT_EQ("", zel::get_field(fresh, Field::route_label, 60));
}

TEST(FieldAccess, PathOf127CharactersFitsAndLongerIsCut)
{
    ConfigRecord rec = zel::default_record();
    const std::string path127(127, 'p');
    EXPECT_EQ(SetResult::ok, zel::set_field(rec, Field::open_greeting_vox, path127));
    EXPECT_EQ(path127, zel::get_field(rec, Field::open_greeting_vox));
    EXPECT_EQ(SetResult::cut, zel::set_field(rec, Field::open_greeting_vox, path127 + "q"));
    EXPECT_EQ(path127, zel::get_field(rec, Field::open_greeting_vox));
    EXPECT_EQ('\n', rec.bytes[517]);
}

TEST(FieldAccess, NamesFindTheirFields)
{
    for (int fi = 0; fi < static_cast<int>(Field::count_); ++fi) {
        auto f = zel::field_by_name(zel::kFields[fi].name);
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(fi, static_cast<int>(*f));
    }
    EXPECT_FALSE(zel::field_by_name("route_exten").has_value());
}

TEST(FieldAccess, MakeSoundRepairsLineFeedsAndLabelsAndKeepsTheData)
{
    ConfigRecord rec = zel::default_record();
    zel::set_field(rec, Field::route_port, 3, "201");
    ConfigRecord damaged = rec;
    for (auto& b : damaged.bytes) b = (b == '\n') ? 'x' : b;
    damaged.bytes[12792 + 280 * 3] = '?';  // label of route 3
    zel::make_sound(damaged);
    EXPECT_EQ(rec, damaged);
}
