#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Copies src into a fixed NUL-terminated array of destSize bytes. A text that does not fit is cut at the last
// UTF-8 character boundary that fits, so a hand-edited store can never leave half a character behind.
// Copying stops at an embedded NUL, as the field could not hold anything after it anyway.
// Returns true when the whole text fitted.
bool CopyFitted(char* dest, std::size_t destSize, std::string_view src);

// Length of src in bytes once cut as CopyFitted would cut it for a field of destSize bytes.
std::size_t FittedLength(std::string_view src, std::size_t destSize);

// Bytes of the start of inserted (UTF-8) that a field of fieldSize bytes, its terminator included, takes beside the
// keptBytes of text it keeps: cut after a whole character and never between a carriage return and the line feed
// after it.
std::size_t FittingInsertion(std::string_view inserted, std::size_t keptBytes, std::size_t fieldSize);

// What a field of fieldSize bytes takes of an edit that turned `before` into `after` (both UTF-8, as stored), the
// caret standing at editEnd in `after` once the edit was made, right behind its new text: the text the edit left in
// place on either side, with as much of the edit's new text as fits, whole characters from its start, as a standard
// edit field takes a paste at its limit. A carriage return is never parted from the line feed after it. An edit
// that leaves the text shorter is taken whole, so that a text that does not fit can still be shortened.
struct FittedEdit {
    std::string text;
    std::size_t caret; // bytes of text before the end of what the edit put in
    bool whole;        // the edit was taken as it came; otherwise the rest was refused and the field should beep
};
FittedEdit FitEdit(std::string_view before, std::string_view after, std::size_t fieldSize, std::size_t editEnd);
