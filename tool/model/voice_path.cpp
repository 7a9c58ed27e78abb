// The chooser's path list and the shared rules for taking a chosen voice file.
#include "voice_path.h"

#include <atomic>
#include <cstdio>

namespace zel {

namespace {

// Every list state gets a number never used before, so a position left over from an
// earlier choice, or from a list that lived at the same address, is recognised as stale.
unsigned long next_generation()
{
    static std::atomic<unsigned long> counter{0};
    return ++counter;
}

}  // namespace

VoicePathList::VoicePathList() : generation_(next_generation()) {}

void VoicePathList::assign(const std::vector<std::string>& paths)
{
    clear();
    for (const std::string& p : paths) {
        const std::string path = p.substr(0, p.find('\0'));
        if (path.empty()) continue;
        if (count_ == 0) first_ = path;
        block_ += path;
        block_.push_back('\0');
        ++count_;
    }
    if (count_ > 0) block_.push_back('\0');
}

void VoicePathList::clear()
{
    block_.clear();
    first_.clear();
    count_ = 0;
    generation_ = next_generation();
}

VoicePathList::Position VoicePathList::first_position() const
{
    if (count_ == 0) return {};
    return Position{this, generation_, 0};
}

bool VoicePathList::owns(const Position& pos) const
{
    if (pos.list != this || pos.generation != generation_) return false;
    if (pos.offset >= block_.size() || block_[pos.offset] == '\0') return false;
    return pos.offset == 0 || block_[pos.offset - 1] == '\0';
}

std::string VoicePathList::next_path(Position& pos) const
{
    if (!owns(pos)) {
        pos = {};
        return {};
    }
    const std::size_t end = block_.find('\0', pos.offset);
    std::string path = block_.substr(pos.offset, end - pos.offset);
    pos.offset = end + 1;
    if (pos.offset >= block_.size() || block_[pos.offset] == '\0') pos = {};
    return path;
}

std::vector<std::string> paths_from_dialog_result(std::string_view buffer)
{
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at < buffer.size()) {
        std::size_t end = buffer.find('\0', at);
        if (end == std::string_view::npos) end = buffer.size();
        if (end == at) break;  // the empty name that ends the list
        parts.emplace_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    if (parts.size() <= 1) return parts;

    std::vector<std::string> paths;
    const std::string& folder = parts.front();
    const bool has_separator = folder.back() == '\\' || folder.back() == '/';
    for (std::size_t i = 1; i < parts.size(); ++i) {
        paths.push_back(has_separator ? folder + parts[i] : folder + "\\" + parts[i]);
    }
    return paths;
}

std::string join_selection(const VoicePathList& list)
{
    std::string text;
    VoicePathList::Position pos = list.first_position();
    while (!pos.none()) text += list.next_path(pos);
    return text;
}

VoiceChoice decide_voice_choice(bool chosen, const VoicePathList& list, std::size_t limit)
{
    VoiceChoice choice;
    if (!chosen) return choice;
    choice.text = join_selection(list);
    if (choice.text.empty()) {
        choice.action = VoiceChoice::Action::keep;
    } else if (choice.text.size() > limit) {
        choice.action = VoiceChoice::Action::refuse;
        char message[128];
        std::snprintf(message, sizeof message,
                      "The voice file path is longer than %lu characters. Move the file to a shorter path.",
                      static_cast<unsigned long>(limit));
        choice.message = message;
        choice.caption = kVoiceNotSetCaption;
    } else {
        choice.action = VoiceChoice::Action::set;
    }
    return choice;
}

bool apply_voice_choice(std::string& shown, const VoiceChoice& choice)
{
    if (choice.action != VoiceChoice::Action::set) return false;
    shown = choice.text;
    return true;
}

}  // namespace zel
