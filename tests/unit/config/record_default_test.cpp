// The default record against offsets and texts copied from the record's description,
// independent of the layout table in config/.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config_record.h"
#include "record_file.h"

using zel::ConfigRecord;

namespace {

struct Expected {
    std::size_t offset;
    const char* text;
};

std::vector<Expected> expected_texts()
{
    std::vector<Expected> e = {
        {0, "Warning Notice:"},
        {71, "System Configuration File. Do Not Modify with manually"},
        {213, "answer on ring, trans int. delay & ext. delay"},
        {272, "Vox Type:"},
        {326, "Password lock"},
        {364, "Open Greeting:"},
        {518, "Close Greeting:"},
        {672, "Wrong Ext:"},
        {826, "General Tx:"},
        {980, "System Er:"},
        {1134, "No Inputs:"},
        {29592, "Sp. Open Hr:"},
        {29746, "Sp. Close Hr:"},
        {29900, "Holiday Closed:"},
    };
    for (int i = 0; i < 60; ++i) e.push_back({1288u + 61u * i, "Holiday Cls:"});
    for (int j = 0; j < 54; ++j) e.push_back({4948u + 131u * j, "Sp.Hour:"});
    for (int d = 0; d < 7; ++d) {
        e.push_back({12022u + 110u * d, "Regular hrs:"});
        e.push_back({12022u + 110u * d + 36, "11:11:11 AM"});
        e.push_back({12022u + 110u * d + 74, "11:11:11 PM"});
    }
    static std::vector<std::string> route_labels;
    route_labels.clear();
    for (int k = 0; k < 60; ++k) route_labels.push_back("trans " + std::to_string(k));
    for (int k = 0; k < 60; ++k) e.push_back({12792u + 280u * k, route_labels[k].c_str()});
    return e;
}

std::vector<std::size_t> expected_line_feeds()
{
    std::vector<std::size_t> lf = {70, 141, 212, 325, 363, 517, 671, 825, 979, 1133, 1287};
    for (int i = 0; i < 60; ++i) lf.push_back(1288u + 61u * i + 60);
    for (int j = 0; j < 54; ++j) lf.push_back(4948u + 131u * j + 130);
    for (int d = 0; d < 7; ++d) lf.push_back(12022u + 110u * d + 109);
    for (int k = 0; k < 60; ++k) lf.push_back(12792u + 280u * k + 279);
    lf.insert(lf.end(), {29745, 29899, 30053});
    return lf;
}

}  // namespace

TEST(DefaultRecord, HoldsEveryLabelAndDefaultTextAtItsOffset)
{
    const ConfigRecord rec = zel::default_record();
    std::vector<bool> accounted(rec.bytes.size(), false);
    for (const Expected& e : expected_texts()) {
        const std::size_t n = std::strlen(e.text);
        ASSERT_EQ(0, std::memcmp(&rec.bytes[e.offset], e.text, n)) << "at offset " << e.offset;
        EXPECT_EQ(0, rec.bytes[e.offset + n]) << "text at " << e.offset << " is not terminated";
        for (std::size_t i = 0; i < n; ++i) accounted[e.offset + i] = true;
    }
    const std::vector<std::size_t> lfs = expected_line_feeds();
    ASSERT_EQ(195u, lfs.size());
    for (std::size_t at : lfs) {
        EXPECT_EQ('\n', rec.bytes[at]) << "line feed missing at " << at;
        accounted[at] = true;
    }
    // The notice in info_line_3 is ours: one line of at most 68 characters at offset 142.
    std::size_t notice = 0;
    while (rec.bytes[142 + notice] != 0) accounted[142 + notice++] = true;
    EXPECT_GT(notice, 0u);
    EXPECT_LE(notice, 68u);
    for (std::size_t i = 0; i < rec.bytes.size(); ++i) {
        if (!accounted[i]) {
            ASSERT_EQ(0, rec.bytes[i]) << "unexpected byte at offset " << i;
        }
    }
}

TEST(DefaultRecord, FreshFieldsReadAsTheirDocumentedDefaults)
{
    const ConfigRecord rec = zel::default_record();
    EXPECT_EQ("", zel::get_field(rec, zel::Field::vox_type_index));
    EXPECT_EQ(0, zel::field_number(rec, zel::Field::vox_type_index));
    EXPECT_EQ(0, rec.bytes[312]);  // validated_flag
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ("", zel::get_field(rec, zel::Field::day_name, d));
        EXPECT_EQ(0, rec.bytes[12022 + 110 * d + 31]);
        EXPECT_EQ(0, rec.bytes[12022 + 110 * d + 32]);
    }
    EXPECT_EQ("trans 59", zel::get_field(rec, zel::Field::route_label, 59));
}

TEST(DefaultRecord, IsWrittenAs30249BytesWithCrLfAtEachLineEnd)
{
    const std::string disk = zel::to_disk(zel::default_record());
    ASSERT_EQ(30249u, disk.size());
    std::size_t shift = 0;
    for (std::size_t at : expected_line_feeds()) {
        EXPECT_EQ('\r', disk[at + shift]);
        EXPECT_EQ('\n', disk[at + shift + 1]);
        ++shift;
    }
}
