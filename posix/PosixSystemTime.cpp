#include "SystemTime.h"

#include <ctime>

static_assert(sizeof(std::time_t) == 8, "the C library's clock must reach past January 2038");

Moment SystemNow() {
    return std::time(nullptr);
}

std::int64_t SystemUtcOffsetAt(Moment moment) {
    const std::time_t t = moment;
    std::tm local{};
    // Only the offset is taken; the calendar is the core's own arithmetic. A moment the C library cannot place
    // (none of those the core asks about) counts as UTC.
    if (localtime_r(&t, &local) == nullptr)
        return 0;
    return local.tm_gmtoff;
}
