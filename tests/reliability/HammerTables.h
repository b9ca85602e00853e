#pragma once

// The two tables the save hammer writes turn about. Every stored field of every entry and every option differs
// between them, and so do their files' sizes, so a file that mixes the two or stops short passes for neither.

#include "MessageEntry.h"
#include "ReminderModel.h"

#include <cstdio>
#include <string>

namespace Hammer {

inline MessageEntry Entry(int table, int index) {
    MessageEntry e{};
    const char letter = table == 0 ? 'A' : 'B';
    // Full-size texts, so that a save takes long enough to be caught half-way.
    std::string name = std::string("Table ") + letter + " entry " + std::to_string(index) + " ";
    name.resize(table == 0 ? MESSAGE_NAME_SIZE - 1 : MESSAGE_NAME_SIZE - 11, letter == 'A' ? 'a' : 'b');
    std::string text = std::string("Text of table ") + letter + ", entry " + std::to_string(index) + ". ";
    text.resize(table == 0 ? MESSAGE_TEXT_SIZE - 1 : MESSAGE_TEXT_SIZE - 41, letter == 'A' ? 'x' : 'y');
    std::snprintf(e.m_szName, sizeof e.m_szName, "%s", name.c_str());
    std::snprintf(e.m_szText, sizeof e.m_szText, "%s", text.c_str());
    e.m_nDay = 1 + (index + 7 * table) % 28;
    e.m_nMonth = 1 + (index + 5 * table) % 12;
    e.m_nYear = 2020 + 10 * table + index % 5;
    e.m_nMinute = (index * 7 + 13 * table) % 60;
    e.m_nHour = (index + 5 * table) % 24;
    e.m_nShowDays = index + 100 * table;
    e.m_nRepeatMinutes = (index + 17 * table) % 60;
    e.m_bActive = (index + table) % 2;
    e.m_bEveryDay = (index / 2 + table) % 2;
    e.m_bPending = 1;
    return e;
}

// Replaces the state's table and options with table 0 or 1.
inline void Fill(ReminderModel& state, int table) {
    state.ClearEntries();
    for (int i = 0; i < MESSAGE_TABLE_CAPACITY; ++i)
        state.AppendEntry(Entry(table, i));
    state.SetOption(Option::MessagesActivated, table == 0 ? 1 : 0);
    state.SetOption(Option::Tooltips, table == 0 ? 0 : 1);
    state.SetOption(Option::ShowWarnings, table == 0 ? 1 : 0);
    state.SetOption(Option::ShowMinimized, table == 0 ? 0 : 1);
}

} // namespace Hammer
