#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Takes bytes as the whole content of the store's file and goes through what a start of the program does with
// it: the real QSettings store opens the file, the table is loaded, then saved and loaded again from a copy, as
// the next start would. Returns the first rule a step broke, in words, or an empty string when every rule held.
std::string LoadStoreFromBytes(const std::uint8_t* data, std::size_t size);
