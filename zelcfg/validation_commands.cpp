// The report and export commands over the tool's own report and export, so that zelcfg
// and Plandesk decide, word and write exactly alike.
#include "validation_commands.h"

#include "command_export.h"
#include "config_record.h"
#include "disk_file.h"
#include "record_check.h"
#include "record_file.h"
#include "validation_report.h"

namespace zelcfg {

namespace {

void fail(std::string& err, const std::string& file, const std::string& problem)
{
    err += "zelcfg: " + file + ": " + problem + "\n";
}

// Reads the record the way the tool's text-mode read sees it. A short file gives no
// report, as in the tool; a full one with a broken line structure is reported on, as the
// tool would, but with a warning.
bool load_for_report(const std::string& file, zel::ConfigRecord& image, std::string& err)
{
    std::string disk;
    std::string problem;
    if (!read_file_bytes(file, disk, problem)) {
        fail(err, file, problem);
        return false;
    }
    const std::size_t got = zel::from_disk(disk, image);
    if (got < zel::kRecordSize) {
        fail(err, file,
             "short file: only " + std::to_string(got) + " of " + std::to_string(zel::kRecordSize) +
                 " record bytes could be read; no report (see zelcfg check)");
        return false;
    }
    if (!check_disk_bytes(disk).structure_sound) {
        fail(err, file, "not a sound record file; reported as a text-mode read sees it (see zelcfg check)");
    }
    return true;
}

// Appends the report's lines; true when it found a show-stopper.
bool print_report(const zel::ConfigRecord& image, std::string& out)
{
    const zel::ValidationReport report = zel::build_validation_report(image);
    for (const std::string& line : zel::report_lines(report)) out += line + "\n";
    return report.show_stopper;
}

}  // namespace

int report_command(const std::string& file, std::string& out, std::string& err)
{
    zel::ConfigRecord image;
    if (!load_for_report(file, image, err)) return 1;
    return print_report(image, out) ? 1 : 0;
}

int export_command(const std::string& cfg, const std::string& cmd, std::string& out, std::string& err)
{
    zel::ConfigRecord image;
    if (!load_for_report(cfg, image, err)) {
        err += "zelcfg: " + cmd + ": not written\n";
        return 1;
    }
    if (print_report(image, out)) {
        fail(err, cfg, "the report finds a show-stopper; " + cmd + " not written");
        return 1;
    }
    const zel::ExportResult result = zel::export_command_file(cfg.c_str(), cmd.c_str());
    if (result.ok) return 0;
    // The export names its files by their fixed names; say which of ours it meant.
    const bool reading = result.message.rfind("Could not read", 0) == 0;
    fail(err, reading ? cfg : cmd, result.message);
    if (reading) err += "zelcfg: " + cmd + ": not written\n";
    return 1;
}

}  // namespace zelcfg
