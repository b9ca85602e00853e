// The core's conversions with the offsets of the system's own time-zone data, zone by zone, and the program's clock
// with a TZ variable in the environment that the C runtime would read as a zone of its own.

#include "../common/TimeCases.h"
#include "ScheduleText.h"
#include "TestHarness.h"
#include "TimeMath.h"
#include "WindowsTime.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Win32Ui;

namespace {

// Newer than the oldest system the program asks for, so looked up by name.
using EnumZones = DWORD(WINAPI*)(DWORD, DYNAMIC_TIME_ZONE_INFORMATION*);

// Every zone of the system's time-zone data, read once: reading them is slow under Wine.
std::vector<DYNAMIC_TIME_ZONE_INFORMATION> SystemZones() {
    std::vector<DYNAMIC_TIME_ZONE_INFORMATION> zones;
    const auto enumZones = reinterpret_cast<EnumZones>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"advapi32.dll"), "EnumDynamicTimeZoneInformation")));
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    for (DWORD i = 0; enumZones && enumZones(i, &zone) == ERROR_SUCCESS; ++i)
        zones.push_back(zone);
    return zones;
}

std::string Shown(const TimeMath::LocalParts& local) {
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d", local.year, local.month, local.day, local.hour,
                  local.minute);
    return text;
}

SYSTEMTIME UtcOf(Moment moment) {
    const auto ticks = static_cast<ULONGLONG>((moment + 11'644'473'600LL) * 10'000'000LL);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&time, &utc);
    return utc;
}

} // namespace

TEST_CASE(EveryRowOfTheTimeTableHoldsInTheSystemsZones) {
    const std::vector<DYNAMIC_TIME_ZONE_INFORMATION> zones = SystemZones();
    REQUIRE(!zones.empty());
    for (const TimeCase& c : kTimeCases) {
        ROW(c.label);
        const std::string key = c.windowsZone;
        const auto zone = std::find_if(zones.begin(), zones.end(), [&key](const DYNAMIC_TIME_ZONE_INFORMATION& z) {
            return std::wstring(key.begin(), key.end()) == z.TimeZoneKeyName;
        });
        if (!CHECK(zone != zones.end()))
            continue;
        const TimeMath::UtcOffset offsetAt = [zone](Moment moment) { return UtcOffsetIn(*zone, moment); };
        int year = 0, month = 0, day = 0, hour = 0, minute = 0;
        REQUIRE(std::sscanf(c.local, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute) == 5);
        CHECK_EQ(TimeMath::ToMoment(year, month, day, hour, minute, 0, offsetAt), c.moment);
        CHECK_EQ(Shown(TimeMath::ToLocal(c.moment, offsetAt)), std::string(c.shown));
    }
}

TEST_CASE(WithoutTheAutomaticChangeToSummerTimeTheClockKeepsStandardTime) {
    const std::vector<DYNAMIC_TIME_ZONE_INFORMATION> zones = SystemZones();
    const auto berlin = std::find_if(zones.begin(), zones.end(), [](const DYNAMIC_TIME_ZONE_INFORMATION& z) {
        return std::wstring(L"W. Europe Standard Time") == z.TimeZoneKeyName;
    });
    REQUIRE(berlin != zones.end());
    DYNAMIC_TIME_ZONE_INFORMATION zone = *berlin;
    // 15 July 2027 12:00 UTC: summer time by the rules, an hour and not two with the change switched off.
    CHECK_EQ(UtcOffsetIn(zone, 1815652800), 7200);
    zone.DynamicDaylightTimeDisabled = TRUE;
    CHECK_EQ(UtcOffsetIn(zone, 1815652800), 3600);
    CHECK_EQ(UtcOffsetIn(zone, 1800014400), 3600); // 15 January 2027 12:00 UTC
}

TEST_CASE(TheClockKeepsTheSystemsTimeWhateverTzSays) {
    // The run sets TZ to a name the C runtime reads as a zone without daylight saving an hour or two off the
    // system's; without it this case would prove nothing.
    REQUIRE(std::getenv("TZ") != nullptr);
    for (const Moment moment : {Moment{1814004000}, Moment{1798722000}, Moment{2161591200}, Moment{253402297140}}) {
        ROW(std::to_string(moment));
        const SYSTEMTIME utc = UtcOf(moment);
        SYSTEMTIME local{};
        REQUIRE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
        char expected[32];
        std::snprintf(expected, sizeof expected, "Current Time: %02u:%02u:%02u", local.wHour, local.wMinute,
                      local.wSecond);
        CHECK_EQ(FormatClockLine(moment), std::string(expected));
        CHECK_EQ(TimeMath::EntryTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute), moment);
    }
}
