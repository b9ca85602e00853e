#include "MessageValidation.h"

namespace {
struct RangeRule {
    std::int32_t MessageEntry::*field;
    int low;
    int high;
    const char* message;
};

// Minute before hour: the order of the checks, not of the fields on screen.
constexpr RangeRule kRangeRules[] = {
    {&MessageEntry::m_nDay, 1, 31, "Day is out of range!\nMessage has not been altered."},
    {&MessageEntry::m_nMonth, 1, 12, "Month is out of range!\nMessage has not been altered."},
    {&MessageEntry::m_nYear, 1996, 9999, "Year is out of range!\nMessage has not been altered."},
    {&MessageEntry::m_nMinute, 0, 59, "Minute is out of range!\nMessage has not been altered."},
    {&MessageEntry::m_nHour, 0, 23, "Hour is out of range!\nMessage has not been altered."},
    {&MessageEntry::m_nShowDays, 0, 366, "Time of message showing is out of range!\nMessage has not been altered."},
    {&MessageEntry::m_nRepeatMinutes, 0, 59,
     "Distance of time between two messages is out of range!\nMessage has not been altered."},
};
} // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[month - 1];
}

std::optional<std::string> FindValidationError(const MessageEntry& entry) {
    if (entry.m_szName[0] == '\0')
        return "No message name was specified!\nMessage has not been altered.";
    if (entry.m_szText[0] == '\0')
        return "No message text was specified!\nMessage has not been altered.";
    for (const RangeRule& rule : kRangeRules) {
        const int value = entry.*rule.field;
        if (value < rule.low || value > rule.high)
            return rule.message;
    }
    if (entry.m_nDay > DaysInMonth(entry.m_nMonth, entry.m_nYear))
        return "Day is out of range for selected month!\nMessage has not been altered.";
    return std::nullopt;
}
