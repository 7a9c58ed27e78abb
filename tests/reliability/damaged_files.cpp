// The damaged record files and their expected outcomes.
#include "damaged_files.h"

#include "test_records.h"

#include <cstdint>
#include <random>

#include "record_file.h"

namespace reliability {

namespace {

using zel::Field;

// Every CR LF of the file replaced by `with`.
std::string replace_line_ends(const std::string& disk, const std::string& with)
{
    std::string out;
    for (std::size_t i = 0; i < disk.size(); ++i) {
        if (disk[i] == '\r' && i + 1 < disk.size() && disk[i + 1] == '\n') {
            out += with;
            ++i;
        } else {
            out += disk[i];
        }
    }
    return out;
}

// The disk offset of a record offset in a sound file: each LF before it is two bytes.
std::size_t disk_offset(std::size_t record_offset)
{
    const zel::ConfigRecord rec = zel::default_record();
    std::size_t at = 0;
    for (std::size_t i = 0; i < record_offset; ++i) at += rec.bytes[i] == '\n' ? 2 : 1;
    return at;
}

// Random bytes, never 0x88 or 0x98 (the modifier letters circumflex and tilde in the ANSI
// code page): Wine 8's text shaping crashes any edit control whose text begins with one of
// them (a fault of Wine, not of ours; Windows shows them), and a random field often does.
std::string random_bytes(std::uint32_t seed, std::size_t n, bool text_safe)
{
    std::mt19937 gen(seed);  // its output is fixed by the standard, so the case is too
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(gen() >> 24);
        if (c == 0x88 || c == 0x98) c = 'y';
        if (text_safe && (c == 0x1A || c == '\r')) c = 'x';
        out.push_back(static_cast<char>(c));
    }
    return out;
}

constexpr Expected kShort{false, 1, false, 1, RuntimeOpen::unreadable};
// A whole, validated image whose file form is broken: read as it stands.
constexpr Expected kWholeBroken{true, 1, false, 0, RuntimeOpen::loaded};

}  // namespace

zel::ConfigRecord designed_record()
{
    // Voices by relative name, so a runtime started in a folder holding them plays them.
    zel::ConfigRecord r = testrec::open_every_day();
    const struct {
        Field f;
        int index;
        const char* text;
    } fields[] = {
        {Field::ext_transfer_delay, 0, "1"},
        {Field::default_port, 0, "200"},
        {Field::open_greeting_vox, 0, "open.vox"},
        {Field::closed_greeting_vox, 0, "closed.vox"},
        {Field::wrong_ext_vox, 0, "wrong.vox"},
        {Field::no_input_vox, 0, "none.vox"},
        {Field::system_error_vox, 0, "bye.vox"},
        {Field::route_ext, 0, "1001"},
        {Field::route_vox, 0, "sales.vox"},
        {Field::route_port, 0, "201"},
        {Field::route_alt_number, 0, "95551234"},
        {Field::route_ext, 1, "1002"},
        {Field::route_vox, 1, "desk.vox"},
        {Field::route_port, 1, "202"},
        {Field::holiday_date, 0, "12/25/2009"},
    };
    for (const auto& f : fields) testrec::put(r, f.f, f.index, f.text);
    return r;
}

std::string designed_file()
{
    return zel::to_disk(designed_record());
}

std::vector<DamagedFile> damaged_files()
{
    const std::string sound = designed_file();
    const std::size_t route_vox = disk_offset(zel::field_offset(Field::route_vox, 0));
    const std::size_t open_vox = disk_offset(zel::field_offset(Field::open_greeting_vox));

    std::string ctrl_z = sound;
    ctrl_z[route_vox + 100] = '\x1A';  // in the unused tail of route 0's voice slot

    const std::string stray_cr = sound.substr(0, open_vox + 5) + '\r' + sound.substr(open_vox + 5);

    zel::ConfigRecord no_nul = designed_record();
    const auto fill = [&no_nul](Field f, int index, char c) {
        for (std::size_t k = 0; k < zel::field_def(f).width; ++k) no_nul.bytes[zel::field_offset(f, index) + k] = c;
    };
    fill(Field::info_line_1, 0, 'A');
    fill(Field::route_vox, 0, 'B');
    fill(Field::default_port, 0, '7');
    fill(Field::holiday_label, 5, 'H');

    std::string twice = sound + sound;
    std::string oversized = sound;
    for (int i = 0; i < 100; ++i) oversized += "one line too many\r\n";

    std::vector<DamagedFile> cases = {
        {"empty", "no bytes at all", Form::bytes, "", kShort},
        {"cut_in_first_line", "only the first 40 bytes", Form::bytes, sound.substr(0, 40), kShort},
        {"cut_in_routes", "only the first 15000 bytes", Form::bytes, sound.substr(0, 15000), kShort},
        {"cut_two_bytes", "the last line end missing", Form::bytes, sound.substr(0, sound.size() - 2), kShort},
        {"cut_last_byte", "the last LF missing: the record ends in a lone CR", Form::bytes,
         sound.substr(0, sound.size() - 1), kWholeBroken},
        {"oversized", "100 more lines after the record", Form::bytes, oversized, kWholeBroken},
        {"twice", "the record twice over", Form::bytes, twice, kWholeBroken},
        {"ctrl_z_in_route", "a 0x1A inside route 0's voice slot", Form::bytes, ctrl_z, kShort},
        {"bare_lf", "every CR LF written as a bare LF", Form::bytes, replace_line_ends(sound, "\n"), kWholeBroken},
        {"cr_without_lf", "every CR LF written as a bare CR", Form::bytes, replace_line_ends(sound, "\r"),
         kWholeBroken},
        // The shift empties every later voice slot: the report finds show-stoppers.
        // A silent caller's three plays then fail: the greeting, the no-input voice and the
        // goodbye.
        {"stray_cr_in_field", "a CR inside the greeting's path shifts every later byte", Form::bytes, stray_cr,
         Expected{true, 1, false, 1, RuntimeOpen::loaded,
                  {"PLAY FAILED.", "PLAY FAILED,\n please make sure all vox files are\n in the correct directories.",
                   "PLAY FAILED.\n Please make sure that all vox files \n are in the correct directories"}}},
        {"fields_without_nul", "four slots filled to their last byte, no NUL", Form::bytes,
         zel::to_disk(no_nul), Expected{true, 1, true, 0, RuntimeOpen::loaded}},
        // Random bytes hold a 0x1A long before a record's worth; the text-safe ones do not,
        // and byte 312 is then anything but '1'.
        {"random_bytes", "30249 random bytes", Form::bytes, random_bytes(12, zel::kDiskSize, false), kShort},
        {"random_text", "30249 random bytes without 0x1A or CR", Form::bytes,
         random_bytes(34, zel::kDiskSize, true), Expected{true, 1, false, 1, RuntimeOpen::not_validated}},
        {"directory", "a folder in place of the file", Form::directory, "",
         Expected{false, 1, false, 1, RuntimeOpen::unreadable}},
        {"read_only", "the sound design, marked read-only", Form::read_only, sound,
         Expected{true, 0, true, 0, RuntimeOpen::loaded}},
        {"locked", "the sound design, held open by another program that shares nothing", Form::locked, sound,
         Expected{false, 1, false, 1, RuntimeOpen::unreadable}},
    };
    return cases;
}

}  // namespace reliability
