// The voice file chooser's list of chosen paths, and what a dialog does with a choice:
// the joined selection, and the decision to set, keep or refuse it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Longest voice path each dialog stores (its edit limit at Save).
inline constexpr std::size_t kWeeklyVoiceLimit = 99;
inline constexpr std::size_t kRouteVoiceLimit = 121;
inline constexpr std::size_t kHolidayVoiceLimit = 121;

inline constexpr const char* kVoiceNotSetCaption = "Voice File Not Set";

// The chosen full paths as one block: each path followed by NUL, the block ended by an
// extra NUL; empty (no bytes at all) until the first successful choice.
class VoicePathList {
public:
    // Where the next path starts. A default one is "none".
    struct Position {
        const VoicePathList* list = nullptr;
        unsigned long generation = 0;
        std::size_t offset = 0;
        bool none() const { return list == nullptr; }
    };

    VoicePathList();

    // A successful choice replaces the whole list. Empty paths are skipped: inside the
    // block they would read as its end.
    void assign(const std::vector<std::string>& paths);
    void clear();

    std::size_t count() const { return count_; }
    const std::string& first_path() const { return first_; }
    const std::string& block() const { return block_; }

    // The start of the list, or none when it is empty.
    Position first_position() const;

    // The path at `pos`; moves `pos` to the next path, or to none after the last one.
    // A none, stale (the list has changed since) or foreign position gives the empty
    // text and becomes none.
    std::string next_path(Position& pos) const;

private:
    bool owns(const Position& pos) const;

    std::string block_;
    std::string first_;
    std::size_t count_ = 0;
    unsigned long generation_ = 0;
};

// The full paths an open-file dialog (explorer style, multiple selection) put into its
// buffer: one full path, or a folder followed by file names, each ended by NUL, the list
// ended by an empty name. Reading stops at the end of `buffer` if no end mark is found.
std::vector<std::string> paths_from_dialog_result(std::string_view buffer);

// Every path of the list in order, joined without separator ("" for an empty list).
std::string join_selection(const VoicePathList& list);

struct VoiceChoice {
    enum class Action {
        set,     // show `text` and store it as the dialog's Part says
        keep,    // nothing chosen by this browse: the voice stays as it was
        refuse,  // too long: show `message` with `caption`; the voice stays as it was
    };
    Action action = Action::keep;
    std::string text;     // the joined selection
    std::string message;  // for refuse only
    std::string caption;  // for refuse only
};

// What a dialog does after its chooser ran: `chosen` is the chooser's word that this browse
// chose a file. A cancelled browse keeps the voice even though `list` still holds an
// earlier pick, which something else may have replaced since. The dialog sets its
// voice-changed flag in every case: the file dialog may have moved the current folder
// even when nothing is taken.
VoiceChoice decide_voice_choice(bool chosen, const VoicePathList& list, std::size_t limit);

// Puts a `set` choice's text into `shown`; true when it did.
bool apply_voice_choice(std::string& shown, const VoiceChoice& choice);

}  // namespace zel
