#pragma once

#include <string>

// The per-user settings store: sections of named integer and string values. Reads never fail: a missing or
// unreadable value gives the caller's default. Writes report success; Commit pushes everything written so far to
// permanent storage and reports whether that worked, so a store that buffers can surface its failures there.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    virtual int GetProfileInt(const std::string& section, const std::string& entry, int nDefault) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue = {}) = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry, int nValue) = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
    virtual bool Commit() = 0;
};
