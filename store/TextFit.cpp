#include "TextFit.h"

#include <cstring>

namespace {
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
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
