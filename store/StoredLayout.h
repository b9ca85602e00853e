#pragma once

#include "MessageEntry.h"
#include "Options.h"
#include "StoreTexts.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

// Every value the program keeps in the store, one row each: load, save, the entry copy and repair loop over these
// rows, so storing a new field of a message takes one row here; the editor shows it by a row of its own fields
// (EditFields.h), and a number the checks range-check needs its rule beside the others (MessageValidation.cpp).
// The stores themselves know no names.

namespace ProfileNames {
inline constexpr const char* kConfiguration = "Configuration";
inline constexpr const char* kMessages = "Messages";
inline constexpr const char* kNumberOfMessages = "Number of messages";
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
inline std::string Numbered(const char* prefix, int index) { return std::string(prefix) + std::to_string(index); }
} // namespace ProfileNames

// How a value is kept, and when a load takes it as missing.
enum class StoredType {
    String, // missing when it is empty once in its field
    Number, // missing when it reads as kMissingNumber; any other number is taken as it is
    Flag,   // missing when it reads as kMissingFlag; saved as 0 or 1
};
inline constexpr int kMissingNumber = -1;
inline constexpr int kMissingFlag = 2;

// How a load turns a flag that is there into 0 or 1. Old stores hold the options and the entries' flags written by
// different hands, so each kept its own reading.
enum class FlagReading {
    OnlyOneIsOn,   // 1 is on, anything else off
    OnlyZeroIsOff, // 0 is off, anything else on
};

// Where a loaded value goes.
enum class StoredHome { Option, MessageCount, Entry };

// A text field of the entry. Text fields of different sizes have different member pointer types, so the row
// holds accessors made from the member pointer instead.
struct TextMember {
    char* (*of)(MessageEntry&) = nullptr;
    const char* (*ofConst)(const MessageEntry&) = nullptr;
    std::size_t size = 0;
};

template <auto kMember>
inline constexpr TextMember TextIn{
    [](MessageEntry& entry) -> char* { return entry.*kMember; },
    [](const MessageEntry& entry) -> const char* { return entry.*kMember; },
    std::extent_v<std::remove_reference_t<decltype(std::declval<MessageEntry&>().*kMember)>>,
};

struct LayoutRow {
    const char* section;
    const char* name; // for an entry's value the prefix, followed by the slot index in decimal
    StoredType type;
    StoredHome home;
    Option option = Option::MessagesActivated;     // home Option
    std::int32_t MessageEntry::*number = nullptr; // home Entry: a number or a flag
    TextMember text{};                             // home Entry: a string
    FlagReading reading = FlagReading::OnlyZeroIsOff;
    // An option's value on a first start, when nothing is stored yet; a number or flag of a new entry.
    int byDefault = 0;
    int whenMissing = 0; // what a load puts in place of a missing option ...
    // ... and tells the user with this error box. For an entry's value: the box for the entries dropped because one
    // of their values is missing (or their name is already taken); for the count: the box for a count above the
    // table's capacity.
    const char* repairText = nullptr;
    // Read only while messages are stored; without any the option takes its first-start value unread.
    bool readWithMessagesOnly = false;
};

