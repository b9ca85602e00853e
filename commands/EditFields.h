#pragma once

#include "DialogTemplates.h"
#include "MessageEntry.h"

#include <cstdint>
#include <string>
#include <string_view>

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

// Reads what the field with the given id holds (UTF-8, its line breaks as they are stored) into the entry: the name
// and the text cut after a whole character where they would not fit, a number as the dialogs read numbers. The text
// field counts only once it holds something else than shownText, what it showed when the editor opened (in the same
// form): a hand-edited stored text with bare line feeds shows a carriage return more a line, and read back would
// grow by them and near the limit lose its end. Any other id changes nothing.
void ReadEditField(MessageEntry& entry, int id, std::string_view fieldText, std::string_view shownText);

// What the window must bring up to date once a check box has flipped its flag.
enum class FlagRefresh {
    NotAFlag,   // no box of the editor has this id; nothing changed
    Nothing,    // nothing the window shows depends on the flag
    DateFields, // the date's fields hide and the note shows, or the other way round
};

// Flips the flag of the Active or the Every day box, as one change of the box's mark does.
FlagRefresh FlipEditFlag(MessageEntry& entry, int id);
