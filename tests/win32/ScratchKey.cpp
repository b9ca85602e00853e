#include "ScratchKey.h"

#include <sddl.h>

#include <cstring>

namespace {
constexpr const wchar_t* kParent = L"Software\\Quillmoor\\";

// Sets the access list given in the security descriptor language on the key and, unless told otherwise, on every
// key below it.
void SetAccess(HKEY parent, const std::wstring& path, const wchar_t* descriptor, bool below = true) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, READ_CONTROL | WRITE_DAC | KEY_ENUMERATE_SUB_KEYS, &key) !=
        ERROR_SUCCESS)
        return;
    PSECURITY_DESCRIPTOR security = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor, SDDL_REVISION_1, &security, nullptr)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security);
        LocalFree(security);
    }
    wchar_t name[256];
    for (DWORD index = 0; below; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        SetAccess(key, name, descriptor);
    }
    RegCloseKey(key);
}

constexpr const wchar_t* kReadOnly = L"D:P(A;OICI;KR;;;WD)";
constexpr const wchar_t* kFullAccess = L"D:(A;OICI;KA;;;WD)";
} // namespace

ScratchKey::ScratchKey(const std::wstring& name) : m_path(kParent + name) {
    Clear();
}

ScratchKey::~ScratchKey() {
    Clear();
}

void ScratchKey::MakeReadOnly(bool sectionsToo) {
    SetAccess(HKEY_CURRENT_USER, m_path, kReadOnly, sectionsToo);
}

void ScratchKey::MakeSectionReadOnly(const std::wstring& section) {
    SetAccess(HKEY_CURRENT_USER, m_path + L"\\" + section, kReadOnly);
}

std::vector<std::wstring> ScratchKey::Subkeys() const {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

void ScratchKey::Clear() {
    SetAccess(HKEY_CURRENT_USER, m_path, kFullAccess);
    RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
}

bool ScratchKey::Exists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ScratchKey::HasSection(const std::wstring& section) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (m_path + L"\\" + section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::map<std::wstring, ScratchKey::Value> ScratchKey::Values(const std::wstring& section) const {
    std::map<std::wstring, Value> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (m_path + L"\\" + section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD nameLength = 512;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        Value value;
        value.type = type;
        value.data.resize(size);
        nameLength = 512;
        RegEnumValueW(key, index, name, &nameLength, nullptr, &type, value.data.data(), &size);
        values.emplace(std::wstring(name, nameLength), std::move(value));
    }
    RegCloseKey(key);
    return values;
}

bool ScratchKey::Value::IsDword(std::int32_t expected) const {
    return type == REG_DWORD && data.size() == 4 && std::memcmp(data.data(), &expected, 4) == 0;
}

bool ScratchKey::Value::IsString(const std::wstring& expected) const {
    const std::size_t bytes = (expected.size() + 1) * sizeof(wchar_t);
    return type == REG_SZ && data.size() == bytes && std::memcmp(data.data(), expected.c_str(), bytes) == 0;
}

void ScratchKey::SetRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
                        DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (m_path + L"\\" + section).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                    nullptr);
    RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void ScratchKey::SetDword(const std::wstring& section, const std::wstring& name, std::int32_t value) {
    SetRaw(section, name, REG_DWORD, &value, sizeof value);
}

void ScratchKey::SetString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    SetRaw(section, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void ScratchKey::Remove(const std::wstring& section, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (m_path + L"\\" + section).c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
}

std::wstring Numbered(const wchar_t* prefix, int index) {
    return prefix + std::to_wstring(index);
}
