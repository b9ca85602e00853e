#pragma once

#include "HierarchicalStore.h"

#include "WindowsHeaders.h"

#include <map>
#include <string>

namespace Win32Ui {

// The registry below the program's key, as the journaling store sees it: integers are REG_DWORD and texts REG_SZ,
// which cross over as UTF-16 and come back to the core as UTF-8; a value of another type reads as missing. A key
// read is made when missing, as the profile functions always made it; one the user may read but not change
// is read all the same. The flush is RegFlushKey.
class RegistryTree : public HierarchicalStore {
public:
    RegistryTree(HKEY root, std::wstring keyPath);
    ~RegistryTree() override;
    RegistryTree(const RegistryTree&) = delete;
    RegistryTree& operator=(const RegistryTree&) = delete;

    std::optional<int> ReadInt(const std::string& key, const std::string& name) override;
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override;
    std::optional<std::vector<std::string>> Subkeys(const std::string& key) override;
    bool WriteInt(const std::string& key, const std::string& name, int value) override;
    bool WriteString(const std::string& key, const std::string& name, const std::string& value) override;
    bool DeleteKey(const std::string& key) override;
    bool CanWrite(const std::string& key) override;
    bool CopyKey(const std::string& from, const std::string& to) override;
    bool SameContent(const std::string& first, const std::string& second) override;
    bool Flush() override;

private:
    struct OpenKey {
        HKEY handle = nullptr;
        bool writable = false;
    };
    // The full path of a key below the program's key.
    std::wstring PathOf(const std::string& key) const;
    // The key opened for reading, made when missing (and for writing too where that is allowed); null when it can
    // be neither made nor opened.
    HKEY ReadKey(const std::string& key);
    // The key opened for writing, made when missing; null when it may not be written.
    HKEY WriteKey(const std::string& key);
    // Opens an existing key for reading only, without keeping it; null when it is missing or cannot be read.
    HKEY OpenExisting(const std::string& key) const;
    void Forget(const std::string& key);

    HKEY m_root;
    std::wstring m_keyPath;
    std::map<std::string, OpenKey> m_keys;
};

} // namespace Win32Ui
