#pragma once

// Entries as large as the table holds: names of 199 bytes and texts of 999, dated in 2030 so that none is due.

#include "MessageEntry.h"
#include "ReminderModel.h"

#include <cstdio>
#include <string>

namespace Bench {

inline MessageEntry FullEntry(int index, bool everyDay = false) {
    MessageEntry e{};
    std::string name = "Message " + std::to_string(index) + " ";
    name.resize(MESSAGE_NAME_SIZE - 1, 'n');
    std::string text = "Text of message " + std::to_string(index) + ", written out to the full length. ";
    text.resize(MESSAGE_TEXT_SIZE - 1, 't');
    std::snprintf(e.m_szName, sizeof e.m_szName, "%s", name.c_str());
    std::snprintf(e.m_szText, sizeof e.m_szText, "%s", text.c_str());
    e.m_nDay = 1 + index % 28;
    e.m_nMonth = 1 + index % 12;
    e.m_nYear = 2030;
    e.m_nHour = index % 24;
    e.m_nMinute = (index * 7) % 60;
    e.m_nShowDays = index % 5;
    e.m_nRepeatMinutes = index % 3 == 0 ? 15 : 0;
    e.m_bActive = 1;
    e.m_bEveryDay = everyDay ? 1 : 0;
    e.m_bPending = 1;
    return e;
}

inline void FillFullTable(ReminderModel& state, int count = MESSAGE_TABLE_CAPACITY) {
    state.ClearEntries();
    for (int i = 0; i < count; ++i)
        state.AppendEntry(FullEntry(i));
}

} // namespace Bench
