// Export of the command file, reporting the reason of any failed step.
#include "command_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "config_record.h"
#include "record_file.h"

namespace zel {

namespace {

constexpr const char* kReadFailed = "Could not read zel_system.cfg: ";
constexpr const char* kWriteFailed = "Could not write ZEL_SYSTEM.CMD: ";

// Builds the failure of one step from the errno it left (read right after the step).
class Failure {
public:
    explicit Failure(ExportReasonFn reason) : reason_(reason) {}

    ExportResult operator()(const char* what, int err, const char* fallback) const
    {
        ExportResult r;
        r.err = err;
        std::string why;
        if (err != 0) why = reason_ ? reason_(err) : std::string(std::strerror(err));
        r.message = std::string(what) + (why.empty() ? std::string(fallback) : why);
        return r;
    }

private:
    ExportReasonFn reason_;
};

}  // namespace

ExportResult export_command_file(const char* working_path, const char* command_path, ExportReasonFn reason)
{
    const Failure failed(reason);
    if (working_path == nullptr || command_path == nullptr) return failed(kReadFailed, 0, "no file name");

    ConfigRecord rec;
    errno = 0;
    std::FILE* in = std::fopen(working_path, "rb");
    if (in == nullptr) return failed(kReadFailed, errno, "the file cannot be opened");
    errno = 0;
    const ReadStatus status = read_record(in, rec);
    const int read_err = errno;
    std::fclose(in);
    if (status == ReadStatus::short_read) {
        return failed(kReadFailed, 0, "the file is shorter than one configuration record");
    }
    if (status != ReadStatus::ok) return failed(kReadFailed, read_err, "read error");

    rec.bytes[field_offset(Field::validated_flag)] = '1';
    // A damaged working file is never passed on as it is: the runtime gets a sound record.
    // A sound one is left byte for byte, so only the validated flag differs.
    make_sound(rec);

    errno = 0;
    std::FILE* out = std::fopen(command_path, "wb");
    if (out == nullptr) return failed(kWriteFailed, errno, "the file cannot be created");
    errno = 0;
    const bool written = write_record(out, rec);
    const int write_err = errno;
    errno = 0;
    const bool closed = std::fclose(out) == 0;
    const int close_err = errno;
    if (written && closed) return ExportResult{true, 0, {}};
    std::remove(command_path);
    if (!written) return failed(kWriteFailed, write_err, "write error");
    return failed(kWriteFailed, close_err, "the file could not be closed");
}

}  // namespace zel
