#pragma once

// Writes entries and settings into a store in the program's own layout, for tests that start from stored data.

#include "ProfileStore.h"
#include "ReminderModel.h"

#include <string>
#include <vector>

// The stored names of the options, as the tests write and read them by hand.
namespace ProfileNames {
inline const char* const kActivatedMessages = StoredValueOf(Option::MessagesActivated).name;
inline const char* const kTooltips = StoredValueOf(Option::Tooltips).name;
inline const char* const kShowWarnings = StoredValueOf(Option::ShowWarnings).name;
inline const char* const kShowMinimized = StoredValueOf(Option::ShowMinimized).name;
} // namespace ProfileNames

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
    using namespace ProfileNames;
    const char* m = kMessages;
    store.WriteProfileString(m, Numbered(kName, index), e.name);
    store.WriteProfileString(m, Numbered(kText, index), e.text);
    store.WriteProfileInt(m, Numbered(kDay, index), e.day);
    store.WriteProfileInt(m, Numbered(kMonth, index), e.month);
    store.WriteProfileInt(m, Numbered(kYear, index), e.year);
    store.WriteProfileInt(m, Numbered(kMinute, index), e.minute);
    store.WriteProfileInt(m, Numbered(kHour, index), e.hour);
    store.WriteProfileInt(m, Numbered(kShowTime, index), e.showDays);
    store.WriteProfileInt(m, Numbered(kShowEveryTime, index), e.repeat);
    store.WriteProfileInt(m, Numbered(kActive, index), e.active);
    store.WriteProfileInt(m, Numbered(kEveryDay, index), e.everyDay);
}

inline void PutSettings(ProfileStore& store, int count, int activated = 1, int tooltips = 1, int warnings = 1,
                        int minimized = 0) {
    using namespace ProfileNames;
    store.WriteProfileInt(kConfiguration, kNumberOfMessages, count);
    store.WriteProfileInt(kConfiguration, kActivatedMessages, activated);
    store.WriteProfileInt(kConfiguration, kTooltips, tooltips);
    store.WriteProfileInt(kConfiguration, kShowWarnings, warnings);
    store.WriteProfileInt(kConfiguration, kShowMinimized, minimized);
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
