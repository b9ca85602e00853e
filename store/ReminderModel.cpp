#include "ReminderModel.h"

#include "ProfileStore.h"
#include "TextFit.h"
#include "UserPrompts.h"

#include <cstring>
#include <new>
#include <string_view>

namespace ProfileNames {
std::string Numbered(const char* prefix, int index) { return std::string(prefix) + std::to_string(index); }
} // namespace ProfileNames

namespace {
using namespace ProfileNames;

constexpr int kMissingNumber = -1;
constexpr int kMissingFlag = 2;
} // namespace

ReminderModel::ReminderModel(const ReminderServices& services) : m_services(services) {
    if (!m_services.clock)
        m_services.clock = SystemClock();
    for (const OptionRow& row : kOptionRows)
        m_options[static_cast<std::size_t>(row.option)] = row.firstStart;
    if (!m_services.allocator)
        m_services.allocator = [] {
            return std::unique_ptr<MessageEntry[]>(new (std::nothrow) MessageEntry[MESSAGE_TABLE_CAPACITY]());
        };
    m_tDaySeen = Now();
}

ReminderModel::~ReminderModel() = default;

Moment ReminderModel::Now() const { return m_services.clock(); }

void ReminderModel::AllocateTable() {
    m_table = m_services.allocator();
    if (!m_table) {
        m_bGlobalError = ShowErrorBox(StoreTexts::kOutOfMemory, StoreTexts::kErrorCaption);
        return;
    }
    m_pMessages = m_table.get();
    m_bTableAllocated = 1;
}

int ReminderModel::ShowErrorBox(const std::string& text, const std::string& caption) {
    m_services.prompts->Beep();
    m_services.prompts->ErrorBox(text, caption);
    return 1;
}

bool ReminderModel::ReadEntry(int index, MessageEntry& entry) {
    ProfileStore& store = *m_services.store;

    const std::string name = store.GetProfileString(kMessages, Numbered(kName, index));
    const std::string text = store.GetProfileString(kMessages, Numbered(kText, index));
    CopyFitted(entry.m_szName, sizeof entry.m_szName, name);
    CopyFitted(entry.m_szText, sizeof entry.m_szText, text);
    // An embedded NUL could leave a stored name that is empty once it is in the field.
    bool valid = entry.m_szName[0] != '\0' && entry.m_szText[0] != '\0';

    struct NumberField {
        const char* prefix;
        std::int32_t MessageEntry::*field;
    };
    static constexpr NumberField kNumbers[] = {
        {kDay, &MessageEntry::m_nDay},
        {kMonth, &MessageEntry::m_nMonth},
        {kYear, &MessageEntry::m_nYear},
        {kMinute, &MessageEntry::m_nMinute},
        {kHour, &MessageEntry::m_nHour},
        {kShowTime, &MessageEntry::m_nShowDays},
        {kShowEveryTime, &MessageEntry::m_nRepeatMinutes},
    };
    for (const NumberField& number : kNumbers) {
        entry.*number.field = store.GetProfileInt(kMessages, Numbered(number.prefix, index), kMissingNumber);
        valid = valid && entry.*number.field != kMissingNumber;
    }

    for (auto [prefix, field] : {std::pair{kActive, &MessageEntry::m_bActive}, {kEveryDay, &MessageEntry::m_bEveryDay}}) {
        const int flag = store.GetProfileInt(kMessages, Numbered(prefix, index), kMissingFlag);
        valid = valid && flag != kMissingFlag;
        entry.*field = (flag == kMissingFlag || flag == 0) ? 0 : 1;
    }

    entry.m_bPending = 1;
    entry.m_bShown = 0;
    entry.m_tLastShown = Now();
    return valid;
}

void ReminderModel::LoadOptions(bool& repaired) {
    for (const OptionRow& row : kOptionRows) {
        std::int32_t& option = m_options[static_cast<std::size_t>(row.option)];
        if (row.readWithMessagesOnly && m_nMessageCount == 0) {
            option = 1;
            continue;
        }
        const int value = m_services.store->GetProfileInt(kConfiguration, row.storedName, kMissingFlag);
        if (value == kMissingFlag) {
            option = row.whenMissing;
            repaired = true;
            ShowErrorBox(row.repairText, StoreTexts::kErrorCaption);
        } else {
            option = value == 1 ? 1 : 0;
        }
    }
}

