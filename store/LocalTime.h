#pragma once

#include <ctime>

// The local calendar time of t, through the thread-safe conversion each system offers (POSIX and Windows name it
// differently). False, with out left as it was, when t cannot be converted.
bool ToLocalTime(std::time_t t, std::tm& out);
