#pragma once

#include "ProfileStore.h"

#include "WindowsHeaders.h"

#include <map>
#include <string>

// The settings store in the registry: each section is a subkey of the program's key, integers are REG_DWORD and
// strings REG_SZ. Keys are created on first access, reads included. A value of another type than the one asked
// for reads as the caller's default. Texts cross over as UTF-16 and come back to the core as UTF-8.
class RegistryProfileStore : public ProfileStore {
public:
    // The program's key is keyPath under root, HKEY_CURRENT_USER in the program; tests hand in a scratch key, or a
    // root opened without the right to create keys.
    RegistryProfileStore(HKEY root, std::wstring keyPath);
    ~RegistryProfileStore() override;

    RegistryProfileStore(const RegistryProfileStore&) = delete;
    RegistryProfileStore& operator=(const RegistryProfileStore&) = delete;

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    // Every write has reached the registry when it returns; there is nothing left to push.
    bool Commit() override;
    // Copies every section, as it is, under a new subkey "Damaged N" of the program's key, N one above the highest
    // there, so that no earlier copy is ever replaced; if that cannot be done, every later write fails, so the
    // repair cannot overwrite what it would drop.
    void PreserveBeforeRepair() override;

    static constexpr const wchar_t* kDamagedPrefix = L"Damaged ";

    // "Software\<organization>\<application>", the key the program keeps its store in under HKEY_CURRENT_USER.
    static std::wstring KeyPathFor(const std::wstring& organization, const std::wstring& application);

private:
    // The open key of a section, created when missing; null when it can be neither created nor opened.
    HKEY SectionKey(const std::string& section);

    HKEY m_root;
    std::wstring m_keyPath;
    std::map<std::string, HKEY> m_sections;
    bool m_refuseWrites = false;
};
