#include "EditFields.h"

#include "IntParse.h"
#include "MessageValidation.h"
#include "TextFit.h"

std::string WidestValidText(const NumberField& number) {
    const auto range = RangeOf(number.field);
    std::string text = std::to_string(range ? range->high : 0);
    // In a proportional face the digits may differ in width; 8 is among the widest in the usual ones.
    for (char& c : text)
        c = '8';
    return text;
}

void ReadEditField(MessageEntry& entry, int id, std::string_view fieldText, std::string_view shownText) {
    if (id == EditIds::kName) {
        CopyFitted(entry.m_szName, sizeof entry.m_szName, fieldText);
        return;
    }
    if (id == EditIds::kText) {
        if (fieldText != shownText)
            CopyFitted(entry.m_szText, sizeof entry.m_szText, fieldText);
        return;
    }
    for (const NumberField& number : kNumberFields) {
        if (number.id == id) {
            entry.*number.field = ParseDialogInt(fieldText);
            return;
        }
    }
}

FlagRefresh FlipEditFlag(MessageEntry& entry, int id) {
    if (id == EditIds::kActive) {
        entry.m_bActive = entry.m_bActive ? 0 : 1;
        return FlagRefresh::Nothing;
    }
    if (id == EditIds::kEveryDay) {
        entry.m_bEveryDay = entry.m_bEveryDay ? 0 : 1;
        return FlagRefresh::DateFields;
    }
    return FlagRefresh::NotAFlag;
}
