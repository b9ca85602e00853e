#pragma once

// Writes entries and settings into a store in the program's own layout, for tests that start from stored data.

#include "ExpectedTemplates.h"
#include "ProfileStore.h"
#include "ReminderModel.h"

#include <string>
#include <vector>

// The stored names of the options, as the tests write and read them by hand.
namespace ProfileNames {
inline const char* const kActivatedMessages = Expected::kOptions[0].stored;
inline const char* const kTooltips = Expected::kOptions[1].stored;
inline const char* const kShowWarnings = Expected::kOptions[2].stored;
inline const char* const kShowMinimized = Expected::kOptions[3].stored;
} // namespace ProfileNames

// The name of an entry's value in slot index, spelt from the tests' own table, so that a misspelt name in the
// program's layout reads the tests' entries as damaged.
inline std::string StoredEntryName(int value, int index) {
    return std::string(Expected::kEntryValueNames[value]) + std::to_string(index);
}

struct StoredEntry {
    std::string name;
    std::string text = "Text";
    int day = 5;
    int month = 3;
    int year = 1997;
    int minute = 30;
    int hour = 9;
    int showDays = 0;
    int repeat = 0;
    int active = 1;
    int everyDay = 0;
};

inline void PutEntry(ProfileStore& store, int index, const StoredEntry& e) {
    const char* m = Expected::kMessagesSection;
    store.WriteProfileString(m, StoredEntryName(0, index), e.name);
    store.WriteProfileString(m, StoredEntryName(1, index), e.text);
    const int numbers[] = {e.day, e.month, e.year, e.minute, e.hour, e.showDays, e.repeat, e.active, e.everyDay};
    for (int i = 0; i < 9; ++i)
        store.WriteProfileInt(m, StoredEntryName(2 + i, index), numbers[i]);
}

inline void PutSettings(ProfileStore& store, int count, int activated = 1, int tooltips = 1, int warnings = 1,
                        int minimized = 0) {
    using namespace ProfileNames;
    const char* c = Expected::kConfigurationSection;
    store.WriteProfileInt(c, Expected::kNumberOfMessages, count);
    store.WriteProfileInt(c, kActivatedMessages, activated);
    store.WriteProfileInt(c, kTooltips, tooltips);
    store.WriteProfileInt(c, kShowWarnings, warnings);
    store.WriteProfileInt(c, kShowMinimized, minimized);
}

// count entries named "Entry 0", "Entry 1", ... with the settings all on.
inline void PutTable(ProfileStore& store, int count) {
    PutSettings(store, count);
    for (int i = 0; i < count; ++i) {
        StoredEntry e;
        e.name = "Entry " + std::to_string(i);
        e.text = "Text " + std::to_string(i);
        e.day = 1 + i % 28;
        PutEntry(store, i, e);
    }
}

// The names stored for the entries in use, in slot order.
inline std::vector<std::string> StoredNames(ProfileStore& store) {
    using namespace ProfileNames;
    std::vector<std::string> names;
    const int count = store.GetProfileInt(kConfiguration, kNumberOfMessages, -1);
    for (int i = 0; i < count; ++i)
        names.push_back(store.GetProfileString(kMessages, Numbered(kName, i)));
    return names;
}
