// zelcfg check --explain: what in a sound record is probably a mistake, each finding with
// what a caller would get and how to mend it. The route and schedule questions are
// answered with the runtime's own lookup and rules where a rule is involved.
#pragma once

#include <string>
#include <vector>

#include "config_record.h"
#include "text_number.h"

namespace zelcfg {

struct Explanation {
    std::string field;    // "holiday_date[3]", "route_alt_number[2]"
    std::string problem;
    std::string caller;   // what a caller gets
    std::string fix;
};

// A folder of voice files: record paths under `record_prefix` (compared with '\' and '/'
// alike and letters in either case, as Windows names files) are looked for under
// `local_dir` on this system.
struct VoiceRoot {
    std::string record_prefix;
    std::string local_dir;
};

struct ExplainOptions {
    zel::Date today;
    std::vector<VoiceRoot> voice_roots;
    bool paths_as_they_are = false;  // every path can be opened as it is written (the Windows build)
};

std::vector<Explanation> explain_record(const zel::ConfigRecord& cmd, const ExplainOptions& options);

// "field: problem; callers: ...; fix: ..."
std::string explanation_line(const Explanation& e);

// "DIR" or "RECORD_DIR=DIR" as given to --voice-root; false when either side is empty.
bool parse_voice_root(const std::string& text, VoiceRoot& root);

// The file on this system that a record path names, or "" when it cannot be told here.
std::string resolve_voice_path(const std::string& path, const ExplainOptions& options);

}  // namespace zelcfg
