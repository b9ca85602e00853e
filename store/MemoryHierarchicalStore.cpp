#include "MemoryHierarchicalStore.h"

namespace {
std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size() && !path.empty()) {
        const std::size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

std::string Parent(const std::string& path) {
    const std::size_t last = path.rfind('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::string LastPart(const std::string& path) {
    const std::size_t last = path.rfind('\\');
    return last == std::string::npos ? path : path.substr(last + 1);
}
} // namespace

const MemoryHierarchicalStore::Key* MemoryHierarchicalStore::Find(const std::string& path) const {
    const Key* key = &m_root;
    for (const std::string& part : Split(path)) {
        const auto found = key->subkeys.find(part);
        if (found == key->subkeys.end())
            return nullptr;
        key = &found->second;
    }
    return key;
}

MemoryHierarchicalStore::Key* MemoryHierarchicalStore::FindKey(const std::string& path) {
    return const_cast<Key*>(Find(path));
}

bool MemoryHierarchicalStore::MayMake(const std::string& path) const {
    if (Find(path))
        return true;
    if (path.empty())
        return true;
    const std::string parent = Parent(path);
    return readOnly.count(parent) == 0 && MayMake(parent);
}

MemoryHierarchicalStore::Key* MemoryHierarchicalStore::MakeKey(const std::string& path) {
    if (!MayMake(path))
        return nullptr;
    Key* key = &m_root;
    for (const std::string& part : Split(path))
        key = &key->subkeys[part];
    return key;
}

bool MemoryHierarchicalStore::MayDelete(const std::string& path, const Key& key) const {
    if (readOnly.count(path))
        return false;
    for (const auto& [name, subkey] : key.subkeys) {
        if (!MayDelete(path + "\\" + name, subkey))
            return false;
    }
    return true;
}

bool MemoryHierarchicalStore::StartWrite() {
    if (Dead())
        return false;
    ++m_writes;
    return true;
}

std::optional<int> MemoryHierarchicalStore::ReadInt(const std::string& key, const std::string& name) {
    const Key* found = Find(key);
    if (!found)
        return std::nullopt;
    const auto value = found->values.find(name);
    if (value == found->values.end() || !std::holds_alternative<int>(value->second))
        return std::nullopt;
    return std::get<int>(value->second);
}

std::optional<std::string> MemoryHierarchicalStore::ReadString(const std::string& key, const std::string& name) {
    const Key* found = Find(key);
    if (!found)
        return std::nullopt;
    const auto value = found->values.find(name);
    if (value == found->values.end() || !std::holds_alternative<std::string>(value->second))
        return std::nullopt;
    return std::get<std::string>(value->second);
}

std::optional<std::vector<std::string>> MemoryHierarchicalStore::Subkeys(const std::string& key) {
    std::vector<std::string> names;
    if (const Key* found = Find(key)) {
        // Listed newest name first, so that nothing may rely on the order of a listing.
        for (auto it = found->subkeys.rbegin(); it != found->subkeys.rend(); ++it)
            names.push_back(it->first);
    }
    return names;
}

bool MemoryHierarchicalStore::Write(const std::string& key, const std::string& name, Value value) {
    if (!StartWrite())
        return false;
    if (readOnly.count(key) || (failWrite && failWrite(key, name)))
        return false;
    Key* target = MakeKey(key);
    if (!target)
        return false;
    target->values[name] = std::move(value);
    return true;
}

bool MemoryHierarchicalStore::WriteInt(const std::string& key, const std::string& name, int value) {
    return Write(key, name, value);
}

bool MemoryHierarchicalStore::WriteString(const std::string& key, const std::string& name, const std::string& value) {
    return Write(key, name, value);
}

bool MemoryHierarchicalStore::DeleteKey(const std::string& key) {
    if (!StartWrite())
        return false;
    const Key* found = Find(key);
    if (!found)
        return true;
    if (key.empty() || !MayDelete(key, *found) || readOnly.count(Parent(key)))
        return false;
    FindKey(Parent(key))->subkeys.erase(LastPart(key));
    return true;
}

bool MemoryHierarchicalStore::CanWrite(const std::string& key) {
    return !Dead() && readOnly.count(key) == 0 && MayMake(key);
}

bool MemoryHierarchicalStore::CopyKey(const std::string& from, const std::string& to) {
    if (!StartWrite())
        return false;
    const Key* source = Find(from);
    if (!source || Find(to) || !MayMake(to))
        return false;
    const Key copy = *source;
    *MakeKey(to) = copy;
    return true;
}

bool MemoryHierarchicalStore::SameContent(const std::string& first, const std::string& second) {
    const Key* a = Find(first);
    const Key* b = Find(second);
    return a && b && *a == *b;
}

bool MemoryHierarchicalStore::Flush() {
    if (Dead())
        return false;
    m_flushed = m_root;
    return true;
}
