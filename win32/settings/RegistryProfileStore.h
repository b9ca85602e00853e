#pragma once

#include "JournalingProfileStore.h"
#include "RegistryTree.h"

#include "WindowsHeaders.h"

#include <string>

namespace Win32Ui {

// The settings store in the registry: each section is a subkey of the program's key, integers are REG_DWORD and
// strings REG_SZ (RegistryTree), and every save is all or nothing through the journal of JournalingProfileStore,
// the subkey "Journal" of the program's key. Keys are created on first access, reads included. A value of another
// type than the one asked for reads as the caller's default. Texts cross over as UTF-16 and come back to the core
// as UTF-8.
class RegistryProfileStore : public ProfileStore {
public:
    // The program's key is keyPath under root, HKEY_CURRENT_USER in the program; tests hand in a scratch key, or a
    // root opened without the right to create keys.
    RegistryProfileStore(HKEY root, std::wstring keyPath);

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override {
        return m_store.GetProfileInt(section, entry, nDefault);
    }
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override {
        return m_store.GetProfileString(section, entry, defaultValue);
    }
    // A write goes into the journal; the sections change when the save is committed.
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override {
        return m_store.WriteProfileInt(section, entry, nValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override {
        return m_store.WriteProfileString(section, entry, value);
    }
    bool Commit() override { return m_store.Commit(); }
    // Copies every section, as it is, under a new subkey "Damaged N" of the program's key (see
    // JournalingProfileStore::PreserveBeforeRepair); if that cannot be done, every later write fails.
    void PreserveBeforeRepair() override { m_store.PreserveBeforeRepair(); }

    // "Software\<organization>\<application>", the key the program keeps its store in under HKEY_CURRENT_USER.
    static std::wstring KeyPathFor(const std::wstring& organization, const std::wstring& application);

private:
    RegistryTree m_tree;
    JournalingProfileStore m_store;
};

} // namespace Win32Ui
