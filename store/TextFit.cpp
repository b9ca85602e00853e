#include "TextFit.h"

#include <algorithm>
#include <cstring>

namespace {
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
} // namespace

std::size_t FittedLength(std::string_view src, std::size_t destSize) {
    if (destSize == 0)
        return 0;
    const std::size_t nul = src.find('\0');
    if (nul != std::string_view::npos)
        src = src.substr(0, nul);
    if (src.size() < destSize)
        return src.size();
    std::size_t cut = destSize - 1;
    while (cut > 0 && IsContinuationByte(src[cut]))
        --cut;
    return cut;
}

bool CopyFitted(char* dest, std::size_t destSize, std::string_view src) {
    if (destSize == 0)
        return src.empty();
    const std::size_t length = FittedLength(src, destSize);
    std::memcpy(dest, src.data(), length);
    dest[length] = '\0';
    return length == src.size();
}

namespace {
// A place between two characters: not inside a UTF-8 sequence, nor between a carriage return and its line feed.
bool IsBoundary(std::string_view text, std::size_t at) {
    if (at == 0 || at >= text.size())
        return true;
    if (IsContinuationByte(text[at]))
        return false;
    return !(text[at - 1] == '\r' && text[at] == '\n');
}
} // namespace

std::size_t FittingInsertion(std::string_view inserted, std::size_t keptBytes, std::size_t fieldSize) {
    const std::size_t room = fieldSize > keptBytes + 1 ? fieldSize - 1 - keptBytes : 0;
    std::size_t keep = std::min(room, inserted.size());
    while (!IsBoundary(inserted, keep))
        --keep;
    return keep;
}

FittedEdit FitEdit(std::string_view before, std::string_view after, std::size_t fieldSize, std::size_t editEnd) {
    const std::size_t limit = fieldSize == 0 ? 0 : fieldSize - 1;
    // Everything behind the caret is what stood behind the selection the edit replaced; where the two texts do not
    // bear that out (an edit that also changed something behind it), the longest common ending is taken instead.
    std::size_t suffix = after.size() - std::min(editEnd, after.size());
    if (suffix > before.size() || before.substr(before.size() - suffix) != after.substr(after.size() - suffix)) {
        suffix = 0;
        const std::size_t shorter = std::min(before.size(), after.size());
        while (suffix < shorter && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
    }
    std::size_t prefix = 0;
    const std::size_t prefixLimit = std::min(before.size(), after.size()) - suffix;
    while (prefix < prefixLimit && before[prefix] == after[prefix])
        ++prefix;
    while (!IsBoundary(after, prefix) || !IsBoundary(before, prefix))
        --prefix;
    while (!IsBoundary(after, after.size() - suffix) || !IsBoundary(before, before.size() - suffix))
        --suffix;
    const std::string_view inserted = after.substr(prefix, after.size() - suffix - prefix);
    if (after.size() <= limit || after.size() < before.size())
        return {std::string(after), prefix + inserted.size(), true};

    const std::size_t keep = FittingInsertion(inserted, prefix + suffix, fieldSize);
    std::string text;
    text.reserve(prefix + keep + suffix);
    text.append(after.substr(0, prefix)).append(inserted.substr(0, keep)).append(after.substr(after.size() - suffix));
    return {std::move(text), prefix + keep, false};
}
