#include "TimeMath.h"

#include "LocalTime.h"

namespace TimeMath {

std::time_t EntryTime(int year, int month, int day, int hour, int minute) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

LocalParts Local(std::time_t t) {
    std::tm local{};
    ToLocalTime(t, local);
    return {local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

Components Split(long long d) {
    const long long days = d / kSecondsPerDay;
    const long long hours = d / kSecondsPerHour - 24 * days;
    const long long minutes = d / kSecondsPerMinute - 60 * (d / kSecondsPerHour);
    return {days, hours, minutes};
}

} // namespace TimeMath
