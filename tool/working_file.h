// The tool's working file zel_system.cfg: making sure it exists at start-up, and the edit
// cycle every configuration dialog runs on it (begin, commit, abandon). Portable; the
// Win32 shell only shows the boxes these functions describe.
#pragma once

#include <cstdio>
#include <string>

#include "config_record.h"

namespace zel {

// Always opened by this relative name, so it lives in the current directory of the moment.
inline constexpr const char* kWorkingFileName = "zel_system.cfg";

// Turns the errno of a failed file operation into the text the operator is shown.
// The Windows shell installs one that asks the system for its own wording.
using ReasonFn = std::string (*)(int err);
std::string crt_reason(int err);  // strerror's wording
void set_reason_source(ReasonFn fn);  // nullptr restores crt_reason
std::string reason_for(int err);

struct FileFault {
    int err = 0;         // errno of the failing step
    std::string reason;  // the system's wording for it
};

enum class EnsureResult {
    existed,   // opened for update and closed again, not read, not changed
    created,   // was missing; now holds the default record
    unusable,  // could neither be opened for update nor created; left exactly as it was
};

struct EnsureOutcome {
    EnsureResult result = EnsureResult::existed;
    FileFault fault;  // set for unusable
};

// Start-up check. A file that exists is never truncated, even when it cannot be opened
// for update (locked, read-only, a folder): only a missing file is created.
EnsureOutcome ensure_working_file(const char* path = kWorkingFileName);

enum class CommitResult {
    saved,     // the whole image was written, flushed and the stream closed without error
    failed,    // some step failed; the stream is closed anyway
    not_open,  // the cycle never opened the file: nothing written
};

// One dialog's hold on the working file, from its initialisation to its Save or Cancel.
// The destructor abandons an edit that is still open, so no path leaks the stream.
class WorkingFileEdit {
public:
    WorkingFileEdit() = default;
    ~WorkingFileEdit();
    WorkingFileEdit(const WorkingFileEdit&) = delete;
    WorkingFileEdit& operator=(const WorkingFileEdit&) = delete;

    // Opens the file for update and reads the whole record into `image`; a short file's
    // missing tail is taken from the default record. False when the file could not be
    // opened: `image` is left alone, the dialog goes on with empty controls and the edit
    // stays closed.
    bool begin(ConfigRecord& image, const char* path = kWorkingFileName);

    // Writes the whole image back, made sound first (make_sound), flushes and closes,
    // checking every step.
    CommitResult commit(const ConfigRecord& image);

    // Closes the stream without writing, if it is open.
    void abandon();

    bool is_open() const { return stream_ != nullptr; }
    const FileFault& fault() const { return fault_; }  // why begin or commit failed

private:
    std::FILE* stream_ = nullptr;
    FileFault fault_;
};

}  // namespace zel