void ReminderModel::LoadAll() {
    // Without the table there is nowhere to put entries, and saving the empty state would wipe the user's list.
    if (!m_bTableAllocated)
        return;

    bool repaired = false;
    bool readSettings = true;
    bool dropped = false; // the repair writes back less than the store holds
    ProfileStore& store = *m_services.store;

    const int count = store.GetProfileInt(kConfiguration, kNumberOfMessages, -1);
    if (count >= 1 && count <= MESSAGE_TABLE_CAPACITY) {
        // Keep every entry that reads back whole; only the damaged ones are dropped.
        bool corrupt = false;
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            MessageEntry& slot = m_pMessages[kept];
            const bool valid = ReadEntry(i, slot);
            if (valid && FindEntryByNameBefore(kept, slot.m_szName) < 0)
                ++kept;
            else
                corrupt = true;
        }
        m_nMessageCount = kept;
        if (corrupt) {
            repaired = true;
            dropped = true;
            ShowErrorBox(StoreTexts::kCorrupt, StoreTexts::kErrorCaption);
        }
    } else if (count > MESSAGE_TABLE_CAPACITY) {
        m_nMessageCount = 0;
        repaired = true;
        dropped = true;
        ShowErrorBox(StoreTexts::kTooMany, StoreTexts::kErrorCaption);
    } else if (count == 0) {
        m_nMessageCount = 0;
        repaired = true;
    } else {
        m_nMessageCount = 0;
        for (const OptionRow& row : kOptionRows)
            m_options[static_cast<std::size_t>(row.option)] = row.firstStart;
        repaired = true;
        readSettings = false;
    }

    if (readSettings)
        LoadOptions(repaired);

    if (dropped)
        store.PreserveBeforeRepair();
    if (repaired)
        SaveAll();
}

bool ReminderModel::WriteEntry(int index, const MessageEntry& entry) {
    ProfileStore& store = *m_services.store;
    bool ok = store.WriteProfileString(kMessages, Numbered(kName, index), entry.m_szName) &&
              store.WriteProfileString(kMessages, Numbered(kText, index), entry.m_szText) &&
              store.WriteProfileInt(kMessages, Numbered(kDay, index), entry.m_nDay) &&
              store.WriteProfileInt(kMessages, Numbered(kMonth, index), entry.m_nMonth) &&
              store.WriteProfileInt(kMessages, Numbered(kYear, index), entry.m_nYear) &&
              store.WriteProfileInt(kMessages, Numbered(kMinute, index), entry.m_nMinute) &&
              store.WriteProfileInt(kMessages, Numbered(kHour, index), entry.m_nHour) &&
              store.WriteProfileInt(kMessages, Numbered(kShowTime, index), entry.m_nShowDays) &&
              store.WriteProfileInt(kMessages, Numbered(kShowEveryTime, index), entry.m_nRepeatMinutes);
    if (!ok)
        return false;
    // The two flags are written even when the first of them fails.
    const bool activeOk = store.WriteProfileInt(kMessages, Numbered(kActive, index), entry.m_bActive == 1 ? 1 : 0);
    const bool everyDayOk =
        store.WriteProfileInt(kMessages, Numbered(kEveryDay, index), entry.m_bEveryDay == 1 ? 1 : 0);
    return activeOk && everyDayOk;
}

bool ReminderModel::SaveAll() {
    // Without the table nothing was loaded, and writing its empty state would wipe the user's stored list; the
    // user has already been told to exit.
    if (!m_bTableAllocated)
        return false;
    ProfileStore& store = *m_services.store;
    bool failed = false;

    for (const OptionRow& row : kOptionRows) {
        if (!store.WriteProfileInt(kConfiguration, row.storedName, IsOn(row.option) ? 1 : 0)) {
            failed = true;
            break;
        }
    }
    if (!failed && !store.WriteProfileInt(kConfiguration, kNumberOfMessages, m_nMessageCount))
        failed = true;
    if (!failed) {
        for (int i = 0; i < m_nMessageCount; ++i)
            failed = !WriteEntry(i, m_pMessages[i]) || failed;
    }
    // Even after a failed write, what could be written is pushed out; the save has failed all the same.
    failed = !store.Commit() || failed;

    if (failed) {
        // The box runs a nested event loop in which timer ticks go on; they must already find the failed state,
        // or they would show messages and stack one more box for every further failed save.
        m_bGlobalError = 1;
        ShowErrorBox(StoreTexts::kSaveFailed, StoreTexts::kErrorCaption);
    }
    return !failed;
}

