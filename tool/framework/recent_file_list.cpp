// The recent-file list's ordering rules.
#include "recent_file_list.h"

#include <algorithm>
#include <cctype>

namespace zf {

namespace {

bool same_path(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void RecentFileList::Add(std::string_view path)
{
    if (path.empty() || capacity_ == 0) return;
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const std::string& e) { return same_path(e, path); });
    if (found != entries_.end()) entries_.erase(found);
    entries_.insert(entries_.begin(), std::string(path));
    if (entries_.size() > capacity_) entries_.resize(capacity_);
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string RecentFileList::EntryName(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}

void RecentFileList::Load(const std::vector<std::string>& stored)
{
    entries_.clear();
    for (const std::string& path : stored) {
        if (entries_.size() == capacity_) break;
        if (path.empty()) continue;
        bool listed = false;
        for (const std::string& e : entries_) listed = listed || same_path(e, path);
        if (!listed) entries_.push_back(path);
    }
}

}  // namespace zf
