// The validation report text, byte for byte.
#include "validation_report.h"

#include <cstdio>

#include "record_file.h"

namespace zel {

namespace {

struct Check {
    Field field;
    const char* ok;
    const char* missing;
};

// Pieces 1 to 5: one voice each, all 62 wide. The fourth names the voice it checks.
constexpr Check kVoiceChecks[] = {
    {Field::closed_greeting_vox, "Close Voice: OK.", "Close Voice not defined."},
    {Field::system_error_vox, "System Error Voice: OK.", "System Error Voice: Not defined."},
    {Field::open_greeting_vox, "Open Greeting Voice: OK.", "Open Greeting Voice: Not defined."},
    {Field::wrong_ext_vox, "Wrong Extension Voice: OK.", "Wrong Extension Voice: Not defined."},
    {Field::no_input_vox, "No Input Voice: OK.", "No Input Voice: Not defined."},
};

std::string padded(const char* text, std::size_t width)
{
    std::string piece = text;
    if (piece.size() < width) piece.append(width - piece.size(), ' ');
    return piece;
}

}  // namespace

std::string ValidationReport::text() const
{
    std::string all;
    for (const std::string& p : pieces) all += p;
    return all;
}

std::optional<int> first_complete_route(const ConfigRecord& rec)
{
    for (int k = 0; k < 16; ++k) {
        if (get_field(rec, Field::route_ext, k).size() == 4 && !get_field(rec, Field::route_port, k).empty() &&
            !get_field(rec, Field::route_vox, k).empty()) {
            return k;
        }
    }
    return std::nullopt;
}

ValidationReport build_validation_report(const ConfigRecord& rec)
{
    ValidationReport r;
    auto check = [&r](bool ok, const char* good, std::size_t good_width, const char* bad, std::size_t bad_width) {
        if (!ok) r.show_stopper = true;
        r.pieces.push_back(ok ? padded(good, good_width) : padded(bad, bad_width));
    };
    for (const Check& c : kVoiceChecks) check(!get_field(rec, c.field).empty(), c.ok, 62, c.missing, 62);
    check(!get_field(rec, Field::vox_type_name).empty(), "Voice Type Selection: Selectied.", 59,
          "Voice Type Selection: No Selection Made.", 59);
    check(first_complete_route(rec).has_value(), "One or more extension, port & Voice defined correctly.", 54,
          "Transfer Configuration is bad.", 62);
    r.pieces.push_back(padded("", 53));
    if (!r.show_stopper) r.pieces.push_back(padded("General Report Completed. No Show Stopper Detected!", 66));
    r.pieces.push_back(padded("", 66));
    r.pieces.push_back(padded("", 53));
    r.pieces.push_back(padded("NOTE: The Report only validates the design to be ", 49));
    r.pieces.push_back(padded("functional. It does not check for invalid voice ", 48));
    r.pieces.push_back(padded("type or indicate the design is fully functional. ", 49));
    r.pieces.push_back(padded("True assurance is to test run the design THOROUGHLY.", 52));
    r.pieces.push_back(padded("", 66));
    r.pieces.push_back(padded("", 66));
    r.pieces.push_back(padded("The command file used by VORN MIRT is ZEL_SYSTEM.CMD. Copy or move the file into "
                              "VORN MIRT Program Folder and startup the program.",
                              130));
    return r;
}

std::vector<std::string> report_lines(const ValidationReport& report)
{
    std::vector<std::string> lines;
    for (const std::string& p : report.pieces) {
        const std::size_t last = p.find_last_not_of(' ');
        lines.push_back(last == std::string::npos ? std::string() : p.substr(0, last + 1));
    }
    return lines;
}

ReportRun run_validation_report(const char* working_path)
{
    ReportRun run;
    ConfigRecord rec;
    std::FILE* f = working_path ? std::fopen(working_path, "r+b") : nullptr;
    const bool read = f != nullptr && read_record(f, rec) == ReadStatus::ok;
    if (f) std::fclose(f);
    if (!read) {
        run.message = kReportOpenFailedText;
        run.caption = kReportOpenFailedCaption;
        return run;
    }
    run.ok = true;
    run.report = build_validation_report(rec);
    return run;
}

}  // namespace zel
