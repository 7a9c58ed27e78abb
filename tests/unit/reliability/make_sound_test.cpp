// The repair the tool makes before every write: whatever image it holds, what it writes is
// a sound record file, the operator's texts are kept up to the damage, and a sound image
// is left byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "config_record.h"
#include "damaged_files.h"
#include "record_check.h"
#include "record_file.h"

namespace {

using zel::ConfigRecord;
using zel::Field;

std::string first_finding(const std::string& disk)
{
    const zelcfg::CheckReport r = zelcfg::check_disk_bytes(disk);
    return r.findings.empty() ? std::string("sound") : r.findings.front().text;
}

void fill(ConfigRecord& r, Field f, int index, unsigned char c)
{
    std::memset(&r.bytes[zel::field_offset(f, index)], c, zel::field_def(f).width);
}

TEST(MakeSound, EveryDamageGivesASoundFileAndKeepsTheTextsBeforeIt)
{
    const ConfigRecord design = reliability::designed_record();
    const std::size_t greeting = zel::field_offset(Field::open_greeting_vox);
    const struct {
        const char* name;
        std::function<void(ConfigRecord&)> damage;
        Field field;              // a field to look at afterwards
        int index;
        std::string after;        // its text after the repair
    } cases[] = {
        {"LF inside a path", [&](ConfigRecord& r) { r.bytes[greeting + 4] = '\n'; }, Field::open_greeting_vox, 0,
         "open"},
        {"CR inside a path", [&](ConfigRecord& r) { r.bytes[greeting + 2] = '\r'; }, Field::open_greeting_vox, 0,
         "op"},
        {"0x1A inside a path", [&](ConfigRecord& r) { r.bytes[greeting + 6] = 0x1A; }, Field::open_greeting_vox, 0,
         "open.v"},
        {"slot full to its last byte", [](ConfigRecord& r) { fill(r, Field::default_port, 0, '7'); },
         Field::default_port, 0, "77777"},
        {"stray bytes after the NUL", [&](ConfigRecord& r) { r.bytes[greeting + 100] = '\r'; },
         Field::open_greeting_vox, 0, "open.vox"},
        {"line feeds lost", [](ConfigRecord& r) {
             for (auto& b : r.bytes) if (b == '\n') b = ' ';
         }, Field::route_port, 0, "201"},
        {"line feeds as CR", [](ConfigRecord& r) {
             for (auto& b : r.bytes) if (b == '\n') b = '\r';
         }, Field::route_ext, 1, "1002"},
        {"labels overwritten", [](ConfigRecord& r) { fill(r, Field::route_label, 59, 'x'); },
         Field::route_label, 59, "trans 59"},
        {"everything 0x1A", [](ConfigRecord& r) { r.bytes.fill(0x1A); }, Field::general_label, 0,
         "answer on ring, trans int. delay & ext. delay"},
        {"everything NUL", [](ConfigRecord& r) { r.bytes.fill(0); }, Field::route_label, 7, "trans 7"},
        {"everything 0xFF", [](ConfigRecord& r) { r.bytes.fill(0xFF); }, Field::answer_ring, 0, "\xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigRecord r = design;
        c.damage(r);
        ASSERT_NE("sound", first_finding(zel::to_disk(r)));
        zel::make_sound(r);
        const std::string disk = zel::to_disk(r);
        EXPECT_EQ(zel::kDiskSize, disk.size());
        EXPECT_EQ("sound", first_finding(disk));
        EXPECT_EQ(c.after, zel::get_field(r, c.field, c.index));
        ConfigRecord again = r;
        zel::make_sound(again);
        EXPECT_EQ(r, again) << "a second repair changed the record";
    }
}

TEST(MakeSound, ASoundRecordIsLeftByteForByte)
{
    ConfigRecord design = reliability::designed_record();
    // Bytes after a slot's NUL are the operator's business as long as they can be stored.
    design.bytes[zel::field_offset(Field::route_vox, 0) + 120] = 'z';
    design.bytes[zel::field_offset(Field::holiday_date, 3) + 34] = 0x7F;
    design.bytes[zel::field_offset(Field::route_label, 4) + 20] = 'q';  // after "trans 4" and its NUL
    const ConfigRecord cases[] = {zel::default_record(), design};
    for (const ConfigRecord& sound : cases) {
        ASSERT_EQ("sound", first_finding(zel::to_disk(sound)));
        ConfigRecord r = sound;
        zel::make_sound(r);
        EXPECT_EQ(sound, r);
    }
}

}  // namespace
