#include "RegistryProfileStore.h"

#include "MessageEntry.h"
#include "Utf8.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

RegistryProfileStore::RegistryProfileStore(HKEY root, std::wstring keyPath)
    : m_root(root), m_keyPath(std::move(keyPath)) {}

RegistryProfileStore::~RegistryProfileStore() {
    for (const auto& [name, key] : m_sections)
        RegCloseKey(key);
}

std::wstring RegistryProfileStore::KeyPathFor(const std::wstring& organization, const std::wstring& application) {
    return L"Software\\" + organization + L"\\" + application;
}

HKEY RegistryProfileStore::SectionKey(const std::string& section) {
    if (const auto found = m_sections.find(section); found != m_sections.end())
        return found->second;
    const std::wstring path = m_keyPath + L"\\" + ToWide(section);
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                  nullptr, &key, nullptr);
    // A key the user may read but not change still shows the stored list; the first save then fails.
    if (result == ERROR_ACCESS_DENIED)
        result = RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ, &key);
    if (result != ERROR_SUCCESS)
        return nullptr;
    m_sections.emplace(section, key);
    return key;
}

int RegistryProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    HKEY key = SectionKey(section);
    if (!key)
        return nDefault;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result =
        RegQueryValueExW(key, ToWide(entry).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return nDefault;
    return static_cast<int>(value);
}

std::string RegistryProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                                   const std::string& defaultValue) {
    HKEY key = SectionKey(section);
    if (!key)
        return defaultValue;
    const std::wstring name = ToWide(entry);
    // Room for every text the program writes, so that one call reads it; a longer, hand-edited one takes a second.
    // Data need not end in a NUL, nor hold a whole number of characters: the extra element keeps room for both.
    std::vector<wchar_t> buffer(MESSAGE_TEXT_SIZE + 1, L'\0');
    DWORD type = 0;
    DWORD read = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read);
    if (result == ERROR_MORE_DATA) {
        buffer.assign(read / sizeof(wchar_t) + 2, L'\0');
        read = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read);
    }
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;
    std::wstring_view text(buffer.data(), read / sizeof(wchar_t));
    // The text ends at its first NUL, as it does for every reader of a REG_SZ value.
    if (const auto nul = text.find(L'\0'); nul != std::wstring_view::npos)
        text = text.substr(0, nul);
    return ToUtf8(text);
}

bool RegistryProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    HKEY key = m_refuseWrites ? nullptr : SectionKey(section);
    if (!key)
        return false;
    const DWORD value = static_cast<DWORD>(nValue);
    return RegSetValueExW(key, ToWide(entry).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool RegistryProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                              const std::string& value) {
    HKEY key = m_refuseWrites ? nullptr : SectionKey(section);
    if (!key)
        return false;
    const std::wstring text = ToWide(value);
    return RegSetValueExW(key, ToWide(entry).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryProfileStore::Commit() {
    return !m_refuseWrites;
}

void RegistryProfileStore::PreserveBeforeRepair() {
    HKEY program = nullptr;
    if (RegOpenKeyExW(m_root, m_keyPath.c_str(), 0, KEY_READ | KEY_WRITE, &program) != ERROR_SUCCESS) {
        m_refuseWrites = true;
        return;
    }
    // Every section, not only those the load has read: a count out of range leaves the messages unread. Earlier
    // copies stay as they are, and the new one is numbered on from the highest number there, so that the newest
    // always has the highest.
    const std::wstring_view prefix = kDamagedPrefix;
    std::vector<std::wstring> sections;
    unsigned long highest = 0;
    bool preserved = true;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG result = RegEnumKeyExW(program, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS) {
            preserved = false;
            break;
        }
        const std::wstring_view subkey(name, length);
        if (subkey.substr(0, prefix.size()) == prefix)
            highest = std::max(highest, std::wcstoul(std::wstring(subkey.substr(prefix.size())).c_str(), nullptr, 10));
        else
            sections.emplace_back(subkey);
    }
    const std::wstring copyName = std::wstring(prefix) + std::to_wstring(highest + 1);
    for (const std::wstring& section : sections) {
        if (!preserved)
            break;
        HKEY source = nullptr;
        HKEY copy = nullptr;
        const std::wstring path = copyName + L"\\" + section;
        preserved = RegOpenKeyExW(program, section.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS &&
                    RegCreateKeyExW(program, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                    &copy, nullptr) == ERROR_SUCCESS &&
                    RegCopyTreeW(source, nullptr, copy) == ERROR_SUCCESS;
        if (source)
            RegCloseKey(source);
        if (copy)
            RegCloseKey(copy);
    }
    RegCloseKey(program);
    m_refuseWrites = !preserved;
}
