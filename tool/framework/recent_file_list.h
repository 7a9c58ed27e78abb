// RecentFileList: the most-recently-used document paths, newest first, at most `capacity`
// of them; adding a path already listed (compared without regard to letter case, as
// Windows paths are) moves it to the front. Portable; the profile loads and saves it as
// values "File1".."FileN" of its section.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zf {

class RecentFileList {
public:
    static constexpr const char* kSection = "Recent File List";

    explicit RecentFileList(std::size_t capacity) : capacity_(capacity) {}

    void Add(std::string_view path);
    void Remove(std::size_t index);
    std::size_t capacity() const { return capacity_; }
    const std::vector<std::string>& entries() const { return entries_; }

    // Value name of entry `index` (0-based): "File1" for 0.
    static std::string EntryName(std::size_t index);

    // Rebuilds the list from stored values in entry order; empty values are skipped.
    void Load(const std::vector<std::string>& stored);

private:
    std::size_t capacity_;
    std::vector<std::string> entries_;
};

}  // namespace zf
