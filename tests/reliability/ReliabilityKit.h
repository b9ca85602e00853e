#pragma once

// What every load must leave true, whatever the store held, and the comparison of two loaded tables. Shared by the
// random-store suite, the fuzz target and the crash-safety suite, so all three judge a load by the same rules.

#include "MessageEntry.h"
#include "ReminderModel.h"
#include "TestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Reliability {

// A whole file, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline bool IsFlag(std::int32_t value) {
    return value == 0 || value == 1;
}

// True when the field holds a NUL within its bytes and something before it.
inline bool IsFilledField(const char* field, std::size_t size) {
    return std::memchr(field, '\0', size) != nullptr && field[0] != '\0';
}

// Empty when the loaded table keeps every rule; otherwise the first rule broken, in words.
inline std::string TableViolation(const ReminderModel& state) {
    if (state.Count() < 0 || state.Count() > MESSAGE_TABLE_CAPACITY)
        return "message count " + std::to_string(state.Count()) + " outside 0..100";
    if (state.Count() > 0 && !state.HasTable())
        return "entries counted but no table";
    std::set<std::string> names;
    for (int i = 0; i < state.Count(); ++i) {
        const MessageEntry& e = state.Entry(i);
        const std::string where = "entry " + std::to_string(i) + ": ";
        if (!IsFilledField(e.m_szName, sizeof e.m_szName))
            return where + "name empty or without its NUL";
        if (!IsFilledField(e.m_szText, sizeof e.m_szText))
            return where + "text empty or without its NUL";
        if (!IsFlag(e.m_bActive) || !IsFlag(e.m_bEveryDay))
            return where + "active/every-day flag not 0 or 1";
        // A freshly loaded entry waits to be shown.
        if (e.m_bPending != 1 || e.m_bShown != 0)
            return where + "not armed after loading";
        if (!names.insert(e.m_szName).second)
            return where + "name \"" + std::string(e.m_szName) + "\" appears twice";
    }
    return {};
}

// The fields an entry keeps in the store; the run-time ones are not compared.
inline bool SameStoredFields(const MessageEntry& a, const MessageEntry& b) {
    return std::strcmp(a.m_szName, b.m_szName) == 0 && std::strcmp(a.m_szText, b.m_szText) == 0 &&
           a.m_nDay == b.m_nDay && a.m_nMonth == b.m_nMonth && a.m_nYear == b.m_nYear && a.m_nMinute == b.m_nMinute &&
           a.m_nHour == b.m_nHour && a.m_nShowDays == b.m_nShowDays && a.m_nRepeatMinutes == b.m_nRepeatMinutes &&
           a.m_bActive == b.m_bActive && a.m_bEveryDay == b.m_bEveryDay;
}

// Empty when both states hold the same options and the same stored fields in the same order.
inline std::string TableDifference(const ReminderModel& a, const ReminderModel& b) {
    if (a.Count() != b.Count())
        return "count " + std::to_string(a.Count()) + " vs " + std::to_string(b.Count());
    for (const LayoutRow& value : kOptionValues) {
        if (a.IsOn(value.option) != b.IsOn(value.option))
            return std::string("option \"") + value.name + "\" differs";
    }
    for (int i = 0; i < a.Count(); ++i)
        if (!SameStoredFields(a.Entry(i), b.Entry(i)))
            return "entry " + std::to_string(i) + " differs (\"" + a.Entry(i).m_szName + "\" vs \"" +
                   b.Entry(i).m_szName + "\")";
    return {};
}

// A state loaded from a store at a fixed moment, with its prompts kept.
struct LoadedState {
    explicit LoadedState(ProfileStore& store, std::time_t now = 1'700'000'000) {
        ReminderServices services;
        services.store = &store;
        services.prompts = &prompts;
        services.clock = [now] { return now; };
        state = std::make_unique<ReminderModel>(services);
        state->AllocateTable();
        state->LoadAll();
    }
    std::string FirstError() const { return prompts.boxes.empty() ? std::string() : prompts.boxes.front().text; }

    RecordingPrompts prompts;
    std::unique_ptr<ReminderModel> state;
};

} // namespace Reliability
