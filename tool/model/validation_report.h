// The validation report: its eighteen pieces, each padded to its width, the show-stopper
// flag, the report as trimmed lines, and running it on the working file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config_record.h"

namespace zel {

inline constexpr const char* kReportOpenFailedText = "Cannot Open zel_system.cfg for testing";
inline constexpr const char* kReportOpenFailedCaption = "Configuration ALERT";

struct ValidationReport {
    std::vector<std::string> pieces;  // in order, each with its trailing spaces
    bool show_stopper = false;

    // The pieces joined: what the report box shows (no line breaks).
    std::string text() const;
};

// The first of routes 0 to 15 whose extension has exactly 4 characters and whose port and
// voice are not empty, or none.
std::optional<int> first_complete_route(const ConfigRecord& rec);

ValidationReport build_validation_report(const ConfigRecord& rec);

// One line per piece, its trailing spaces trimmed (pieces of spaces give empty lines).
std::vector<std::string> report_lines(const ValidationReport& report);

struct ReportRun {
    bool ok = false;
    ValidationReport report;  // when ok
    std::string message;      // when not: the box to show
    std::string caption;
};

// Report on the working file: opened for update (a file that cannot be updated fails as
// one that cannot be read), read whole, closed. A file shorter than one record fails too.
ReportRun run_validation_report(const char* working_path);

}  // namespace zel
