// Binary whole-file reads and writes with the C runtime's own error texts.
#include "disk_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zelcfg {

namespace {

std::string errno_text(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

bool write_and_close(std::FILE* f, const std::string& bytes, std::string& problem)
{
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    if (!written) problem = errno_text("cannot write");
    const bool closed = std::fclose(f) == 0;
    if (written && !closed) problem = errno_text("cannot close");
    return written && closed;
}

}  // namespace

bool read_file_bytes(const std::string& path, std::string& bytes, std::string& problem)
{
    bytes.clear();
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        problem = errno_text("cannot open");
        return false;
    }
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        bytes.append(buffer, n);
        if (bytes.size() > kMaxFileBytes) {
            problem = "larger than " + std::to_string(kMaxFileBytes) + " bytes; not a record file";
            ok = false;
            break;
        }
        if (n < sizeof buffer) {
            if (std::ferror(f)) {
                problem = errno_text("cannot read");
                ok = false;
            }
            break;
        }
    }
    std::fclose(f);
    return ok;
}

bool file_exists(const std::string& path)
{
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return errno != ENOENT;  // unreadable but present counts as present
    std::fclose(f);
    return true;
}

bool write_new_file(const std::string& path, const std::string& bytes, std::string& problem)
{
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        problem = errno_text("cannot create");
        return false;
    }
    return write_and_close(f, bytes, problem);
}

bool overwrite_file(const std::string& path, const std::string& bytes, std::string& problem)
{
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "r+b");
    if (f == nullptr) {
        problem = errno_text("cannot open for writing");
        return false;
    }
    return write_and_close(f, bytes, problem);
}

}  // namespace zelcfg
