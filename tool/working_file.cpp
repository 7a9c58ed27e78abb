// Working file start-up check and edit cycle. Binary streams with the record's own line-end
// translation, so the bytes on disk are the same whichever C runtime writes them.
#include "working_file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "record_file.h"

namespace zel {

namespace {

ReasonFn g_reason = nullptr;

FileFault fault_from(int err)
{
    // Some runtimes leave errno at 0 for a failed flush or close; say so rather than nothing.
    if (err == 0) err = EIO;
    return FileFault{err, reason_for(err)};
}

// Ends the file where the record just written ends: a longer file (two records, junk after
// one) would otherwise keep its old tail behind the new record.
bool cut_after_record(std::FILE* f)
{
    const long end = std::ftell(f);
    if (end < 0) return false;
#ifdef _WIN32
    return _chsize_s(_fileno(f), end) == 0;
#else
    return ftruncate(fileno(f), static_cast<off_t>(end)) == 0;
#endif
}

}  // namespace

std::string crt_reason(int err)
{
    const char* text = std::strerror(err);
    return text != nullptr ? std::string(text) : std::string("error ") + std::to_string(err);
}

void set_reason_source(ReasonFn fn)
{
    g_reason = fn;
}

std::string reason_for(int err)
{
    return g_reason != nullptr ? g_reason(err) : crt_reason(err);
}

EnsureOutcome ensure_working_file(const char* path)
{
    errno = 0;
    if (std::FILE* f = std::fopen(path, "rb+")) {
        std::fclose(f);
        return {EnsureResult::existed, {}};
    }
    const int open_err = errno;
    // Only a file that is not there may be created: anything else that stops the open
    // (a lock, a read-only file, a folder of that name) must leave the operator's data alone.
    if (open_err != ENOENT) return {EnsureResult::unusable, fault_from(open_err)};

    errno = 0;
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return {EnsureResult::unusable, fault_from(errno)};
    errno = 0;
    const bool written = write_record(f, default_record());
    FileFault fault;
    if (!written) fault = fault_from(errno);
    errno = 0;
    const bool closed = std::fclose(f) == 0;
    if (written && !closed) fault = fault_from(errno);
    if (!written || !closed) {
        // A half-written record would pass as "existed" next time; it is ours, so take it away.
        std::remove(path);
        return {EnsureResult::unusable, fault};
    }
    return {EnsureResult::created, {}};
}

WorkingFileEdit::~WorkingFileEdit()
{
    abandon();
}

bool WorkingFileEdit::begin(ConfigRecord& image, const char* path)
{
    abandon();
    fault_ = {};
    errno = 0;
    stream_ = std::fopen(path, "rb+");
    if (stream_ == nullptr) {
        fault_ = fault_from(errno);
        return false;
    }
    // A short or unreadable file still counts as open: the dialog shows what was read, and
    // the missing tail comes from the default record, so Save never writes a record that
    // lost its line feeds and labels.
    image = default_record();
    read_record(stream_, image);
    return true;
}

CommitResult WorkingFileEdit::commit(const ConfigRecord& image)
{
    if (stream_ == nullptr) return CommitResult::not_open;
    fault_ = {};
    // Whatever was read (a damaged file, a text with a stray line end), what is written is a
    // sound record: the default record's line feeds and labels, and a NUL in every slot.
    ConfigRecord sound = image;
    make_sound(sound);
    errno = 0;
    const bool written = write_record(stream_, sound) && cut_after_record(stream_);
    // Word the fault before anything else runs, while the system still remembers it.
    if (!written) fault_ = fault_from(errno);
    errno = 0;
    const bool closed = std::fclose(stream_) == 0;
    if (written && !closed) fault_ = fault_from(errno);
    stream_ = nullptr;
    return written && closed ? CommitResult::saved : CommitResult::failed;
}

void WorkingFileEdit::abandon()
{
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
}

}  // namespace zel
