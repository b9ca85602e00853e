#pragma once

#include "MessageEntry.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

class ProfileStore;
class UserPrompts;

using Clock = std::function<std::time_t()>;
using TableAllocator = std::function<std::unique_ptr<MessageEntry[]>()>;

// What the reminder state needs from outside, handed in so tests can replace each piece.
struct ReminderServices {
    ProfileStore* store = nullptr;
    UserPrompts* prompts = nullptr;
    Clock clock;              // empty: the system clock
    TableAllocator allocator; // empty: the heap, without throwing
};

namespace StoreTexts {
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kOutOfMemory = "Out of memory!";
inline constexpr const char* kCorrupt = "One or more messages are corrupt.\nMessages have been deleted!";
inline constexpr const char* kTooMany = "Number of saved messages is too large!\nMessage number will be reset to zero!";
inline constexpr const char* kActivationFlag = "Error in activation state of messages!\nMessages will be inactivated.";
inline constexpr const char* kTooltipFlag = "Error in tooltip flag!\nTooltips will be enabled.";
inline constexpr const char* kWarningsFlag = "Error in show warnings flag!\nWarnings will be enabled.";
inline constexpr const char* kMinimizedFlag = "Error in show minimized flag!\nDialog will be shown at startup.";
inline constexpr const char* kSaveFailed = "Error in saving message data.";
inline constexpr const char* kGlobalError = "A global error occurred!\nPlease exit application.";
inline constexpr const char* kDoubleName = "Double message name!\nYou have to enter a distinct message name.";
} // namespace StoreTexts

namespace ProfileNames {
inline constexpr const char* kConfiguration = "Configuration";
inline constexpr const char* kMessages = "Messages";
inline constexpr const char* kNumberOfMessages = "Number of messages";
inline constexpr const char* kActivatedMessages = "Activated messages";
inline constexpr const char* kTooltips = "Tooltips";
inline constexpr const char* kShowWarnings = "Show warnings";
inline constexpr const char* kShowMinimized = "Show minimized";
inline constexpr const char* kName = "MessageName";
inline constexpr const char* kText = "MessageText";
inline constexpr const char* kDay = "MessageDay";
inline constexpr const char* kMonth = "MessageMonth";
inline constexpr const char* kYear = "MessageYear";
inline constexpr const char* kMinute = "MessageMinute";
inline constexpr const char* kHour = "MessageHour";
inline constexpr const char* kShowTime = "MessageShowTime";
inline constexpr const char* kShowEveryTime = "MessageShowEveryTime";
inline constexpr const char* kActive = "MessageActive";
inline constexpr const char* kEveryDay = "ShowEveryDay";

// The value name of one field of the entry in slot index: the prefix followed by the index in decimal.
std::string Numbered(const char* prefix, int index);
} // namespace ProfileNames

// The data of the main window that outlives every other window: the message table, the four options, the failed
// state and the remembered day, with the operations that load, save and change them. Free of any toolkit, so
// every rule here is tested without a window.
class ReminderState {
public:
    explicit ReminderState(const ReminderServices& services);
    virtual ~ReminderState();

    ReminderState(const ReminderState&) = delete;
    ReminderState& operator=(const ReminderState&) = delete;

    // Allocates the table block; on failure reports "Out of memory!" and enters the failed state.
    void AllocateTable();
    void LoadAll();
    bool SaveAll();
    // Beeps, shows the box and returns 1, the value callers that must fail store in m_bGlobalError.
    int ShowErrorBox(const std::string& text, const std::string& caption);

    static void StoreEntry(MessageEntry* destination, MessageEntry source);
    // Appends at slot m_nMessageCount; false, with nothing written, when the table is full or missing.
    bool AppendEntry(const MessageEntry& entry);
    void RemoveEntry(int index);
    void ClearEntries();
    // The values of an entry made by "Add message ...": named after the count plus one.
    MessageEntry MakeNewEntry() const;
    // Index of the entry whose name equals name exactly, or -1.
    int FindEntryByName(const char* name) const;
    bool CheckDistinctName(MessageEntry entry, int skipIndex);
    bool IsTableFull() const { return m_nMessageCount >= MESSAGE_TABLE_CAPACITY; }

    std::time_t Now() const;
    UserPrompts& Prompts() const { return *m_services.prompts; }

    std::int32_t m_bGlobalError = 0;
    std::int32_t m_bTableAllocated = 0;
    std::int32_t m_bMessagesActivated = 1;
    std::int32_t m_bTooltips = 1;
    std::int32_t m_bShowWarnings = 1;
    std::int32_t m_bShowMinimized = 0;
    std::int32_t m_nMessageCount = 0;
    std::int32_t m_nCurrentDay = 0;
    MessageEntry* m_pMessages = nullptr;
    // Set while the scheduler's showing pass runs; ticks inside its displays then only re-arm.
    bool m_bInShowingPass = false;

private:
    // Reads the eleven values of one slot; false when one of them is missing or invalid.
    bool ReadEntry(int index, MessageEntry& entry);
    bool WriteEntry(int index, const MessageEntry& entry);
    int FindEntryByNameBefore(int end, const char* name) const;
    int ReadFlagSetting(const char* name, int whenMissing, const char* message, bool& repaired);

    ReminderServices m_services;
    std::unique_ptr<MessageEntry[]> m_table;
};
