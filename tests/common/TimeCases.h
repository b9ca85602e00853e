#pragma once

// One table of local times and the moments they stand for, run by the Linux suite (the zone through TZ) and by the
// Windows program's suite (the zone from the system's own time-zone data): the same core turns both into moments.

#include <cstdint>

struct TimeCase {
    const char* label;
    const char* tz;          // the zone as the C library names it
    const char* windowsZone; // the same zone as the system's time-zone data names it
    const char* local;       // "YYYY-MM-DD HH:MM" as entered
    std::int64_t moment;     // seconds since 1970 UTC
    const char* shown;       // that moment as the zone's clock shows it
};

inline constexpr TimeCase kTimeCases[] = {
    // The hour skipped in spring moves on by an hour; of the hour shown twice in autumn the later one counts.
    {"Berlin, skipped hour", "Europe/Berlin", "W. Europe Standard Time", "2027-03-28 02:30", 1806197400,
     "2027-03-28 03:30"},
    {"Berlin, the day after spring", "Europe/Berlin", "W. Europe Standard Time", "2027-03-29 02:30", 1806280200,
     "2027-03-29 02:30"},
    {"Berlin, hour shown twice", "Europe/Berlin", "W. Europe Standard Time", "2027-10-31 02:30", 1824946200,
     "2027-10-31 02:30"},
    {"Berlin, the day after autumn", "Europe/Berlin", "W. Europe Standard Time", "2027-11-01 02:30", 1825032600,
     "2027-11-01 02:30"},
    {"Berlin, past 32 bits", "Europe/Berlin", "W. Europe Standard Time", "2038-01-19 04:15", 2147483700,
     "2038-01-19 04:15"},
    {"Berlin, summer 2038", "Europe/Berlin", "W. Europe Standard Time", "2038-07-01 12:00", 2161591200,
     "2038-07-01 12:00"},
    {"Berlin, last minute of 9999", "Europe/Berlin", "W. Europe Standard Time", "9999-12-31 23:59", 253402297140,
     "9999-12-31 23:59"},
    {"New York, skipped hour", "America/New_York", "Eastern Standard Time", "2027-03-14 02:30", 1805009400,
     "2027-03-14 03:30"},
    {"New York, the day after spring", "America/New_York", "Eastern Standard Time", "2027-03-15 02:30", 1805092200,
     "2027-03-15 02:30"},
    {"New York, hour shown twice", "America/New_York", "Eastern Standard Time", "2027-11-07 01:30", 1825569000,
     "2027-11-07 01:30"},
    {"New York, the day after autumn", "America/New_York", "Eastern Standard Time", "2027-11-08 01:30", 1825655400,
     "2027-11-08 01:30"},
    {"New York, summer 2038", "America/New_York", "Eastern Standard Time", "2038-07-01 12:00", 2161612800,
     "2038-07-01 12:00"},
    {"New York, last minute of 9999", "America/New_York", "Eastern Standard Time", "9999-12-31 23:59", 253402318740,
     "9999-12-31 23:59"},
    {"Kolkata, past 32 bits", "Asia/Kolkata", "India Standard Time", "2038-01-19 08:45", 2147483700,
     "2038-01-19 08:45"},
    {"Kolkata, last minute of 9999", "Asia/Kolkata", "India Standard Time", "9999-12-31 23:59", 253402280940,
     "9999-12-31 23:59"},
    {"Adelaide, skipped hour", "Australia/Adelaide", "Cen. Australia Standard Time", "2027-10-03 02:30", 1822496400,
     "2027-10-03 03:30"},
    {"Adelaide, the day after spring", "Australia/Adelaide", "Cen. Australia Standard Time", "2027-10-04 02:30",
     1822579200, "2027-10-04 02:30"},
    {"Adelaide, hour shown twice", "Australia/Adelaide", "Cen. Australia Standard Time", "2027-04-04 02:30", 1806771600,
     "2027-04-04 02:30"},
    {"Adelaide, the day after autumn", "Australia/Adelaide", "Cen. Australia Standard Time", "2027-04-05 02:30",
     1806858000, "2027-04-05 02:30"},
    {"Adelaide, last minute of 9999", "Australia/Adelaide", "Cen. Australia Standard Time", "9999-12-31 23:59",
     253402262940, "9999-12-31 23:59"},
};
