// zelcfg's report and export: the tool's validation report over a record file, and the
// command file written from it only when that report finds no show-stopper.
#pragma once

#include <string>

namespace zelcfg {

// Prints the report, one piece per line with its trailing spaces trimmed. Returns 1 when
// the report finds a show-stopper or the file cannot be reported on, else 0.
int report_command(const std::string& file, std::string& out, std::string& err);

// Prints the report of `cfg` and, when it finds no show-stopper, writes `cmd` as the
// tool's "Set Configuration For Use" does. Returns 1, with `cmd` untouched, when the
// report finds a show-stopper; 1 with no `cmd` left behind when the export fails.
int export_command(const std::string& cfg, const std::string& cmd, std::string& out, std::string& err);

}  // namespace zelcfg
