// "Set Configuration For Use": the working file's record, marked as validated, written as
// the command file, with every step checked.
#pragma once

#include <string>

namespace zel {

inline constexpr const char* kExportFailedCaption = "Configuration Not Exported";

struct ExportResult {
    bool ok = false;
    int err = 0;  // errno of the failing step, 0 when the C library gave none
    // When not ok: "Could not read zel_system.cfg: <reason>" or
    // "Could not write ZEL_SYSTEM.CMD: <reason>".
    std::string message;
};

// Reads the record from `working_path`, sets validated_flag to '1' (no other byte of a
// sound record changes; a damaged one is made sound) and writes it to `command_path`.
// A command file that could not be written completely is removed, so a half-written one
// is never left for the runtime.
// `reason` words an errno for the operator (strerror's wording when null).
using ExportReasonFn = std::string (*)(int err);
ExportResult export_command_file(const char* working_path, const char* command_path,
                                 ExportReasonFn reason = nullptr);

}  // namespace zel
