#pragma once

#include <string>
#include <string_view>

// The maker's name, under which every store of the program lives (the registry key under Software, the folder
// under the user's configuration folder).
inline constexpr const char* kOrganizationName = "Quillmoor";

// The application's name, which names its store: the executable's file name (without its folder) less its last
// extension, the same on every system, so one file name gives one store name everywhere ("nudge.post.exe" is
// "nudge.post"). A name that is all extension (".nudgepost") keeps it rather than becoming nothing.
std::string ApplicationNameFor(std::string_view fileName);
