#include "RegistryTree.h"

#include "StoredLayout.h"
#include "Utf8.h"

#include <cstring>
#include <utility>
#include <vector>

namespace Win32Ui {

namespace {
// A REG_SZ value's data as text: it ends at its first NUL, as it does for every reader of a REG_SZ value, and need
// not hold a whole number of characters.
std::string TextOf(const std::vector<wchar_t>& buffer, DWORD bytes) {
    std::wstring_view text(buffer.data(), bytes / sizeof(wchar_t));
    if (const auto nul = text.find(L'\0'); nul != std::wstring_view::npos)
        text = text.substr(0, nul);
    return ToUtf8(text);
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RawValue&) const = default;
};

// Every value of an open key by name, with its type and data; false when they cannot be read.
bool RawValues(HKEY key, std::map<std::wstring, RawValue>& values) {
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(longestName + 1);
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        RawValue value;
        value.data.resize(longestData);
        DWORD size = longestData;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &size) !=
            ERROR_SUCCESS)
            return false;
        value.data.resize(size);
        values.emplace(std::wstring(name.data(), nameLength), std::move(value));
    }
    return true;
}

bool SubkeyNames(HKEY key, std::vector<std::wstring>& names) {
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG result = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            return true;
        if (result != ERROR_SUCCESS)
            return false;
        names.emplace_back(name, length);
    }
}

bool SameKeys(HKEY first, HKEY second) {
    std::map<std::wstring, RawValue> a;
    std::map<std::wstring, RawValue> b;
    if (!RawValues(first, a) || !RawValues(second, b) || a != b)
        return false;
    std::vector<std::wstring> subkeysA;
    std::vector<std::wstring> subkeysB;
    if (!SubkeyNames(first, subkeysA) || !SubkeyNames(second, subkeysB) || subkeysA.size() != subkeysB.size())
        return false;
    for (const std::wstring& name : subkeysA) {
        HKEY childA = nullptr;
        HKEY childB = nullptr;
        const bool same = RegOpenKeyExW(first, name.c_str(), 0, KEY_READ, &childA) == ERROR_SUCCESS &&
                          RegOpenKeyExW(second, name.c_str(), 0, KEY_READ, &childB) == ERROR_SUCCESS &&
                          SameKeys(childA, childB);
        if (childA)
            RegCloseKey(childA);
        if (childB)
            RegCloseKey(childB);
        if (!same)
            return false;
    }
    return true;
}
} // namespace

RegistryTree::RegistryTree(HKEY root, std::wstring keyPath) : m_root(root), m_keyPath(std::move(keyPath)) {}

RegistryTree::~RegistryTree() {
    for (const auto& [name, key] : m_keys)
        RegCloseKey(key.handle);
}

std::wstring RegistryTree::PathOf(const std::string& key) const {
    return key.empty() ? m_keyPath : m_keyPath + L"\\" + ToWide(key);
}

HKEY RegistryTree::ReadKey(const std::string& key) {
    if (const auto found = m_keys.find(key); found != m_keys.end())
        return found->second.handle;
    const std::wstring path = PathOf(key);
    OpenKey open;
    LONG result = RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                  nullptr, &open.handle, nullptr);
    open.writable = result == ERROR_SUCCESS;
    // A key the user may read but not change still shows what it holds; writing to it then fails.
    if (result == ERROR_ACCESS_DENIED)
        result = RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ, &open.handle);
    if (result != ERROR_SUCCESS)
        return nullptr;
    m_keys.emplace(key, open);
    return open.handle;
}

