#include "TimeMath.h"

#include <algorithm>

namespace TimeMath {

namespace {

long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The Gregorian calendar repeats itself, weekdays and leap days included, every 400 years; so do the rules by which
// zones change their clocks on a given Sunday of a month.
constexpr long long kCycleSeconds = 146097 * kSecondsPerDay;
// 1 January 1900 and 1 January 10000, UTC: the span within which both systems answer for their zones.
constexpr long long kAskedFrom = -2208988800;
constexpr long long kAskedUntil = 253402300800;

// The platform is asked only about moments it can answer for; a moment outside that span is asked about as the
// same instant of its year a whole number of 400-year cycles away, which falls on the same weekday and date.
std::int64_t OffsetAt(Moment moment, const UtcOffset& offsetAt) {
    if (moment >= kAskedUntil)
        moment -= (FloorDiv(moment - kAskedUntil, kCycleSeconds) + 1) * kCycleSeconds;
    else if (moment < kAskedFrom)
        moment += (FloorDiv(kAskedFrom - moment - 1, kCycleSeconds) + 1) * kCycleSeconds;
    return offsetAt(moment);
}

} // namespace

Moment ToMoment(long long year, long long month, long long day, long long hour, long long minute, long long second,
                const UtcOffset& offsetAt) {
    const long long yearCarry = FloorDiv(month - 1, 12);
    const int monthOfYear = static_cast<int>(month - 1 - yearCarry * 12) + 1;
    // The local date and time counted as if the zone were UTC.
    const long long wall = (DayNumber(year + yearCarry, monthOfYear, 1) + day - 1) * kSecondsPerDay +
                           hour * kSecondsPerHour + minute * kSecondsPerMinute + second;
    // A zone's offset differs from UTC by less than a day, so any change of the clock that this local time can
    // fall into lies between the offsets a day either side of it.
    const std::int64_t before = OffsetAt(wall - kSecondsPerDay, offsetAt);
    const std::int64_t after = OffsetAt(wall + kSecondsPerDay, offsetAt);
    const Moment onBefore = wall - before;
    const Moment onAfter = wall - after;
    const bool holdsBefore = OffsetAt(onBefore, offsetAt) == before;
    const bool holdsAfter = OffsetAt(onAfter, offsetAt) == after;
    if (holdsBefore && holdsAfter)
        return std::max(onBefore, onAfter);
    if (holdsAfter)
        return onAfter;
    if (holdsBefore)
        return onBefore;
    if (before == after)
        return wall - OffsetAt(onBefore, offsetAt);
    // Skipped: read on the offset that held until the change, it lands past the change by what it was into the gap.
    return onBefore;
}

LocalParts ToLocal(Moment moment, const UtcOffset& offsetAt) {
    const long long wall = moment + OffsetAt(moment, offsetAt);
    const long long days = FloorDiv(wall, kSecondsPerDay);
    const long long secondOfDay = wall - days * kSecondsPerDay;
    // The inverse of DayNumber: eras of 400 years, each year taken from March on.
    const long long shifted = days + 719468;
    const long long era = FloorDiv(shifted, 146097);
    const long long dayOfEra = shifted - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year,
            month,
            day,
            static_cast<int>(secondOfDay / kSecondsPerHour),
            static_cast<int>(secondOfDay / kSecondsPerMinute % 60),
            static_cast<int>(secondOfDay % kSecondsPerMinute)};
}

Moment EntryTime(int year, int month, int day, int hour, int minute) {
    return ToMoment(year, month, day, hour, minute, 0, SystemUtcOffsetAt);
}

LocalParts Local(Moment t) {
    return ToLocal(t, SystemUtcOffsetAt);
}

long long DayNumber(long long year, int month, int day) {
    // Counted in eras of 400 years, each year taken from March on: the leap day then closes the year, and every
    // month begins at the same offset within it in every year.
    const long long shiftedYear = month <= 2 ? year - 1 : year;
    const long long era = (shiftedYear >= 0 ? shiftedYear : shiftedYear - 399) / 400;
    const long long yearOfEra = shiftedYear - era * 400;
    const long long dayOfYear = (153LL * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

long long LocalDayNumber(Moment t) {
    const LocalParts local = Local(t);
    return DayNumber(local.year, local.month, local.day);
}

Components Split(long long d) {
    const long long days = d / kSecondsPerDay;
    const long long hours = d / kSecondsPerHour - 24 * days;
    const long long minutes = d / kSecondsPerMinute - 60 * (d / kSecondsPerHour);
    return {days, hours, minutes};
}

} // namespace TimeMath
