#pragma once

#include "Clock.h"
#include "MessageEntry.h"
#include "Options.h"
#include "StoreTexts.h"
#include "StoredLayout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ProfileStore;
class UserPrompts;

using TableAllocator = std::function<std::unique_ptr<MessageEntry[]>()>;

// What the model needs from outside, handed in so tests can replace each piece.
struct ReminderServices {
    ProfileStore* store = nullptr;
    UserPrompts* prompts = nullptr;
    Clock clock;              // empty: the system clock
    TableAllocator allocator; // empty: the heap, without throwing
};

// The program's data, which outlives every window: the message table, the four options, the failed state and the
// remembered day, with the operations that load, save and change them. Free of any toolkit, so every rule here is
// tested without a window; the windows read it through the accessors and change it only through its operations.
class ReminderModel {
public:
    explicit ReminderModel(const ReminderServices& services);
    ~ReminderModel();

    ReminderModel(const ReminderModel&) = delete;
    ReminderModel& operator=(const ReminderModel&) = delete;

    // Allocates the table block; on failure reports "Out of memory!" and enters the failed state.
    void AllocateTable();
    void LoadAll();
    bool SaveAll();
    // Beeps, shows the box and returns 1, the value callers that must fail store in the failed state.
    int ShowErrorBox(const std::string& text, const std::string& caption);

    // Reading.
    int Count() const { return m_nMessageCount; }
    const MessageEntry& Entry(int index) const { return m_pMessages[index]; }
    bool HasTable() const { return m_bTableAllocated != 0; }
    bool GlobalError() const { return m_bGlobalError != 0; }
    bool IsOn(Option option) const { return m_options[static_cast<std::size_t>(option)] != 0; }
    bool IsTableFull() const { return m_nMessageCount >= MESSAGE_TABLE_CAPACITY; }
    // Index of the entry whose name equals name exactly, or -1.
    int FindEntryByName(const char* name) const;

    // Changing.
    static void StoreEntry(MessageEntry* destination, MessageEntry source);
    // Stores the entry, armed, at slot Count(); false, with nothing written, when the table is full or missing.
    bool AppendEntry(const MessageEntry& entry);
    // Stores the entry, armed, over the one at index.
    void ReplaceEntry(int index, const MessageEntry& entry);
    void RemoveEntry(int index);
    void ClearEntries();
    void ToggleOption(Option option);
    void SetOption(Option option, bool on) { m_options[static_cast<std::size_t>(option)] = on ? 1 : 0; }
    void EnterGlobalError() { m_bGlobalError = 1; }

    // The values of an entry made by "Add message ...": named after the count plus one.
    MessageEntry MakeNewEntry() const;
    // A copy of the entry at index, run-time fields included, named as a new entry would be.
    MessageEntry MakeCopyOf(int index) const;

    // The scheduler's share: the entries' run-time fields and active flag, and the remembered day. The day is kept
    // as a moment on it (the construction, then the scheduler's last tick) so that the scheduler reads its whole
    // local date with the same conversion it uses for now.
    MessageEntry& ScheduledEntry(int index) { return m_pMessages[index]; }
    Moment DaySeen() const { return m_tDaySeen; }
    void SetDaySeen(Moment moment) { m_tDaySeen = moment; }

    Moment Now() const;
    const Clock& ClockSource() const { return m_services.clock; }
    UserPrompts& Prompts() const { return *m_services.prompts; }

private:
    // Reads the values of one slot; false when one of them is missing.
    bool ReadEntry(int index, MessageEntry& entry);
    bool WriteEntry(int index, const MessageEntry& entry);
    int FindEntryByNameBefore(int end, const char* name) const;
    void LoadOptions(bool& repaired);

    ReminderServices m_services;
    std::unique_ptr<MessageEntry[]> m_table;
    std::int32_t m_bGlobalError = 0;
    std::int32_t m_bTableAllocated = 0;
    std::array<std::int32_t, kOptionCount> m_options{};
    std::int32_t m_nMessageCount = 0;
    Moment m_tDaySeen = 0;
    MessageEntry* m_pMessages = nullptr;
};
