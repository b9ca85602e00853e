#include "ReminderModel.h"

#include "ProfileStore.h"
#include "TextFit.h"
#include "UserPrompts.h"

#include <cstring>
#include <new>

namespace {
using ProfileNames::Numbered;

int ReadFlag(const LayoutRow& value, int stored) {
    if (value.reading == FlagReading::OnlyOneIsOn)
        return stored == 1 ? 1 : 0;
    return stored == 0 ? 0 : 1;
}

int SavedFlag(std::int32_t value) { return value == 1 ? 1 : 0; }
} // namespace

ReminderModel::ReminderModel(const ReminderServices& services) : m_services(services) {
    if (!m_services.clock)
        m_services.clock = SystemClock();
    for (const LayoutRow& value : kOptionValues)
        m_options[static_cast<std::size_t>(value.option)] = value.byDefault;
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
    bool valid = true;
    for (const LayoutRow& value : kEntryValues) {
        const std::string name = Numbered(value.name, index);
        switch (value.type) {
        case StoredType::String: {
            char* field = value.text.of(entry);
            CopyFitted(field, value.text.size, store.GetProfileString(value.section, name));
            // An embedded NUL could leave a stored text that is empty once it is in the field.
            valid = valid && field[0] != '\0';
            break;
        }
        case StoredType::Number:
            entry.*value.number = store.GetProfileInt(value.section, name, kMissingNumber);
            valid = valid && entry.*value.number != kMissingNumber;
            break;
        case StoredType::Flag: {
            const int flag = store.GetProfileInt(value.section, name, kMissingFlag);
            valid = valid && flag != kMissingFlag;
            entry.*value.number = flag == kMissingFlag ? 0 : ReadFlag(value, flag);
            break;
        }
        }
    }

    entry.m_bPending = 1;
    entry.m_bShown = 0;
    entry.m_tLastShown = Now();
    return valid;
}

void ReminderModel::LoadOptions(bool& repaired) {
    for (const LayoutRow& value : kOptionValues) {
        std::int32_t& option = m_options[static_cast<std::size_t>(value.option)];
        if (value.readWithMessagesOnly && m_nMessageCount == 0) {
            option = value.byDefault;
            continue;
        }
        const int stored = m_services.store->GetProfileInt(value.section, value.name, kMissingFlag);
        if (stored == kMissingFlag) {
            option = value.whenMissing;
            repaired = true;
            ShowErrorBox(value.repairText, StoreTexts::kErrorCaption);
        } else {
            option = ReadFlag(value, stored);
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

    const LayoutRow& countValue = kMessageCountValue;
    const int count = store.GetProfileInt(countValue.section, countValue.name, kMissingNumber);
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
            // Every entry value names the same box; it is shown once for all the entries dropped.
            ShowErrorBox(kEntryValues.front().repairText, StoreTexts::kErrorCaption);
        }
    } else if (count > MESSAGE_TABLE_CAPACITY) {
        m_nMessageCount = 0;
        repaired = true;
        dropped = true;
        ShowErrorBox(countValue.repairText, StoreTexts::kErrorCaption);
    } else if (count == 0) {
        m_nMessageCount = 0;
        repaired = true;
    } else {
        m_nMessageCount = 0;
        for (const LayoutRow& value : kOptionValues)
            m_options[static_cast<std::size_t>(value.option)] = value.byDefault;
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
    // A failed text or number ends the entry; the flags are each written even when one before them failed.
    bool flagsOk = true;
    for (const LayoutRow& value : kEntryValues) {
        const std::string name = Numbered(value.name, index);
        switch (value.type) {
        case StoredType::String:
            if (!store.WriteProfileString(value.section, name, value.text.ofConst(entry)))
                return false;
            break;
        case StoredType::Number:
            if (!store.WriteProfileInt(value.section, name, entry.*value.number))
                return false;
            break;
        case StoredType::Flag:
            flagsOk = store.WriteProfileInt(value.section, name, SavedFlag(entry.*value.number)) && flagsOk;
            break;
        }
    }
    return flagsOk;
}

bool ReminderModel::SaveAll() {
    // Without the table nothing was loaded, and writing its empty state would wipe the user's stored list; the
    // user has already been told to exit.
    if (!m_bTableAllocated)
        return false;
    ProfileStore& store = *m_services.store;
    bool failed = false;

    for (const LayoutRow& value : kConfigurationValues) {
        // An option is saved as set whenever it is on; an entry's flag only when it is exactly 1.
        const int stored = value.home == StoredHome::MessageCount ? m_nMessageCount : (IsOn(value.option) ? 1 : 0);
        if (!store.WriteProfileInt(value.section, value.name, stored)) {
            failed = true;
            break;
        }
    }
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
    MessageEntry fitted = source;
    for (const LayoutRow& value : kEntryValues) {
        if (value.type == StoredType::String)
            CopyFitted(value.text.of(fitted), value.text.size, value.text.ofConst(source));
    }
    *destination = fitted;
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
    for (const LayoutRow& value : kEntryValues) {
        if (value.type != StoredType::String)
            entry.*value.number = value.byDefault;
    }
    entry.m_tLastShown = Now();
    entry.m_bPending = 1;
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
