#pragma once

// What the model tells the user, and the names it gives a new entry.
namespace StoreTexts {
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kOutOfMemory = "Out of memory!";
inline constexpr const char* kCorrupt = "One or more messages are corrupt.\nMessages have been deleted!";
inline constexpr const char* kTooMany = "Number of saved messages is too large!\nMessage number will be reset to zero!";
inline constexpr const char* kSaveFailed = "Error in saving message data.";
inline constexpr const char* kGlobalError = "A global error occurred!\nPlease exit application.";
// A new entry is named and worded after the count plus one: these, the number, and the text's full stop.
inline constexpr const char* kNewName = "Message ";
inline constexpr const char* kNewText = "This is message ";
inline constexpr const char* kNewTextEnd = ".";
} // namespace StoreTexts
