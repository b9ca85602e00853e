#include "ListOrder.h"

namespace {
constexpr char32_t kInvalidBase = 0x110000; // beyond every code point

// The next character of text from at: a code point, or kInvalidBase plus the byte for a byte that begins no valid
// sequence.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    }
    if (length == 0 || at + length > text.size()) {
        ++at;
        return kInvalidBase + lead;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kInvalidBase + lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    // Over-long forms and surrogates are not characters.
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++at;
        return kInvalidBase + lead;
    }
    at += length;
    return c;
}

// Three-way comparison of a and b, character by character, each passed through fold first.
template <typename Fold> int Compare(std::string_view a, std::string_view b, Fold fold) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = fold(NextCharacter(a, i));
        const char32_t y = fold(NextCharacter(b, j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool InRange(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }
} // namespace

char32_t FoldCase(char32_t c) {
    if (InRange(c, U'A', U'Z') || (InRange(c, 0xC0, 0xDE) && c != 0xD7))
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    // Latin Extended-A pairs capitals with the small letter after them, on even code points in two runs and on
    // odd ones in between.
    if (c == 0x130)
        return U'i';
    if ((InRange(c, 0x100, 0x137) || InRange(c, 0x14A, 0x177)) && c % 2 == 0)
        return c + 1;
    if ((InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E)) && c % 2 == 1)
        return c + 1;
    if (c == 0x386)
        return 0x3AC;
    if (InRange(c, 0x388, 0x38A))
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (InRange(c, 0x38E, 0x38F))
        return c + 63;
    if (InRange(c, 0x391, 0x3AB) && c != 0x3A2)
        return c + 0x20;
    if (c == 0x3C2) // final sigma
        return 0x3C3;
    if (InRange(c, 0x400, 0x40F))
        return c + 0x50;
    if (InRange(c, 0x410, 0x42F))
        return c + 0x20;
    if ((InRange(c, 0x460, 0x481) || InRange(c, 0x48A, 0x4BF) || InRange(c, 0x4D0, 0x52F)) && c % 2 == 0)
        return c + 1;
    if (InRange(c, 0x531, 0x556))
        return c + 0x30;
    if (InRange(c, 0x1E00, 0x1E95) && c % 2 == 0)
        return c + 1;
    if (InRange(c, 0xFF21, 0xFF3A))
        return c + 0x20;
    return c;
}

bool ListLineLess(std::string_view a, std::string_view b) {
    const int folded = Compare(a, b, FoldCase);
    if (folded != 0)
        return folded < 0;
    return Compare(a, b, [](char32_t c) { return c; }) < 0;
}
