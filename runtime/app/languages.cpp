// The language list and channel labels.
#include "languages.h"

#include <cstdio>

namespace vorn {

Language* build_language_list(const LanguageAllocator& allocate, const FaultReport& report)
{
    Language* head = nullptr;
    for (const LanguageSeed& seed : kLanguageSeeds) {
        const char* fault = "Alloc Memory Failed";
        Language* entry = allocate(&fault);
        if (!entry) {
            report(fault);
            continue;
        }
        std::snprintf(entry->name, sizeof entry->name, "%s", seed.name);
        std::snprintf(entry->folder, sizeof entry->folder, "%s", seed.folder);
        entry->next = head;
        head = entry;
    }
    return head;
}

ChannelLabels channel_labels(const Language* head)
{
    ChannelLabels labels{};
    for (auto& label : labels.label) std::snprintf(label, sizeof label, "%s", head ? head->name : "");
    return labels;
}

}  // namespace vorn
