#pragma once

#include <cstddef>

// The options of the main window, in the order they are stored. What is stored of each, and what a load does
// when it is missing, is its row in StoredLayout.h; which check box shows it is the windows' concern
// (OptionCheckBoxes.h beside the commands).
enum class Option { MessagesActivated, Tooltips, ShowWarnings, ShowMinimized };

inline constexpr Option kLastOption = Option::ShowMinimized;
inline constexpr std::size_t kOptionCount = static_cast<std::size_t>(kLastOption) + 1;
