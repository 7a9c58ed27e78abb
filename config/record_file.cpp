// Whole-record input and output with our own text-mode translation.
#include "record_file.h"

#include <vector>

namespace zel {

std::string to_disk(const ConfigRecord& rec)
{
    std::string disk;
    disk.reserve(kDiskSize);
    for (unsigned char c : rec.bytes) {
        if (c == '\n') disk.push_back('\r');
        disk.push_back(static_cast<char>(c));
    }
    return disk;
}

std::size_t from_disk(std::string_view disk, ConfigRecord& out)
{
    std::size_t got = 0;
    for (std::size_t i = 0; i < disk.size() && got < kRecordSize; ++i) {
        unsigned char c = static_cast<unsigned char>(disk[i]);
        if (c == 0x1A) break;
        if (c == '\r' && i + 1 < disk.size() && disk[i + 1] == '\n') {
            c = '\n';
            ++i;
        }
        out.bytes[got++] = c;
    }
    return got;
}

ReadStatus read_record(std::FILE* f, ConfigRecord& out, std::size_t* got)
{
    if (got) *got = 0;
    if (f == nullptr || std::fseek(f, 0, SEEK_SET) != 0) return ReadStatus::io_error;
    // Each image byte takes at most two bytes on disk.
    std::vector<char> buffer(2 * kRecordSize + 1);
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
    if (std::ferror(f)) return ReadStatus::io_error;
    const std::size_t image = from_disk(std::string_view(buffer.data(), n), out);
    if (got) *got = image;
    return image == kRecordSize ? ReadStatus::ok : ReadStatus::short_read;
}

bool write_record(std::FILE* f, const ConfigRecord& rec)
{
    if (f == nullptr || std::fseek(f, 0, SEEK_SET) != 0) return false;
    const std::string disk = to_disk(rec);
    if (std::fwrite(disk.data(), 1, disk.size(), f) != disk.size()) return false;
    return std::fflush(f) == 0 && !std::ferror(f);
}

ReadStatus load_record(const char* path, ConfigRecord& out, std::size_t* got)
{
    if (got) *got = 0;
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return ReadStatus::io_error;
    const ReadStatus status = read_record(f, out, got);
    std::fclose(f);
    return status;
}

bool save_record(const char* path, const ConfigRecord& rec)
{
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool written = write_record(f, rec);
    return std::fclose(f) == 0 && written;
}

}  // namespace zel
