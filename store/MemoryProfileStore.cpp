#include "MemoryProfileStore.h"

#include "IntParse.h"

int MemoryProfileStore::GetProfileInt(const std::string& section, const std::string& entry, int nDefault) {
    const Value* value = Find(section, entry);
    if (!value)
        return nDefault;
    if (const int* number = std::get_if<int>(value))
        return *number;
    return ParseStoredInt(std::get<std::string>(*value)).value_or(nDefault);
}

std::string MemoryProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                                 const std::string& defaultValue) {
    const Value* value = Find(section, entry);
    if (!value)
        return defaultValue;
    if (const int* number = std::get_if<int>(value))
        return std::to_string(*number);
    return std::get<std::string>(*value);
}

bool MemoryProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, int nValue) {
    return Write(section, entry, nValue);
}

bool MemoryProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                            const std::string& value) {
    return Write(section, entry, value);
}

bool MemoryProfileStore::Commit() {
    ++commitCount;
    return !failCommit;
}

void MemoryProfileStore::Set(const std::string& section, const std::string& entry, Value value) {
    m_values[{section, entry}] = std::move(value);
}

void MemoryProfileStore::Remove(const std::string& section, const std::string& entry) {
    m_values.erase({section, entry});
}

bool MemoryProfileStore::Has(const std::string& section, const std::string& entry) const {
    return Find(section, entry) != nullptr;
}

const MemoryProfileStore::Value* MemoryProfileStore::Find(const std::string& section, const std::string& entry) const {
    const auto it = m_values.find({section, entry});
    return it == m_values.end() ? nullptr : &it->second;
}

std::size_t MemoryProfileStore::CountIn(const std::string& section) const {
    std::size_t count = 0;
    for (const auto& [key, value] : m_values)
        count += key.first == section ? 1 : 0;
    return count;
}

bool MemoryProfileStore::Write(const std::string& section, const std::string& entry, Value value) {
    if (failWrite && failWrite(section, entry))
        return false;
    m_values[{section, entry}] = std::move(value);
    m_writeLog.push_back(section + "/" + entry);
    return true;
}
