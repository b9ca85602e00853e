#pragma once

#include "WindowsHeaders.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

// A key of its own under HKEY_CURRENT_USER\Software\Quillmoor for one test, empty at the start and removed at the
// end, with the raw registry calls that set up and inspect what a store wrote, types included.
class ScratchKey {
public:
    explicit ScratchKey(const std::wstring& name);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The path under HKEY_CURRENT_USER, as a store takes it.
    const std::wstring& Path() const { return m_path; }

    struct Value {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;

        bool IsDword(std::int32_t expected) const;
        bool IsString(const std::wstring& expected) const;
        bool operator==(const Value&) const = default;
    };
    // Every value of a section by name; empty when the section is missing.
    std::map<std::wstring, Value> Values(const std::wstring& section) const;
    bool HasSection(const std::wstring& section) const;
    bool Exists() const;

    void SetRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data, DWORD size);
    void SetDword(const std::wstring& section, const std::wstring& name, std::int32_t value);
    void SetString(const std::wstring& section, const std::wstring& name, const std::wstring& value);
    void Remove(const std::wstring& section, const std::wstring& name);
    // Lets everyone read the key (and its sections) but nobody change it, as an administrator may have set it.
    void MakeReadOnly(bool sectionsToo = true);
    // The same for one section alone.
    void MakeSectionReadOnly(const std::wstring& section);
    // The names of the key's subkeys.
    std::vector<std::wstring> Subkeys() const;
    void Clear();

private:
    std::wstring m_path;
};

// The name of a numbered value: the prefix followed by the slot index.
std::wstring Numbered(const wchar_t* prefix, int index);
