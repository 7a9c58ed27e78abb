// Export of the command file, reporting the reason of any failed step.
#include "command_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "config_record.h"
#include "record_file.h"

namespace zel {

namespace {

// The C library's reason for the last failure, or `fallback` when it left none.
std::string reason(const char* fallback)
{
    const int e = errno;
    return e != 0 ? std::string(std::strerror(e)) : std::string(fallback);
}

ExportResult failed(const char* what, const std::string& why)
{
    ExportResult r;
    r.message = std::string(what) + why;
    return r;
}

constexpr const char* kReadFailed = "Could not read zel_system.cfg: ";
constexpr const char* kWriteFailed = "Could not write ZEL_SYSTEM.CMD: ";

}  // namespace

ExportResult export_command_file(const char* working_path, const char* command_path)
{
    if (working_path == nullptr || command_path == nullptr) return failed(kReadFailed, "no file name");

    ConfigRecord rec;
    errno = 0;
    std::FILE* in = std::fopen(working_path, "rb");
    if (in == nullptr) return failed(kReadFailed, reason("the file cannot be opened"));
    errno = 0;
    const ReadStatus status = read_record(in, rec);
    const std::string read_reason = reason("read error");
    std::fclose(in);
    if (status == ReadStatus::short_read) return failed(kReadFailed, "the file is shorter than one configuration record");
    if (status != ReadStatus::ok) return failed(kReadFailed, read_reason);

    rec.bytes[field_offset(Field::validated_flag)] = '1';

    errno = 0;
    std::FILE* out = std::fopen(command_path, "wb");
    if (out == nullptr) return failed(kWriteFailed, reason("the file cannot be created"));
    errno = 0;
    const bool written = write_record(out, rec);
    std::string why = written ? std::string() : reason("write error");
    errno = 0;
    if (std::fclose(out) != 0 && written) why = reason("the file could not be closed");
    if (!why.empty()) {
        std::remove(command_path);
        return failed(kWriteFailed, why);
    }
    return ExportResult{true, {}};
}

}  // namespace zel
