#pragma once

#include "SystemTime.h"

#include <cstdint>

inline constexpr int MESSAGE_TABLE_CAPACITY = 100;
inline constexpr int MESSAGE_NAME_SIZE = 200;  // bytes, terminating NUL included
inline constexpr int MESSAGE_TEXT_SIZE = 1000; // bytes, terminating NUL included

// One reminder. A plain record: copying copies every field, the run-time ones included.
struct MessageEntry {
    char m_szName[MESSAGE_NAME_SIZE];
    char m_szText[MESSAGE_TEXT_SIZE];
    std::int32_t m_nDay;
    std::int32_t m_nMonth;
    std::int32_t m_nYear;
    std::int32_t m_nMinute;
    std::int32_t m_nHour;
    std::int32_t m_nShowDays;
    std::int32_t m_nRepeatMinutes;
    Moment m_tLastShown;
    std::int32_t m_bActive;
    std::int32_t m_bPending;
    std::int32_t m_bEveryDay;
    std::int32_t m_bShown;
};
