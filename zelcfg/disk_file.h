// Whole-file byte access for zelcfg: files are read and written in binary, so what
// zelcfg sees is exactly what is on disk. Problems come back as text naming the cause.
#pragma once

#include <cstddef>
#include <string>

namespace zelcfg {

// Nothing that is a record file comes near this; it keeps a wrong file from filling memory.
inline constexpr std::size_t kMaxFileBytes = 4u << 20;

// False with a problem text when the file cannot be opened or read, or is larger than kMaxFileBytes.
bool read_file_bytes(const std::string& path, std::string& bytes, std::string& problem);

bool file_exists(const std::string& path);

// Creates (or truncates) the file and writes the bytes.
bool write_new_file(const std::string& path, const std::string& bytes, std::string& problem);

// Writes the bytes over the start of an existing file without truncating it first,
// so a failure to open leaves the file as it was.
bool overwrite_file(const std::string& path, const std::string& bytes, std::string& problem);

}  // namespace zelcfg
