#pragma once

#include "SystemTime.h"

#include <cstdint>
#include <functional>

namespace TimeMath {

inline constexpr long long kSecondsPerDay = 86400;
inline constexpr long long kSecondsPerHour = 3600;
inline constexpr long long kSecondsPerMinute = 60;

// Seconds east of UTC in force at a moment in some time zone: everything the conversions below need of it.
using UtcOffset = std::function<std::int64_t(Moment)>;

struct LocalParts {
    long long year;
    int month;  // 1..12
    int day;    // 1..31
    int hour;   // 0..23
    int minute; // 0..59
    int second; // 0..59
};

// The moment of a local date and time in the zone whose offset is given. Fields out of their range carry over
// into the next larger one (month 13 is January of the next year). A time the clock skips when it goes forward
// lies as far after the change as it would have lain after it on the old offset (02:30 in a skipped hour is 03:30);
// a time the clock shows twice is the later of the two.
Moment ToMoment(long long year, long long month, long long day, long long hour, long long minute, long long second,
                const UtcOffset& offsetAt);
// The local date and time of a moment in the zone whose offset is given.
LocalParts ToLocal(Moment moment, const UtcOffset& offsetAt);

// The same two in the system's time zone: a message's date and time as a moment, and a moment as the clock shows
// it. Every date an entry can hold has a moment, so a message is never switched off for want of one.
Moment EntryTime(int year, int month, int day, int hour, int minute);
LocalParts Local(Moment t);

// Days from 1 January 1970 to a date of the Gregorian calendar (negative before it): two dates compare as their
// day numbers do, and a difference of day numbers counts calendar days, however long the days were on the clock.
long long DayNumber(long long year, int month, int day);
// The day number of t's local date.
long long LocalDayNumber(Moment t);

// The whole days of a signed difference, the hours within its day and the minutes within its hour, each division
// truncating toward zero, so that for -60 < d < 0 all three are 0.
struct Components {
    long long days;
    long long hours;
    long long minutes;
};
Components Split(long long d);

} // namespace TimeMath
