#pragma once

#include <cstddef>
#include <string_view>

// Copies src into a fixed NUL-terminated array of destSize bytes. A text that does not fit is cut at the last
// UTF-8 character boundary that fits, so a hand-edited store can never leave half a character behind.
// Copying stops at an embedded NUL, as the field could not hold anything after it anyway.
// Returns true when the whole text fitted.
bool CopyFitted(char* dest, std::size_t destSize, std::string_view src);

// Length of src in bytes once cut as CopyFitted would cut it for a field of destSize bytes.
std::size_t FittedLength(std::string_view src, std::size_t destSize);
