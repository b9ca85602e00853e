#pragma once

// <windows.h> for every file of the Windows program. The old profile functions of Windows are macros whose names
// the core's store interface uses for its own operations; with the macros in place a call of those operations
// would name a different function. The program never calls the Windows ones.
#include <windows.h>

#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