void ReminderModel::StoreEntry(MessageEntry* destination, MessageEntry source) {
    CopyFitted(destination->m_szName, sizeof destination->m_szName, source.m_szName);
    CopyFitted(destination->m_szText, sizeof destination->m_szText, source.m_szText);
    destination->m_nDay = source.m_nDay;
    destination->m_nMonth = source.m_nMonth;
    destination->m_nYear = source.m_nYear;
    destination->m_nMinute = source.m_nMinute;
    destination->m_nHour = source.m_nHour;
    destination->m_nShowDays = source.m_nShowDays;
    destination->m_nRepeatMinutes = source.m_nRepeatMinutes;
    destination->m_tLastShown = source.m_tLastShown;
    destination->m_bActive = source.m_bActive;
    destination->m_bPending = source.m_bPending;
    destination->m_bEveryDay = source.m_bEveryDay;
    destination->m_bShown = source.m_bShown;
}

bool ReminderModel::AppendEntry(const MessageEntry& entry) {
    if (!m_bTableAllocated || IsTableFull())
        return false;
    StoreEntry(&m_pMessages[m_nMessageCount], entry);
    m_pMessages[m_nMessageCount].m_bPending = 1;
    ++m_nMessageCount;
    return true;
}

void ReminderModel::ReplaceEntry(int index, const MessageEntry& entry) {
    if (index < 0 || index >= m_nMessageCount)
        return;
    StoreEntry(&m_pMessages[index], entry);
    m_pMessages[index].m_bPending = 1;
}

void ReminderModel::ToggleOption(Option option) {
    std::int32_t& value = m_options[static_cast<std::size_t>(option)];
    value = value ? 0 : 1;
}

void ReminderModel::RemoveEntry(int index) {
    if (index < 0 || index >= m_nMessageCount)
        return;
    --m_nMessageCount;
    for (int j = index; j < m_nMessageCount; ++j)
        StoreEntry(&m_pMessages[j], m_pMessages[j + 1]);
}

void ReminderModel::ClearEntries() { m_nMessageCount = 0; }

MessageEntry ReminderModel::MakeNewEntry() const {
    MessageEntry entry{};
    const std::string number = std::to_string(m_nMessageCount + 1);
    CopyFitted(entry.m_szName, sizeof entry.m_szName, StoreTexts::kNewName + number);
    CopyFitted(entry.m_szText, sizeof entry.m_szText, StoreTexts::kNewText + number + StoreTexts::kNewTextEnd);
    entry.m_nDay = 1;
    entry.m_nMonth = 1;
    entry.m_nYear = 1996;
    entry.m_nMinute = 0;
    entry.m_nHour = 0;
    entry.m_nShowDays = 0;
    entry.m_nRepeatMinutes = 0;
    entry.m_tLastShown = Now();
    entry.m_bActive = 1;
    entry.m_bPending = 1;
    entry.m_bEveryDay = 0;
    entry.m_bShown = 0;
    return entry;
}

MessageEntry ReminderModel::MakeCopyOf(int index) const {
    MessageEntry copy = m_pMessages[index];
    const MessageEntry fresh = MakeNewEntry();
    CopyFitted(copy.m_szName, sizeof copy.m_szName, fresh.m_szName);
    return copy;
}

int ReminderModel::FindEntryByName(const char* name) const { return FindEntryByNameBefore(m_nMessageCount, name); }

int ReminderModel::FindEntryByNameBefore(int end, const char* name) const {
    for (int i = 0; i < end; ++i) {
        if (std::strcmp(m_pMessages[i].m_szName, name) == 0)
            return i;
    }
    return -1;
}

bool ReminderModel::CheckDistinctName(const MessageEntry& entry, int skipIndex) {
    for (int i = 0; i < m_nMessageCount; ++i) {
        if (i != skipIndex && std::strcmp(entry.m_szName, m_pMessages[i].m_szName) == 0) {
            ShowErrorBox(StoreTexts::kDoubleName, StoreTexts::kErrorCaption);
            return false;
        }
    }
    return true;
}
