#pragma once

#include "DialogTemplates.h"

#include <cstddef>

// The four options of the main window. Each is one row below: both main windows loop over the rows, so an option
// is added by a row here, its stored value in StoredLayout.h and a check box in the main window's template.
enum class Option { MessagesActivated, Tooltips, ShowWarnings, ShowMinimized };

struct OptionRow {
    Option option;
    int checkBoxId; // its check box in the main window
};

inline constexpr OptionRow kOptionRows[] = {
    {Option::MessagesActivated, MainIds::kActivateMessages},
    {Option::Tooltips, MainIds::kShowTooltips},
    {Option::ShowWarnings, MainIds::kConfirmDeletions},
    {Option::ShowMinimized, MainIds::kShowMinimized},
};

inline constexpr std::size_t kOptionCount = std::size(kOptionRows);

// The row of an option: the rows stand in the order of the enumeration.
constexpr const OptionRow& RowOf(Option option) { return kOptionRows[static_cast<std::size_t>(option)]; }

static_assert([] {
    for (std::size_t i = 0; i < kOptionCount; ++i) {
        if (static_cast<std::size_t>(kOptionRows[i].option) != i)
            return false;
    }
    return true;
}());
