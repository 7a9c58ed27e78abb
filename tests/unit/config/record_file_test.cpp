// The disk form: text-mode translation by our code, short reads reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "record_file.h"

using zel::ConfigRecord;
using zel::ReadStatus;

namespace {

std::string temp_path(const char* name)
{
    return (testing::TempDir() + "/") + name;
}

void write_bytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

TEST(RecordFile, SavesAndLoadsTheSameImageIncludingNulsInsideLines)
{
    ConfigRecord rec = zel::default_record();
    zel::set_field(rec, zel::Field::route_vox, 15, "C:\\Voice\\\xe9t\xe9.vox");
    const std::string path = temp_path("roundtrip.cfg");
    ASSERT_TRUE(zel::save_record(path.c_str(), rec));
    ConfigRecord back;
    std::size_t got = 0;
    EXPECT_EQ(ReadStatus::ok, zel::load_record(path.c_str(), back, &got));
    EXPECT_EQ(zel::kRecordSize, got);
    EXPECT_EQ(rec, back);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    EXPECT_EQ(30249, std::ftell(f));
    std::fclose(f);
}

TEST(RecordFile, ReadsLikeTextModeAndReportsShortImages)
{
    const std::string good = zel::to_disk(zel::default_record());
    struct Case {
        const char* name;
        std::string disk;
        std::size_t image_bytes;
    } cases[] = {
        {"whole", good, zel::kRecordSize},
        {"truncated", good.substr(0, 1000), 1000 - 9},  // nine CR LFs fold into LFs
        {"ctrl-z", good.substr(0, 500) + '\x1a' + good.substr(500), 500 - 5},
        {"empty", "", 0},
        {"bare LF", std::string(good).erase(70, 1), zel::kRecordSize},  // the lone LF still counts as one
        {"oversized", good + "trailing junk", zel::kRecordSize},
    };
    for (const Case& c : cases) {
        const std::string path = temp_path("case.cfg");
        write_bytes(path, c.disk);
        ConfigRecord rec;
        std::size_t got = 99;
        const ReadStatus status = zel::load_record(path.c_str(), rec, &got);
        EXPECT_EQ(c.image_bytes, got) << c.name;
        EXPECT_EQ(c.image_bytes == zel::kRecordSize ? ReadStatus::ok : ReadStatus::short_read, status) << c.name;
    }
    ConfigRecord rec;
    EXPECT_EQ(ReadStatus::io_error, zel::load_record(temp_path("no-such-file.cfg").c_str(), rec));
}

TEST(RecordFile, LoneCarriageReturnsAreKeptAsTextModeKeepsThem)
{
    ConfigRecord out;
    EXPECT_EQ(4u, zel::from_disk(std::string("a\rb\r", 4), out));
    EXPECT_EQ('\r', out.bytes[1]);
    EXPECT_EQ('\r', out.bytes[3]);
}

TEST(RecordFile, WriteRewritesAnOpenStreamFromItsStart)
{
    const std::string path = temp_path("update.cfg");
    write_bytes(path, std::string(40000, 'x'));
    std::FILE* f = std::fopen(path.c_str(), "rb+");
    ASSERT_NE(nullptr, f);
    ConfigRecord rec = zel::default_record();
    std::fseek(f, 123, SEEK_SET);
    EXPECT_TRUE(zel::write_record(f, rec));
    ConfigRecord back;
    EXPECT_EQ(ReadStatus::ok, zel::read_record(f, back));
    EXPECT_EQ(rec, back);
    std::fclose(f);
}
