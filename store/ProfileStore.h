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
    // Called by a load that is about to drop part of what it read (a damaged entry, a count out of range), before
    // it writes the repaired state back: a store kept in a file sets the file as it was aside first, so the user
    // can get the dropped part back. A store that cannot do that must make the writes that follow fail, so that
    // nothing is lost silently.
    virtual void PreserveBeforeRepair() {}
};
