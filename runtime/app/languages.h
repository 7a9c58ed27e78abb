// The runtime's language list and the four channel language labels, made when the
// main window is created. Portable: the storage for each entry comes from the caller,
// which may fail, so the rules for a short list are tested without the platform.
#pragma once

#include <cstddef>
#include <functional>

namespace vorn {

inline constexpr std::size_t kLanguageNameMax = 24;  // characters, without the NUL
inline constexpr std::size_t kLanguageFolderMax = 63;
inline constexpr int kChannelCount = 4;

struct Language {
    char name[kLanguageNameMax + 1];
    char folder[kLanguageFolderMax + 1];
    Language* next;
};

struct LanguageSeed {
    const char* name;
    const char* folder;
};

// In creation order; each entry goes to the front, so the list reads backwards.
inline constexpr LanguageSeed kLanguageSeeds[] = {
    {"German", ".\\German"},
    {"French", ".\\French"},
    {"English", ".\\English"},
};

// Storage for one entry, or nullptr with *fault set to the text to report.
using LanguageAllocator = std::function<Language*(const char** fault)>;
using FaultReport = std::function<void(const char* text)>;

// Builds the list from kLanguageSeeds and returns its head. An entry whose storage
// cannot be had is reported and left out.
Language* build_language_list(const LanguageAllocator& allocate, const FaultReport& report);

struct ChannelLabels {
    char label[kChannelCount][kLanguageNameMax + 1];
};

// Every channel gets the first language's name; empty when the list is empty.
ChannelLabels channel_labels(const Language* head);

}  // namespace vorn
