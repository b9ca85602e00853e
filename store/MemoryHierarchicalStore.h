#pragma once

#include "HierarchicalStore.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

// A hierarchical store held in memory, for tests: the registry as the journaling store sees it. It can die after
// its N-th write, as if the process had been killed there: every change after that is refused and changes
// nothing, so what it holds is what a kill at that moment leaves. It also keeps what it held at its last flush,
// which is what a loss of power would leave, and it has keys that may be read but not written.
class MemoryHierarchicalStore : public HierarchicalStore {
public:
    struct Key {
        std::map<std::string, Value> values;
        std::map<std::string, Key> subkeys;
        bool operator==(const Key&) const = default;
    };

    MemoryHierarchicalStore() = default;
    explicit MemoryHierarchicalStore(Key root) : m_root(std::move(root)), m_flushed(m_root) {}

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

    const Key& Root() const { return m_root; }
    // What the store held at its last flush (at its making when it never flushed).
    const Key& Flushed() const { return m_flushed; }
    // The key at path; null when missing.
    const Key* Find(const std::string& path) const;

    // Every change counts as one write: a value written, a key deleted, a key copied. Flushes are not counted.
    int Writes() const { return m_writes; }
    // The store dies once this many writes have been made: from then on nothing changes it. Unset: it never dies.
    std::optional<int> writesBeforeDeath;
    bool Dead() const { return writesBeforeDeath && m_writes >= *writesBeforeDeath; }
    // Keys (by path) that may be read but not written: no value set in them, no subkey made or deleted below them,
    // and they cannot be deleted themselves.
    std::set<std::string> readOnly;
    // Failure injection: a value write for which the predicate answers true fails and changes nothing.
    std::function<bool(const std::string& key, const std::string& name)> failWrite;

private:
    Key* FindKey(const std::string& path);
    // The key at path, made when missing; null when it or a key above it cannot be made.
    Key* MakeKey(const std::string& path);
    bool MayMake(const std::string& path) const;
    bool MayDelete(const std::string& path, const Key& key) const;
    // Counts one write; false when the store is dead.
    bool StartWrite();
    bool Write(const std::string& key, const std::string& name, Value value);

    Key m_root;
    Key m_flushed;
    int m_writes = 0;
};
