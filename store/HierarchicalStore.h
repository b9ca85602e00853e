#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

// What the journaling store needs of a platform's hierarchical store, such as the registry: keys named by their
// path below the program's key, with '\' between the levels ("" is the program's key itself, "Journal\Messages" a
// key two levels down), each holding named values that are 32-bit integers or texts. The Windows program supplies
// the registry's own operations; the core's tests supply a double held in memory.
class HierarchicalStore {
public:
    using Value = std::variant<int, std::string>;

    virtual ~HierarchicalStore() = default;

    // The value, or nullopt when the key or the value is missing or the value is of another type.
    virtual std::optional<int> ReadInt(const std::string& key, const std::string& name) = 0;
    virtual std::optional<std::string> ReadString(const std::string& key, const std::string& name) = 0;
    // The names of a key's subkeys, in whatever order the store lists them; empty when the key is missing, nullopt
    // when it cannot be listed.
    virtual std::optional<std::vector<std::string>> Subkeys(const std::string& key) = 0;

    // Writes one value, making the key (and the keys above it) when missing; false when it could not be written.
    virtual bool WriteInt(const std::string& key, const std::string& name, int value) = 0;
    virtual bool WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
    // Removes a key with everything below it; true when it is gone, also when it was never there.
    virtual bool DeleteKey(const std::string& key) = 0;
    // Whether values may be written to the key; a missing key counts as writable when it could be made.
    virtual bool CanWrite(const std::string& key) = 0;
    // Copies a key with everything below it, values of every type included, to a new key.
    virtual bool CopyKey(const std::string& from, const std::string& to) = 0;
    // Whether two keys hold the same values (names, types and data) and the same subkeys, all the way down.
    virtual bool SameContent(const std::string& first, const std::string& second) = 0;
    // Pushes everything written so far to permanent storage; returns when it is there.
    virtual bool Flush() = 0;
};