namespace StoredLayoutRows {
using namespace ProfileNames;

constexpr LayoutRow OptionValue(Option option, const char* name, int firstStart, int whenMissing,
                                  const char* repairText, bool readWithMessagesOnly = false) {
    return {.section = kConfiguration,
            .name = name,
            .type = StoredType::Flag,
            .home = StoredHome::Option,
            .option = option,
            .reading = FlagReading::OnlyOneIsOn,
            .byDefault = firstStart,
            .whenMissing = whenMissing,
            .repairText = repairText,
            .readWithMessagesOnly = readWithMessagesOnly};
}

constexpr LayoutRow EntryText(const char* prefix, TextMember text) {
    return {.section = kMessages,
            .name = prefix,
            .type = StoredType::String,
            .home = StoredHome::Entry,
            .text = text,
            .repairText = StoreTexts::kCorrupt};
}

constexpr LayoutRow EntryValue(const char* prefix, StoredType type, std::int32_t MessageEntry::*field,
                                 int newEntryValue) {
    return {.section = kMessages,
            .name = prefix,
            .type = type,
            .home = StoredHome::Entry,
            .number = field,
            .byDefault = newEntryValue,
            .repairText = StoreTexts::kCorrupt};
}

// The order of the rows is the order of the writes: the options in the order of their enumeration, the count,
// then each entry's values.
inline constexpr LayoutRow kAll[] = {
    OptionValue(Option::MessagesActivated, "Activated messages", 1, 0,
                "Error in activation state of messages!\nMessages will be inactivated.", true),
    OptionValue(Option::Tooltips, "Tooltips", 1, 1, "Error in tooltip flag!\nTooltips will be enabled."),
    OptionValue(Option::ShowWarnings, "Show warnings", 1, 1, "Error in show warnings flag!\nWarnings will be enabled."),
    OptionValue(Option::ShowMinimized, "Show minimized", 0, 0,
                "Error in show minimized flag!\nDialog will be shown at startup."),
    {.section = kConfiguration,
     .name = kNumberOfMessages,
     .type = StoredType::Number,
     .home = StoredHome::MessageCount,
     .repairText = StoreTexts::kTooMany},
    EntryText(kName, TextIn<&MessageEntry::m_szName>),
    EntryText(kText, TextIn<&MessageEntry::m_szText>),
    EntryValue(kDay, StoredType::Number, &MessageEntry::m_nDay, 1),
    EntryValue(kMonth, StoredType::Number, &MessageEntry::m_nMonth, 1),
    EntryValue(kYear, StoredType::Number, &MessageEntry::m_nYear, 1996),
    EntryValue(kMinute, StoredType::Number, &MessageEntry::m_nMinute, 0),
    EntryValue(kHour, StoredType::Number, &MessageEntry::m_nHour, 0),
    EntryValue(kShowTime, StoredType::Number, &MessageEntry::m_nShowDays, 0),
    EntryValue(kShowEveryTime, StoredType::Number, &MessageEntry::m_nRepeatMinutes, 0),
    EntryValue(kActive, StoredType::Flag, &MessageEntry::m_bActive, 1),
    EntryValue(kEveryDay, StoredType::Flag, &MessageEntry::m_bEveryDay, 0),
};
} // namespace StoredLayoutRows

inline constexpr std::span<const LayoutRow> kStoredLayout{StoredLayoutRows::kAll};
// The options then the count: the section "Configuration", written before any entry.
inline constexpr std::span<const LayoutRow> kConfigurationValues = kStoredLayout.first(kOptionCount + 1);
inline constexpr std::span<const LayoutRow> kOptionValues = kStoredLayout.first(kOptionCount);
inline constexpr const LayoutRow& kMessageCountValue = StoredLayoutRows::kAll[kOptionCount];
inline constexpr std::span<const LayoutRow> kEntryValues = kStoredLayout.subspan(kOptionCount + 1);

// The longest text a save writes, its terminating NUL included: a store sizes its first read of a text by it.
inline constexpr std::size_t kLongestStoredText = [] {
    std::size_t longest = 0;
    for (const LayoutRow& value : kStoredLayout) {
        if (value.type == StoredType::String && value.text.size > longest)
            longest = value.text.size;
    }
    return longest;
}();


static_assert([] {
    for (std::size_t i = 0; i < kOptionValues.size(); ++i) {
        if (kOptionValues[i].home != StoredHome::Option || static_cast<std::size_t>(kOptionValues[i].option) != i)
            return false;
    }
    if (kMessageCountValue.home != StoredHome::MessageCount)
        return false;
    for (const LayoutRow& value : kEntryValues) {
        const bool placed = value.type == StoredType::String ? value.text.size != 0 : value.number != nullptr;
        if (value.home != StoredHome::Entry || !placed)
            return false;
    }
    return true;
}());
