#include "ScheduleText.h"

#include "TimeMath.h"

#include <cstdio>

std::string FormatScheduleLine(const MessageEntry& entry) {
    char line[256];
    if (entry.m_bEveryDay) {
        std::snprintf(line, sizeof line, "%s%02d%s%02d%s", "This message is supposed to be seen every day at ",
                      entry.m_nHour, ":", entry.m_nMinute, ".");
    } else {
        std::snprintf(line, sizeof line, "%s%02d%s%02d%s%02d%s%02d%s%02d%s",
                      "This message was supposed to be seen first on ", entry.m_nDay, ".", entry.m_nMonth, ".",
                      entry.m_nYear, " at ", entry.m_nHour, ":", entry.m_nMinute, ".");
    }
    std::string result = line;
    if (entry.m_nRepeatMinutes == 1) {
        result += " It will be repeated every minute.";
    } else if (entry.m_nRepeatMinutes >= 2) {
        std::snprintf(line, sizeof line, "%s%2d%s", " It will be repeated every ", entry.m_nRepeatMinutes,
                      " minutes.");
        result += line;
    }
    return result;
}

std::string FormatClockLine(Moment now) {
    const TimeMath::LocalParts local = TimeMath::Local(now);
    char line[64];
    std::snprintf(line, sizeof line, "%s%02d%s%02d%s%02d", "Current Time: ", local.hour, ":", local.minute, ":",
                  local.second);
    return line;
}
