// zelcfg's commands: new, dump, get, set, check and report over one record file, and
// export from a working file to a command file.
// The whole tool is this one call, so tests drive exactly what the program does.
#pragma once

#include <string>
#include <vector>

namespace zelcfg {

// Runs one command line (without the program name). What the program prints goes to
// `out` (standard output) and `err` (standard error). Returns the exit status:
// 0 on success, 1 on any error, misuse, or finding of `check`.
int run(const std::vector<std::string>& args, std::string& out, std::string& err);

// The usage text printed for --help and on misuse.
const char* usage_text();

}  // namespace zelcfg
