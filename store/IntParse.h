#pragma once

#include <optional>
#include <string_view>

// A stored integer as text: optional blanks, an optional sign, decimal digits, optional blanks, and nothing else,
// within the signed 32-bit range. Anything else is not an integer.
std::optional<int> ParseStoredInt(std::string_view text);

// The dialog fields' conversion: an optional minus sign and digits, with blanks around them, give their signed value;
// an empty field, any other character or a value outside 32 bits gives 0. Blanks of every kind around the number,
// line ends and the Unicode spaces included, are invisible in the field, so they do not turn the number into 0.
int ParseDialogInt(std::string_view text);
