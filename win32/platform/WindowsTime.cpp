#include "WindowsTime.h"

#include <map>
#include <string>
#include <tuple>

namespace {

// A FILETIME counts tenths of microseconds since 1 January 1601 UTC.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSeconds1601To1970 = 11'644'473'600;

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME FileTimeOf(Moment moment) {
    const auto ticks = static_cast<std::uint64_t>((moment + kSeconds1601To1970) * kTicksPerSecond);
    return {static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

// A zone's rules for one year, as the system gave them. The system reads them from its time-zone data at every
// question, which under Wine takes over a millisecond, and a tick asks a few times for every message.
bool RulesForYear(const DYNAMIC_TIME_ZONE_INFORMATION& zone, WORD year, TIME_ZONE_INFORMATION& rules) {
    using Key = std::tuple<std::wstring, WORD, LONG, BOOLEAN>;
    thread_local std::map<Key, TIME_ZONE_INFORMATION> known;
    const Key key{zone.TimeZoneKeyName, year, zone.Bias, zone.DynamicDaylightTimeDisabled};
    if (const auto found = known.find(key); found != known.end()) {
        rules = found->second;
        return true;
    }
    if (!GetTimeZoneInformationForYear(year, const_cast<DYNAMIC_TIME_ZONE_INFORMATION*>(&zone), &rules))
        return false;
    // Messages in a few hundred different years are the most a store can hold; the bound only keeps a long run small.
    if (known.size() >= 512)
        known.clear();
    known.emplace(key, rules);
    return true;
}

} // namespace

// The C runtime's clock and zone are never asked: it reads a TZ variable in a format of its own, applies one year's
// rules to every year, and on the 32-bit build ends in January 2038.
Moment SystemNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Ticks(now) / kTicksPerSecond - kSeconds1601To1970;
}

namespace Win32Ui {

std::int64_t UtcOffsetIn(const DYNAMIC_TIME_ZONE_INFORMATION& zone, Moment moment) {
    // With the automatic change to summer time switched off in the system's settings, the clock shows standard
    // time all year; the year's rules would still name the summer.
    if (zone.DynamicDaylightTimeDisabled)
        return -static_cast<std::int64_t>(zone.Bias + zone.StandardBias) * 60;
    const FILETIME utcTime = FileTimeOf(moment);
    SYSTEMTIME utc{};
    TIME_ZONE_INFORMATION rules{};
    SYSTEMTIME local{};
    FILETIME localTime{};
    if (!FileTimeToSystemTime(&utcTime, &utc) || !RulesForYear(zone, utc.wYear, rules))
        return -static_cast<std::int64_t>(zone.Bias) * 60;
    if (!SystemTimeToTzSpecificLocalTime(&rules, &utc, &local) || !SystemTimeToFileTime(&local, &localTime))
        return -static_cast<std::int64_t>(rules.Bias) * 60;
    return (Ticks(localTime) - Ticks(utcTime)) / kTicksPerSecond;
}

} // namespace Win32Ui

std::int64_t SystemUtcOffsetAt(Moment moment) {
    // Asked anew each time, so that a zone changed in the system's settings holds from the next tick on.
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return 0;
    return Win32Ui::UtcOffsetIn(zone, moment);
}
