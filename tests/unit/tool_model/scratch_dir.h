// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace fixture {

class ScratchDir {
public:
    explicit ScratchDir(const char* stem)
    {
        std::random_device rd;
        const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                (std::string(stem) + "_" + std::to_string(rd()) + "_" + std::to_string(tick % 1000000));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const char* name) const { return (path_ / name).string(); }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace fixture
