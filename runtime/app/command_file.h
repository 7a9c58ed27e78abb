// Loading the command file ZEL_SYSTEM.CMD for the Open command, and the voice file
// sampling rate it selects. Portable: the Win32 shell shows the messages.
#pragma once

#include <cstdint>
#include <cstdio>

#include "config_record.h"

namespace vorn {

// The name the runtime opens, relative to its current folder.
inline constexpr const char* kCommandFileName = "zel_system.cmd";

enum class LoadOutcome {
    loaded,         // the record was taken and the file is kept open
    unreadable,     // missing, unreadable, or shorter than a whole record
    not_validated,  // a whole record whose validated_flag is not '1'
};

// Opens `path` and reads one whole record from its start. Only a validated whole
// record is copied into `record`, and only then is the open file handed to the caller
// through `kept`; on every other outcome the file is closed here and `record` is left
// exactly as it was, so a stale or partial record can never be used.
LoadOutcome load_command_file(const char* path, zel::ConfigRecord& record, std::FILE** kept);

// The sampling rate code for a record's vox_type_index: 0 or 1 give 48 (6 kHz),
// 2 gives 64 (8 kHz), 3 to 6 give 88 (11 kHz), anything else 0.
std::uint32_t rate_code_for(const zel::ConfigRecord& record);
std::uint32_t rate_code_for_index(int vox_type_index);

}  // namespace vorn
