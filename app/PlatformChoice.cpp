#include "PlatformChoice.h"

#include <cstring>

namespace {
bool IsSet(const char* value) { return value && *value; }
} // namespace

const char* ChooseQtPlatform(const char* sessionType, const char* waylandDisplay, const char* display,
                             const char* qtPlatform) {
    if (IsSet(qtPlatform) || !IsSet(display))
        return nullptr;
    const bool wayland = IsSet(waylandDisplay) || (IsSet(sessionType) && std::strcmp(sessionType, "wayland") == 0);
    return wayland ? "xcb" : nullptr;
}
