#pragma once

#include "DialogTemplates.h"
#include "MessageEntry.h"

#include <cstdint>
#include <string>

// The editor's number fields and the entry's numbers they show and set, in the order the fields are filled.
struct NumberField {
    int id;
    std::int32_t MessageEntry::*field;
};

inline constexpr NumberField kNumberFields[] = {
    {EditIds::kDay, &MessageEntry::m_nDay},         {EditIds::kMonth, &MessageEntry::m_nMonth},
    {EditIds::kYear, &MessageEntry::m_nYear},       {EditIds::kMinute, &MessageEntry::m_nMinute},
    {EditIds::kHour, &MessageEntry::m_nHour},       {EditIds::kShowDays, &MessageEntry::m_nShowDays},
    {EditIds::kRepeat, &MessageEntry::m_nRepeatMinutes},
};

// The widest text a number field must show whole, so that every valid value can be typed into a field that does
// not scroll: the largest value the checks allow, with its digits as wide as digits come.
std::string WidestValidText(const NumberField& number);
