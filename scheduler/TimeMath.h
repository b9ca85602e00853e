#pragma once

#include <ctime>

namespace TimeMath {

inline constexpr long long kSecondsPerDay = 86400;
inline constexpr long long kSecondsPerHour = 3600;
inline constexpr long long kSecondsPerMinute = 60;

// A local date and time as seconds since 1970, with the daylight-saving decision left to the conversion; -1, as
// mktime answers, for a date that cannot be converted. Such an entry is never due: it expires at its first look.
std::time_t EntryTime(int year, int month, int day, int hour, int minute);

struct LocalParts {
    long long year;
    int month;  // 1..12
    int day;    // 1..31
    int hour;   // 0..23
    int minute; // 0..59
    int second; // 0..60
};
LocalParts Local(std::time_t t);

// Days from 1 January 1970 to a date of the Gregorian calendar (negative before it): two dates compare as their
// day numbers do, and a difference of day numbers counts calendar days, however long the days were on the clock.
long long DayNumber(long long year, int month, int day);
// The day number of t's local date.
long long LocalDayNumber(std::time_t t);

// The whole days of a signed difference, the hours within its day and the minutes within its hour, each division
// truncating toward zero, so that for -60 < d < 0 all three are 0.
struct Components {
    long long days;
    long long hours;
    long long minutes;
};
Components Split(long long d);

} // namespace TimeMath
