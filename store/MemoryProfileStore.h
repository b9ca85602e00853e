#pragma once

#include "ProfileStore.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// A store held in memory, for tests and benchmarks. Values keep the type they were written with; an integer
// read of a string value parses it strictly (as a hand-edited file would be read) and falls back to the default.
class MemoryProfileStore : public ProfileStore {
public:
    using Key = std::pair<std::string, std::string>;
    using Value = std::variant<int, std::string>;

    int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue = {}) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) override;
    bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    bool Commit() override;
    // Counted, and marked in the write log, so a test sees that it came before the repair's writes.
    void PreserveBeforeRepair() override {
        ++preserveCount;
        m_writeLog.push_back("(preserve)");
    }

    void Set(const std::string& section, const std::string& entry, Value value);
    void Remove(const std::string& section, const std::string& entry);
    bool Has(const std::string& section, const std::string& entry) const;
    const Value* Find(const std::string& section, const std::string& entry) const;
    const std::map<Key, Value>& Values() const { return m_values; }
    std::size_t CountIn(const std::string& section) const;

    // Every successful write in order, as "Section/Entry".
    const std::vector<std::string>& WriteLog() const { return m_writeLog; }
    void ClearWriteLog() { m_writeLog.clear(); }

    // Failure injection: a write for which the predicate answers true fails and changes nothing.
    std::function<bool(const std::string& section, const std::string& entry)> failWrite;
    bool failCommit = false;
    int commitCount = 0;
    int preserveCount = 0;

private:
    bool Write(const std::string& section, const std::string& entry, Value value);

    std::map<Key, Value> m_values;
    std::vector<std::string> m_writeLog;
};
