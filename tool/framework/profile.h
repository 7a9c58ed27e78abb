// Profile: the application's settings in the registry, under
// HKEY_CURRENT_USER\Software\<registry key>\<application title>\<section>, as string and
// number values. Without a registry key it stores nothing and reads the defaults.
#pragma once

#include <windows.h>

#include <string>

#include "recent_file_list.h"

namespace zf {

class Profile {
public:
    void SetKey(const std::string& registry_key, const std::string& app_title);
    bool enabled() const { return !registry_key_.empty(); }
    // "Software\<registry key>\<application title>"
    std::string AppKeyPath() const;

    std::string GetString(const char* section, const char* entry, const std::string& fallback = {}) const;
    bool WriteString(const char* section, const char* entry, const std::string& value) const;
    int GetInt(const char* section, const char* entry, int fallback) const;
    bool WriteInt(const char* section, const char* entry, int value) const;
    bool DeleteValue(const char* section, const char* entry) const;

    void LoadRecentFiles(RecentFileList& list) const;
    // Writes the list's entries and removes stale higher-numbered values.
    void SaveRecentFiles(const RecentFileList& list) const;

private:
    // Opens (creating when needed) the section's key; nullptr when the profile is off.
    HKEY OpenSection(const char* section) const;

    std::string registry_key_;
    std::string app_title_;
};

}  // namespace zf