HKEY RegistryTree::WriteKey(const std::string& key) {
    const auto found = m_keys.find(key);
    if (found != m_keys.end() && found->second.writable)
        return found->second.handle;
    OpenKey open;
    if (RegCreateKeyExW(m_root, PathOf(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &open.handle, nullptr) != ERROR_SUCCESS)
        return nullptr;
    open.writable = true;
    if (found != m_keys.end()) {
        RegCloseKey(found->second.handle);
        found->second = open;
    } else {
        m_keys.emplace(key, open);
    }
    return open.handle;
}

HKEY RegistryTree::OpenExisting(const std::string& key) const {
    HKEY handle = nullptr;
    return RegOpenKeyExW(m_root, PathOf(key).c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS ? handle : nullptr;
}

void RegistryTree::Forget(const std::string& key) {
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        const std::string& name = it->first;
        if (key.empty() || name == key || (name.size() > key.size() && name.compare(0, key.size(), key) == 0 &&
                                           name[key.size()] == '\\')) {
            RegCloseKey(it->second.handle);
            it = m_keys.erase(it);
        } else {
            ++it;
        }
    }
}

std::optional<int> RegistryTree::ReadInt(const std::string& key, const std::string& name) {
    HKEY handle = ReadKey(key);
    if (!handle)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result =
        RegQueryValueExW(handle, ToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<std::string> RegistryTree::ReadString(const std::string& key, const std::string& name) {
    HKEY handle = ReadKey(key);
    if (!handle)
        return std::nullopt;
    const std::wstring valueName = ToWide(name);
    // Room for every text the program writes, so that one call reads it; a longer, hand-edited one takes a second.
    // The extra element keeps room for a missing NUL or half a character.
    std::vector<wchar_t> buffer(kLongestStoredText + 1, L'\0');
    DWORD type = 0;
    DWORD read = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    LONG result =
        RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read);
    if (result == ERROR_MORE_DATA) {
        buffer.assign(read / sizeof(wchar_t) + 2, L'\0');
        read = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        result =
            RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read);
    }
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return TextOf(buffer, read);
}

std::optional<std::vector<std::string>> RegistryTree::Subkeys(const std::string& key) {
    std::vector<std::string> names;
    HKEY handle = nullptr;
    const LONG result = RegOpenKeyExW(m_root, PathOf(key).c_str(), 0, KEY_READ, &handle);
    if (result == ERROR_FILE_NOT_FOUND)
        return names;
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<std::wstring> wide;
    const bool listed = SubkeyNames(handle, wide);
    RegCloseKey(handle);
    if (!listed)
        return std::nullopt;
    for (const std::wstring& name : wide)
        names.push_back(ToUtf8(name));
    return names;
}

bool RegistryTree::WriteInt(const std::string& key, const std::string& name, int value) {
    HKEY handle = WriteKey(key);
    if (!handle)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(handle, ToWide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
}

bool RegistryTree::WriteString(const std::string& key, const std::string& name, const std::string& value) {
    HKEY handle = WriteKey(key);
    if (!handle)
        return false;
    const std::wstring text = ToWide(value);
    return RegSetValueExW(handle, ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryTree::DeleteKey(const std::string& key) {
    Forget(key);
    const std::wstring path = PathOf(key);
    const LONG result = RegDeleteTreeW(m_root, path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool RegistryTree::CanWrite(const std::string& key) {
    return WriteKey(key) != nullptr;
}

bool RegistryTree::CopyKey(const std::string& from, const std::string& to) {
    HKEY source = OpenExisting(from);
    HKEY copy = nullptr;
    DWORD disposition = 0;
    const bool copied = source &&
                        RegCreateKeyExW(m_root, PathOf(to).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &copy, &disposition) == ERROR_SUCCESS &&
                        disposition == REG_CREATED_NEW_KEY && RegCopyTreeW(source, nullptr, copy) == ERROR_SUCCESS;
    if (source)
        RegCloseKey(source);
    if (copy)
        RegCloseKey(copy);
    return copied;
}

bool RegistryTree::SameContent(const std::string& first, const std::string& second) {
    HKEY a = OpenExisting(first);
    HKEY b = OpenExisting(second);
    const bool same = a && b && SameKeys(a, b);
    if (a)
        RegCloseKey(a);
    if (b)
        RegCloseKey(b);
    return same;
}

bool RegistryTree::Flush() {
    HKEY program = OpenExisting("");
    if (!program)
        return false;
    const bool flushed = RegFlushKey(program) == ERROR_SUCCESS;
    RegCloseKey(program);
    return flushed;
}

} // namespace Win32Ui
