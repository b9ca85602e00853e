#pragma once

#include "MessageEntry.h"

#include <optional>
#include <string>

// The message of the first rule an edited entry breaks, or nothing when it may be stored.
std::optional<std::string> FindValidationError(const MessageEntry& entry);

bool IsLeapYear(int year);
// Days in the month (1..12) of the year, by the Gregorian calendar.
int DaysInMonth(int month, int year);
