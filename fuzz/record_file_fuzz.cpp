// Any bytes as a record file: the text-mode reader, zelcfg's check, dump, get, report and
// set on that file, and the repair every tool write makes before it writes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "config_record.h"
#include "fuzz_check.h"
#include "record_check.h"
#include "record_file.h"
#include "scratch.h"

namespace {

// A text-mode read written out the long way: CR LF is one LF, 0x1A ends the file.
std::size_t reference_decode(std::string_view disk, std::vector<unsigned char>& image)
{
    image.clear();
    std::size_t i = 0;
    while (i < disk.size() && image.size() < zel::kRecordSize) {
        const unsigned char c = static_cast<unsigned char>(disk[i]);
        if (c == 0x1A) break;
        if (c == '\r' && i + 1 < disk.size() && disk[i + 1] == '\n') {
            image.push_back('\n');
            i += 2;
        } else {
            image.push_back(c);
            i += 1;
        }
    }
    return image.size();
}

std::size_t field_instances()
{
    std::size_t n = 0;
    for (int fi = 0; fi < static_cast<int>(zel::Field::count_); ++fi) {
        n += static_cast<std::size_t>(zel::field_count(static_cast<zel::Field>(fi)));
    }
    return n;
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

int zelcfg(std::vector<std::string> args, std::string& out, std::string& err)
{
    out.clear();
    err.clear();
    return zelcfg::run(args, out, err);
}

void check_reader(std::string_view disk, const zel::ConfigRecord& image, std::size_t got)
{
    std::vector<unsigned char> want;
    const std::size_t want_got = reference_decode(disk, want);
    FUZZ_CHECK(got == want_got, "from_disk gave %zu bytes, a text-mode read %zu", got, want_got);
    for (std::size_t i = 0; i < got; ++i) {
        FUZZ_CHECK(image.bytes[i] == want[i], "image byte %zu differs", i);
    }

    // The stream reader must see what the buffer decoder sees.
    std::FILE* f = fmemopen(const_cast<char*>(disk.data()), disk.size(), "rb");
    if (disk.empty()) f = std::tmpfile();
    FUZZ_CHECK(f != nullptr, "no memory stream");
    zel::ConfigRecord streamed{};
    std::size_t streamed_got = 0;
    const zel::ReadStatus status = zel::read_record(f, streamed, &streamed_got);
    std::fclose(f);
    FUZZ_CHECK(streamed_got == got, "read_record got %zu, from_disk %zu", streamed_got, got);
    FUZZ_CHECK((status == zel::ReadStatus::ok) == (got == zel::kRecordSize), "read status disagrees");
    for (std::size_t i = 0; i < got; ++i) FUZZ_CHECK(streamed.bytes[i] == image.bytes[i], "stream byte %zu", i);
}

void check_soundness(std::string_view disk, const zel::ConfigRecord& image, std::size_t got,
                     const zelcfg::CheckReport& report)
{
    FUZZ_CHECK(report.findings.size() <= zelcfg::kMaxFindings, "%zu findings", report.findings.size());
    bool structural = false;
    for (const zelcfg::Finding& f : report.findings) {
        FUZZ_CHECK(f.offset <= disk.size(), "finding at %zu beyond %zu bytes", f.offset, disk.size());
        structural = structural || f.structural;
    }
    if (structural) FUZZ_CHECK(!report.structure_sound, "a structural finding, yet structure_sound");
    if (report.sound()) {
        // A sound file is exactly the on-disk form of what is read from it.
        FUZZ_CHECK(disk.size() == zel::kDiskSize && got == zel::kRecordSize, "sound but %zu bytes", disk.size());
        FUZZ_CHECK(zel::to_disk(image) == disk, "sound file does not round-trip");
    }

    // Whatever was read, the repaired image is a sound file, and repairing twice changes nothing.
    zel::ConfigRecord repaired = image;
    zel::make_sound(repaired);
    const std::string written = zel::to_disk(repaired);
    const zelcfg::CheckReport after = zelcfg::check_disk_bytes(written);
    FUZZ_CHECK(after.sound(), "repaired image not sound: %s",
               after.findings.empty() ? "" : after.findings.front().text.c_str());
    zel::ConfigRecord again = repaired;
    zel::make_sound(again);
    FUZZ_CHECK(again == repaired, "make_sound is not idempotent");
    zel::ConfigRecord back{};
    FUZZ_CHECK(zel::from_disk(written, back) == zel::kRecordSize && back == repaired, "repaired image lost");
    if (report.sound()) FUZZ_CHECK(repaired == image, "make_sound changed a sound record");
}

void check_commands(std::string_view disk, const zel::ConfigRecord& image, std::size_t got,
                    const zelcfg::CheckReport& report)
{
    static const std::string file = fuzzscratch::path("in.cfg");
    FUZZ_CHECK(fuzzscratch::write(file, disk), "cannot write the scratch file");
    std::string out, err, now;

    const int checked = zelcfg({"check", file}, out, err);
    FUZZ_CHECK(checked == (report.sound() ? 0 : 1), "check exit %d", checked);
    for (const std::string& line : lines_of(out)) FUZZ_CHECK(line.rfind(file, 0) == 0, "check line without file");

    FUZZ_CHECK(zelcfg({"dump", file}, out, err) == 0, "dump failed: %s", err.c_str());
    const std::vector<std::string> dumped = lines_of(out);
    FUZZ_CHECK(dumped.size() == field_instances(), "dump gave %zu lines", dumped.size());
    for (const std::string& line : dumped) {
        for (char c : line) FUZZ_CHECK(c >= 0x20 && c < 0x7F, "dump line with byte %02x", static_cast<unsigned char>(c));
    }
    FUZZ_CHECK(err.empty() == (got == zel::kRecordSize && report.structure_sound), "dump warning: '%s'", err.c_str());

    // get shows the same value as dump's line for that field.
    FUZZ_CHECK(zelcfg({"get", file, "route_ext[3]"}, out, err) == 0, "get failed");
    std::string from_dump;
    for (const std::string& line : dumped) {
        if (line.rfind("route_ext[3]=", 0) == 0) from_dump = line.substr(13);
    }
    FUZZ_CHECK(out == from_dump + "\n", "get and dump disagree");

    const int reported = zelcfg({"report", file}, out, err);
    if (got < zel::kRecordSize) FUZZ_CHECK(reported == 1 && out.empty(), "short file reported on");

    FUZZ_CHECK(fuzzscratch::read(file, now) && now == disk, "a reading command changed the file");

    // set writes only over a sound structure, and then nothing but the slot it names.
    const int set = zelcfg({"set", file, "answer_ring=3"}, out, err);
    FUZZ_CHECK(fuzzscratch::read(file, now), "file gone after set");
    if (!report.structure_sound) {
        FUZZ_CHECK(set == 1 && now == disk, "set wrote over a damaged file");
    } else {
        FUZZ_CHECK(set == 0, "set refused a sound structure: %s", err.c_str());
        zel::ConfigRecord want = image;
        zel::set_field(want, zel::Field::answer_ring, "3");
        FUZZ_CHECK(now == zel::to_disk(want), "set changed more than its slot");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 2 * zel::kDiskSize) return 0;  // zelcfg reads up to 4 MiB; more says nothing new
    const std::string_view disk(reinterpret_cast<const char*>(data), size);
    zel::ConfigRecord image{};
    const std::size_t got = zel::from_disk(disk, image);
    FUZZ_CHECK(got <= zel::kRecordSize, "from_disk gave %zu", got);
    check_reader(disk, image, got);
    const zelcfg::CheckReport report = zelcfg::check_disk_bytes(disk);
    check_soundness(disk, image, got, report);
    check_commands(disk, image, got, report);
    return 0;
}
