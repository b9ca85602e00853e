#include "IntParse.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
// Whatever can stand invisibly around a number copied from elsewhere: ASCII white space, line ends included, and
// the UTF-8 forms of the other Unicode blanks (no-break, typographic and ideographic spaces, line and paragraph
// separators, zero-width spaces).
constexpr std::string_view kWideBlanks[] = {
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\x8B", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF",
    "\xE2\x81\x9F", "\xE2\x81\xA0", "\xE3\x80\x80", "\xEF\xBB\xBF",
};

bool IsAsciiWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Takes one blank off the front (or the back) of text; false when none stands there.
bool DropBlank(std::string_view& text, bool atFront) {
    if (text.empty())
        return false;
    if (IsAsciiWhiteSpace(atFront ? text.front() : text.back())) {
        atFront ? text.remove_prefix(1) : text.remove_suffix(1);
        return true;
    }
    for (std::string_view blank : kWideBlanks) {
        if (atFront ? text.starts_with(blank) : text.ends_with(blank)) {
            atFront ? text.remove_prefix(blank.size()) : text.remove_suffix(blank.size());
            return true;
        }
    }
    return false;
}

std::string_view TrimDialogBlanks(std::string_view text) {
    while (DropBlank(text, true)) {
    }
    while (DropBlank(text, false)) {
    }
    return text;
}
} // namespace

std::optional<int> ParseStoredInt(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        // One sign only: from_chars would take a minus after the plus.
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty())
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int ParseDialogInt(std::string_view text) {
    text = TrimDialogBlanks(text);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return 0;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1)
            return 0;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(value);
}
