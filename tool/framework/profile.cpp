// Registry-backed settings.
#include "profile.h"

#include <vector>

namespace zf {

void Profile::SetKey(const std::string& registry_key, const std::string& app_title)
{
    registry_key_ = registry_key;
    app_title_ = app_title;
}

std::string Profile::AppKeyPath() const
{
    return "Software\\" + registry_key_ + "\\" + app_title_;
}

HKEY Profile::OpenSection(const char* section) const
{
    if (!enabled()) return nullptr;
    const std::string path = AppKeyPath() + "\\" + section;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

std::string Profile::GetString(const char* section, const char* entry, const std::string& fallback) const
{
    HKEY key = OpenSection(section);
    if (key == nullptr) return fallback;
    DWORD type = 0;
    DWORD size = 0;
    std::string value = fallback;
    if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::vector<char> buffer(size + 1, '\0');
        if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS)
            value.assign(buffer.data());
    }
    RegCloseKey(key);
    return value;
}

bool Profile::WriteString(const char* section, const char* entry, const std::string& value) const
{
    HKEY key = OpenSection(section);
    if (key == nullptr) return false;
    const bool ok = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

int Profile::GetInt(const char* section, const char* entry, int fallback) const
{
    HKEY key = OpenSection(section);
    if (key == nullptr) return fallback;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    int result = fallback;
    if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD)
        result = static_cast<int>(value);
    RegCloseKey(key);
    return result;
}

bool Profile::WriteInt(const char* section, const char* entry, int value) const
{
    HKEY key = OpenSection(section);
    if (key == nullptr) return false;
    const DWORD v = static_cast<DWORD>(value);
    const bool ok =
        RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool Profile::DeleteValue(const char* section, const char* entry) const
{
    HKEY key = OpenSection(section);
    if (key == nullptr) return false;
    const LONG status = RegDeleteValueA(key, entry);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

void Profile::LoadRecentFiles(RecentFileList& list) const
{
    std::vector<std::string> stored;
    for (std::size_t i = 0; i < list.capacity(); ++i)
        stored.push_back(GetString(RecentFileList::kSection, RecentFileList::EntryName(i).c_str()));
    list.Load(stored);
}

void Profile::SaveRecentFiles(const RecentFileList& list) const
{
    for (std::size_t i = 0; i < list.capacity(); ++i) {
        const std::string name = RecentFileList::EntryName(i);
        if (i < list.entries().size())
            WriteString(RecentFileList::kSection, name.c_str(), list.entries()[i]);
        else
            DeleteValue(RecentFileList::kSection, name.c_str());
    }
}

}  // namespace zf
