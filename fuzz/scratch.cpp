// The fuzz targets' scratch folder.
#include "scratch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fuzzscratch {

namespace {

struct Folder {
    std::filesystem::path dir;

    Folder()
    {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec) base = "/tmp";
        std::string pattern = (base / "zelfuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        dir = pattern;
    }
    ~Folder()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

}  // namespace

std::string path(const char* name)
{
    return (folder().dir / name).string();
}

bool write(const std::string& file, std::string_view bytes)
{
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool read(const std::string& file, std::string& bytes)
{
    bytes.clear();
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (f == nullptr) return false;
    char buffer[8192];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace fuzzscratch
