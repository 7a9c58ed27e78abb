// The validation report and the export of the command file over any working file: the
// report's pieces and widths, its show-stopper verdict recomputed from the raw slots, and
// an export that writes only a sound command file, equal to a sound working file but for
// the validated flag.
#include <cstring>
#include <string>

#include "command_export.h"
#include "config_record.h"
#include "fuzz_check.h"
#include "record_check.h"
#include "record_file.h"
#include "scratch.h"
#include "validation_report.h"

namespace {

// A slot is empty when its first byte is NUL.
bool empty_slot(const zel::ConfigRecord& r, zel::Field f, int index = 0)
{
    return r.bytes[zel::field_offset(f, index)] == 0;
}

// An extension of exactly four characters: four non-NUL bytes, then a NUL.
bool four_characters(const zel::ConfigRecord& r, int k)
{
    const unsigned char* s = &r.bytes[zel::field_offset(zel::Field::route_ext, k)];
    return s[0] && s[1] && s[2] && s[3] && !s[4];
}

bool expect_show_stopper(const zel::ConfigRecord& r)
{
    using zel::Field;
    for (Field f : {Field::closed_greeting_vox, Field::system_error_vox, Field::open_greeting_vox,
                    Field::wrong_ext_vox, Field::no_input_vox, Field::vox_type_name}) {
        if (empty_slot(r, f)) return true;
    }
    for (int k = 0; k < 16; ++k) {
        if (four_characters(r, k) && !empty_slot(r, Field::route_port, k) && !empty_slot(r, Field::route_vox, k)) {
            return false;
        }
    }
    return true;
}

void check_report(const zel::ConfigRecord& rec)
{
    const zel::ValidationReport report = zel::build_validation_report(rec);
    const bool stopper = expect_show_stopper(rec);
    FUZZ_CHECK(report.show_stopper == stopper, "show-stopper %d, expected %d", report.show_stopper, stopper);
    FUZZ_CHECK(report.pieces.size() == (stopper ? 17u : 18u), "%zu pieces", report.pieces.size());
    // Widths of the pieces in order; the ninth exists only without a show-stopper.
    std::size_t widths[] = {62, 62, 62, 62, 62, 59, 0, 53, 66, 66, 53, 49, 48, 49, 52, 66, 66, 130};
    widths[6] = report.pieces[6].rfind("One or more", 0) == 0 ? 54 : 62;
    std::size_t w = 0;
    for (std::size_t i = 0; i < report.pieces.size(); ++i, ++w) {
        if (stopper && w == 8) ++w;
        FUZZ_CHECK(report.pieces[i].size() == widths[w], "piece %zu is %zu wide, not %zu", i,
                   report.pieces[i].size(), widths[w]);
    }
    const std::vector<std::string> lines = zel::report_lines(report);
    FUZZ_CHECK(lines.size() == report.pieces.size(), "lines");
    for (const std::string& l : lines) FUZZ_CHECK(l.empty() || l.back() != ' ', "trailing space");
    FUZZ_CHECK(report.text().find('\n') == std::string::npos, "line break in the report");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 2 * zel::kDiskSize) return 0;
    const std::string_view disk(reinterpret_cast<const char*>(data), size);

    // The report over the image a reader gets, and over the same bytes laid on a whole record.
    zel::ConfigRecord image{};
    const std::size_t got = zel::from_disk(disk, image);
    check_report(image);
    check_report(fuzzrec::overlay(data, size, 12792));

    static const std::string cfg = fuzzscratch::path("zel_system.cfg");
    static const std::string cmd = fuzzscratch::path("zel_system.cmd");
    FUZZ_CHECK(fuzzscratch::write(cfg, disk), "cannot write the working file");
    std::remove(cmd.c_str());

    const zel::ReportRun run = zel::run_validation_report(cfg.c_str());
    FUZZ_CHECK(run.ok == (got == zel::kRecordSize), "report ran %d on %zu bytes", run.ok, got);
    if (run.ok) {
        FUZZ_CHECK(run.report.text() == zel::build_validation_report(image).text(), "file report differs");
    } else {
        FUZZ_CHECK(run.message == zel::kReportOpenFailedText, "report box '%s'", run.message.c_str());
    }

    const zel::ExportResult exported = zel::export_command_file(cfg.c_str(), cmd.c_str());
    std::string now, written;
    FUZZ_CHECK(fuzzscratch::read(cfg, now) && now == disk, "export changed the working file");
    const bool have_cmd = fuzzscratch::read(cmd, written);
    FUZZ_CHECK(exported.ok == have_cmd, "export said %d, command file there: %d", exported.ok, have_cmd);
    if (!exported.ok) return 0;
    FUZZ_CHECK(got == zel::kRecordSize, "exported a short working file");
    const zelcfg::CheckReport check = zelcfg::check_disk_bytes(written);
    FUZZ_CHECK(check.sound(), "exported command file not sound: %s",
               check.findings.empty() ? "" : check.findings.front().text.c_str());
    zel::ConfigRecord cmd_image{};
    FUZZ_CHECK(zel::from_disk(written, cmd_image) == zel::kRecordSize, "command file short");
    FUZZ_CHECK(cmd_image.bytes[zel::field_offset(zel::Field::validated_flag)] == '1', "not marked validated");
    if (zelcfg::check_disk_bytes(disk).sound()) {
        zel::ConfigRecord want = image;
        want.bytes[zel::field_offset(zel::Field::validated_flag)] = '1';
        FUZZ_CHECK(cmd_image == want, "the export changed more than the validated flag");
    }
    return 0;
}
