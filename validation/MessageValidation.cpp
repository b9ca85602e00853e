#include "MessageValidation.h"

#include "ReminderModel.h"

#include <cstring>

namespace {
struct RangeRule {
    std::int32_t MessageEntry::*field;
    int low;
    int high;
    const char* message;
};

// Minute before hour: the order of the checks, not of the fields on screen.
constexpr RangeRule kRangeRules[] = {
    {&MessageEntry::m_nDay, 1, 31, ValidationTexts::kDay},
    {&MessageEntry::m_nMonth, 1, 12, ValidationTexts::kMonth},
    {&MessageEntry::m_nYear, 1996, 9999, ValidationTexts::kYear},
    {&MessageEntry::m_nMinute, 0, 59, ValidationTexts::kMinute},
    {&MessageEntry::m_nHour, 0, 23, ValidationTexts::kHour},
    {&MessageEntry::m_nShowDays, 0, 366, ValidationTexts::kShowDays},
    {&MessageEntry::m_nRepeatMinutes, 0, 59, ValidationTexts::kRepeat},
};
} // namespace

std::optional<ValidRange> RangeOf(std::int32_t MessageEntry::*field) {
    for (const RangeRule& rule : kRangeRules) {
        if (rule.field == field)
            return ValidRange{rule.low, rule.high};
    }
    return std::nullopt;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[month - 1];
}

std::optional<std::string> FindValidationError(const MessageEntry& entry) {
    if (entry.m_szName[0] == '\0')
        return ValidationTexts::kNoName;
    if (entry.m_szText[0] == '\0')
        return ValidationTexts::kNoText;
    for (const RangeRule& rule : kRangeRules) {
        const int value = entry.*rule.field;
        if (value < rule.low || value > rule.high)
            return rule.message;
    }
    if (entry.m_nDay > DaysInMonth(entry.m_nMonth, entry.m_nYear))
        return ValidationTexts::kDayOfMonth;
    return std::nullopt;
}

std::optional<std::string> FindValidationError(const MessageEntry& entry, const ReminderModel& model, int skipIndex) {
    if (auto error = FindValidationError(entry))
        return error;
    for (int i = 0; i < model.Count(); ++i) {
        if (i != skipIndex && std::strcmp(entry.m_szName, model.Entry(i).m_szName) == 0)
            return ValidationTexts::kDoubleName;
    }
    return std::nullopt;
}
