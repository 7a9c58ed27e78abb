// zelcfg's commands: new, dump, get, set, check (with --explain), report and preview over
// one record file, export from a working file to a command file, and calls over call logs.
// The whole tool is this one call, so tests drive exactly what the program does.
#pragma once

#include <string>
#include <vector>

namespace zelcfg {

// Runs one command line (without the program name). What the program prints goes to
// `out` (standard output) and `err` (standard error). Returns the exit status:
// 0 on success, 1 on any error, misuse, or finding of `check`; 3 when `check --explain`
// finds a probable mistake in a sound record.
int run(const std::vector<std::string>& args, std::string& out, std::string& err);

// The usage text printed for --help and on misuse.
const char* usage_text();

}  // namespace zelcfg
