#pragma once

#include "DialogTemplates.h"
#include "Options.h"

#include <cstddef>
#include <iterator>
#include <optional>

// Which check box of the main window shows which option. The store keeps the options without knowing any window;
// both main windows wire their boxes from this table.
struct OptionCheckBox {
    Option option;
    int checkBoxId;
};

inline constexpr OptionCheckBox kOptionCheckBoxes[] = {
    {Option::MessagesActivated, MainIds::kActivateMessages},
    {Option::Tooltips, MainIds::kShowTooltips},
    {Option::ShowWarnings, MainIds::kConfirmDeletions},
    {Option::ShowMinimized, MainIds::kShowMinimized},
};

// An option without a box could never be changed, and a box left over would change nothing.
static_assert(std::size(kOptionCheckBoxes) == kOptionCount);
static_assert([] {
    for (std::size_t i = 0; i < kOptionCount; ++i) {
        if (static_cast<std::size_t>(kOptionCheckBoxes[i].option) != i)
            return false;
    }
    return true;
}());

constexpr int CheckBoxOf(Option option) {
    return kOptionCheckBoxes[static_cast<std::size_t>(option)].checkBoxId;
}

// The option a control of the main window shows; nothing for a control that is no option's box.
constexpr std::optional<Option> OptionOfCheckBox(int id) {
    for (const OptionCheckBox& box : kOptionCheckBoxes) {
        if (box.checkBoxId == id)
            return box.option;
    }
    return std::nullopt;
}
