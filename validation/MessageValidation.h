#pragma once

#include "MessageEntry.h"

#include <cstdint>
#include <optional>
#include <string>

class ReminderModel;

namespace ValidationTexts {
inline constexpr const char* kNoName = "No message name was specified!\nMessage has not been altered.";
inline constexpr const char* kNoText = "No message text was specified!\nMessage has not been altered.";
inline constexpr const char* kDay = "Day is out of range!\nMessage has not been altered.";
inline constexpr const char* kMonth = "Month is out of range!\nMessage has not been altered.";
inline constexpr const char* kYear = "Year is out of range!\nMessage has not been altered.";
inline constexpr const char* kMinute = "Minute is out of range!\nMessage has not been altered.";
inline constexpr const char* kHour = "Hour is out of range!\nMessage has not been altered.";
inline constexpr const char* kShowDays = "Time of message showing is out of range!\nMessage has not been altered.";
inline constexpr const char* kRepeat =
    "Distance of time between two messages is out of range!\nMessage has not been altered.";
inline constexpr const char* kDayOfMonth = "Day is out of range for selected month!\nMessage has not been altered.";
inline constexpr const char* kDoubleName = "Double message name!\nYou have to enter a distinct message name.";
} // namespace ValidationTexts

// The message of the first rule an edited entry breaks, or nothing when it may be stored: the field rules, then a
// name that another entry of the model than the one at skipIndex (-1: none) already has, compared byte for byte.
std::optional<std::string> FindValidationError(const MessageEntry& entry, const ReminderModel& model, int skipIndex);
// The field rules alone.
std::optional<std::string> FindValidationError(const MessageEntry& entry);

// The range the checks allow a number field of the entry; nothing for a field they do not range-check.
struct ValidRange {
    int low;
    int high;
};
std::optional<ValidRange> RangeOf(std::int32_t MessageEntry::*field);

bool IsLeapYear(int year);
// Days in the month (1..12) of the year, by the Gregorian calendar; 0 for a month that does not exist.
int DaysInMonth(int month, int year);
