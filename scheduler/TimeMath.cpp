#include "TimeMath.h"

#include "LocalTime.h"

#include <climits>

namespace TimeMath {

std::time_t EntryTime(int year, int month, int day, int hour, int minute) {
    // A hand-edited store reaches here unchecked; a year or month a tm cannot hold has no moment at all.
    const long long tmYear = static_cast<long long>(year) - 1900;
    const long long tmMonth = static_cast<long long>(month) - 1;
    if (tmYear < INT_MIN || tmYear > INT_MAX || tmMonth < INT_MIN)
        return static_cast<std::time_t>(-1);
    std::tm local{};
    local.tm_year = static_cast<int>(tmYear);
    local.tm_mon = static_cast<int>(tmMonth);
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
    return {local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
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

long long LocalDayNumber(std::time_t t) {
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
