#pragma once

#include <string>
#include <string_view>

// The application's name, which names its store: the executable's file name (without its folder) less its last
// extension, the same on every system, so one file name gives one store name everywhere ("nudge.post.exe" is
// "nudge.post"). A name that is all extension (".nudgepost") keeps it rather than becoming nothing.
std::string ApplicationNameFor(std::string_view fileName);
