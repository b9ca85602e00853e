#pragma once

#include <string>
#include <string_view>

namespace Win32Ui {

// The core keeps its texts in UTF-8; Windows takes and gives UTF-16. A sequence that does not convert (a lone
// surrogate from a hand-edited registry value, say) becomes U+FFFD rather than vanishing.
std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

} // namespace Win32Ui
